// The program's string tables (STRINGTABLE in a resource script), read as Windows' LoadStringW
// reads them, on every platform.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstdint>
#include <optional>
#include <string>

// <windows.h> makes LoadString a macro (LoadStringW, or LoadStringA): the functions are
// declared under their own name here, and under both of those below, so that bx::LoadString
// means the same with it included before or after.
#pragma push_macro("LoadString")
#undef LoadString

namespace bx {

// String `id` of the program's string tables: the text LoadStringW gives (with a buffer size of
// 0, all of it, embedded zeros included), in the language of the table that suits the user
// best, as for any resource. A string that its table leaves out is empty, as LoadStringW makes
// it; nothing where no table holds the block of sixteen strings that `id` belongs to (where
// LoadStringW fails with ERROR_RESOURCE_NAME_NOT_FOUND or ERROR_RESOURCE_TYPE_NOT_FOUND).
// Raises DamagedResourcesError where the block cannot be read.
std::optional<std::u16string> LoadString(std::uint16_t id);

// The same from the table that suits a user of `language` (a Windows LANGID, 0x0411 for
// Japanese) best.
std::optional<std::u16string> LoadString(std::uint16_t id, std::uint16_t language);

// The same strings in UTF-8 (an unpaired surrogate as U+FFFD).
std::optional<std::string> LoadStringUtf8(std::uint16_t id);
std::optional<std::string> LoadStringUtf8(std::uint16_t id, std::uint16_t language);

inline std::optional<std::u16string> LoadStringW(std::uint16_t id) { return LoadString(id); }
inline std::optional<std::u16string> LoadStringW(std::uint16_t id, std::uint16_t language) {
  return LoadString(id, language);
}
inline std::optional<std::u16string> LoadStringA(std::uint16_t id) { return LoadString(id); }
inline std::optional<std::u16string> LoadStringA(std::uint16_t id, std::uint16_t language) {
  return LoadString(id, language);
}

}  // namespace bx

#pragma pop_macro("LoadString")

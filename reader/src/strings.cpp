#include "bxres/strings.h"

#include "bxres/errors.h"
#include "bxres/text_encoding.h"
#include "little_endian.h"
#include "platform.h"
#include "res_file.h"
#include "string_table.h"

namespace bx {
namespace {

std::optional<std::u16string> Load(std::uint16_t id, std::optional<std::uint16_t> language) {
  const ReadValue block(std::int32_t{detail::StringBlock(id)});
  const ReadValue type(std::int32_t{detail::kStringType});
  const auto bytes = FindResourceData(block, type, language);
  if (!bytes) return std::nullopt;
  try {
    return detail::Utf16Units(detail::StringTableEntries(*bytes)[id % detail::kStringsPerBlock]);
  } catch (const detail::DamagedResFile& e) {
    throw DamagedResourcesError("string " + std::to_string(id) + ": its " +
                                DescribeResource(block, type) + ", " + e.what());
  }
}

std::optional<std::string> Utf8(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  return ToUtf8(*text);
}

}  // namespace

std::optional<std::u16string> LoadString(std::uint16_t id) { return Load(id, std::nullopt); }

std::optional<std::u16string> LoadString(std::uint16_t id, std::uint16_t language) {
  return Load(id, language);
}

std::optional<std::string> LoadStringUtf8(std::uint16_t id) { return Utf8(LoadString(id)); }

std::optional<std::string> LoadStringUtf8(std::uint16_t id, std::uint16_t language) {
  return Utf8(LoadString(id, language));
}

}  // namespace bx

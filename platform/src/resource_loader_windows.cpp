// Where the build's resources are found on Windows: the resource section of the executable's
// image, searched with the platform's own functions. Any resource the executable holds is found,
// whether bx_add_resource or a hand-written resource script put it there; where one exists in
// several languages, the platform picks by the user's language.
#include <windows.h>

#include "platform.h"

namespace bx {
namespace {

// What FindResourceW takes for an identifier or type: MAKEINTRESOURCE of a number, or a name
// (Windows compares names without regard to case).
const wchar_t* PlatformName(const NameQuery& wanted) {
  if (wanted.number) return MAKEINTRESOURCEW(*wanted.number);
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(wanted.name->c_str());
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type, const ReadValue&,
                                                          const ReadValue&) {
  const HMODULE image = GetModuleHandleW(nullptr);
  const HRSRC info = FindResourceW(image, PlatformName(id), PlatformName(type));
  const HGLOBAL handle = info != nullptr ? LoadResource(image, info) : nullptr;
  const void* bytes = handle != nullptr ? LockResource(handle) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  // The resource lives as long as the image: a view, not a copy.
  return std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(image, info));
}

}  // namespace bx

// The tests' platform services on Windows: MultiByteToWideChar and reserved address space.
#include <windows.h>

#include <cstring>

#include "test_platform.h"

namespace bx::test {

char16_t PlatformCp932Character(const std::uint8_t* code, std::size_t n) {
  // MB_ERR_INVALID_CHARS tells an unassigned code from one that maps to the default character.
  wchar_t unit[2];
  const int written = MultiByteToWideChar(
      932, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(code), static_cast<int>(n), unit, 2);
  return written == 1 ? static_cast<char16_t>(unit[0]) : u'\uFFFD';
}

std::uint8_t* ReserveUntouched(std::size_t size, std::string_view tail) {
  auto* bytes =
      static_cast<std::uint8_t*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_READWRITE));
  if (bytes == nullptr) return nullptr;
  // Only the first page (zeros, as untouched memory reads on Linux) and the pages under the
  // tail are committed; the rest stays address space that nothing may read.
  std::uint8_t* start = bytes + size - tail.size();
  if (VirtualAlloc(bytes, 4096, MEM_COMMIT, PAGE_READWRITE) == nullptr ||
      VirtualAlloc(start, tail.size(), MEM_COMMIT, PAGE_READWRITE) == nullptr) {
    VirtualFree(bytes, 0, MEM_RELEASE);
    return nullptr;
  }
  std::memcpy(start, tail.data(), tail.size());
  return bytes;
}

void ReleaseUntouched(std::uint8_t* bytes, std::size_t) { VirtualFree(bytes, 0, MEM_RELEASE); }

bool PlatformHasLocale(const char* name) {
  // The user's locale is the regional settings (which Wine takes from the environment):
  // de_DE.UTF-8 is there if they are de-DE.
  wchar_t user[LOCALE_NAME_MAX_LENGTH];
  if (GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH) == 0) return false;
  const wchar_t* u = user;
  for (const char* n = name; *n != '\0' && *n != '.'; ++n, ++u) {
    if (*u != (*n == '_' ? L'-' : static_cast<wchar_t>(*n))) return false;
  }
  return *u == L'\0';
}

}  // namespace bx::test

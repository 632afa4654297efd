// The tests' platform services on Linux: glibc's iconv and lazily mapped memory.
#include <iconv.h>
#include <sys/mman.h>

#include <cstring>
#include <locale>
#include <stdexcept>

#include "test_platform.h"

namespace bx::test {

char16_t PlatformCp932Character(const std::uint8_t* code, std::size_t n) {
  static iconv_t cd = iconv_open("UTF-16LE", "CP932");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char16_t unit[2];
  char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(code));
  char* out = reinterpret_cast<char*>(unit);
  std::size_t in_left = n;
  std::size_t out_left = sizeof unit;
  const bool converted = iconv(cd, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  return converted && in_left == 0 && out_left == sizeof(char16_t) ? unit[0] : u'\uFFFD';
}

std::uint8_t* ReserveUntouched(std::size_t size, std::string_view tail) {
  void* map = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (map == MAP_FAILED) return nullptr;
  auto* bytes = static_cast<std::uint8_t*>(map);
  std::memcpy(bytes + size - tail.size(), tail.data(), tail.size());
  return bytes;
}

void ReleaseUntouched(std::uint8_t* bytes, std::size_t size) { munmap(bytes, size); }

bool PlatformHasLocale(const char* name) {
  try {
    std::locale{name};
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace bx::test

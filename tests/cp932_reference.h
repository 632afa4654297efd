// A plain code page 932 decoder to check the library's against: the replacement rules written
// out one by one, and the platform's own conversion for what each code is.
#pragma once

#include <cstdint>
#include <string>

#include "test_platform.h"

namespace bx::test {

inline bool IsCp932Lead(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsCp932Trail(std::uint8_t b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The single bytes that Windows maps and the C library does not (U+FFFD for the others); on
// Linux the reference takes them from here.
inline char16_t WindowsOnlySingle(std::uint8_t b) {
  switch (b) {
    case 0x80:
      return u'\u0080';
    case 0xA0:
      return u'\uF8F0';
    case 0xFD:
      return u'\uF8F1';
    case 0xFE:
      return u'\uF8F2';
    case 0xFF:
      return u'\uF8F3';
  }
  return u'\uFFFD';
}

inline std::u16string ReferenceCp932(const std::uint8_t* bytes, std::size_t n) {
  std::u16string out;
  for (std::size_t i = 0; i < n;) {
    if (IsCp932Lead(bytes[i])) {
      if (i + 1 < n && IsCp932Trail(bytes[i + 1])) {
        out += PlatformCp932Character(bytes + i, 2);  // U+FFFD for both bytes when unassigned
        i += 2;
      } else {
        out += u'\uFFFD';  // the lead byte alone; the next byte is decoded on its own
        i += 1;
      }
    } else {
      const char16_t c = PlatformCp932Character(bytes + i, 1);
      out += c == u'\uFFFD' ? WindowsOnlySingle(bytes[i]) : c;
      i += 1;
    }
  }
  return out;
}

}  // namespace bx::test

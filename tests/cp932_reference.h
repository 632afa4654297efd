// A plain code page 932 decoder to check the library's against: the replacement rules written
// out one by one, and the C library's converter for what each code is.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <string>

namespace bx::test {

inline bool IsCp932Lead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsCp932Trail(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The C library's character for one code of one or two bytes, or U+FFFD when it has none.
inline char16_t LibraryCharacter(const std::uint8_t* code, std::size_t n) {
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

// The single bytes that Windows maps and the C library does not.
inline char16_t WindowsOnlySingle(std::uint8_t b) {
  switch (b) {
    case 0x80: return u'\u0080';
    case 0xA0: return u'\uF8F0';
    case 0xFD: return u'\uF8F1';
    case 0xFE: return u'\uF8F2';
    case 0xFF: return u'\uF8F3';
  }
  return 0;
}

inline std::u16string ReferenceCp932(const std::uint8_t* bytes, std::size_t n) {
  std::u16string out;
  for (std::size_t i = 0; i < n;) {
    if (IsCp932Lead(bytes[i])) {
      if (i + 1 < n && IsCp932Trail(bytes[i + 1])) {
        out += LibraryCharacter(bytes + i, 2);  // U+FFFD for both bytes when unassigned
        i += 2;
      } else {
        out += u'\uFFFD';  // the lead byte alone; the next byte is decoded on its own
        i += 1;
      }
    } else {
      const char16_t windows = WindowsOnlySingle(bytes[i]);
      out += windows != 0 ? windows : LibraryCharacter(bytes + i, 1);
      i += 1;
    }
  }
  return out;
}

}  // namespace bx::test

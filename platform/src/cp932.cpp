// Code page 932 to UTF-16, table-driven, with no converter state to open or close.
#include "bxres/platform.h"

namespace bx {
namespace {
#include "cp932_table.inc"
}  // namespace

std::size_t Cp932ToUtf16(std::span<const std::uint8_t> text, char16_t* out) noexcept {
  const std::uint8_t* in = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  char16_t* o = out;
  while (i < n) {
    const std::uint8_t b = in[i];
    if (b < 0x80) {  // bytes below 0x80 are ASCII in this code page
      *o++ = b;
      ++i;
      continue;
    }
    char16_t c = kCp932Single[b];
    if (c == kCp932Lead) {
      c = i + 1 < n ? kCp932Double[kCp932LeadRow[b]][in[i + 1]] : char16_t{0xFFFD};
      // A valid pair takes both bytes; otherwise only the lead byte becomes U+FFFD.
      i += c != 0xFFFD ? 2 : 1;
    } else {
      ++i;
    }
    *o++ = c;
  }
  return static_cast<std::size_t>(o - out);
}

std::u16string Cp932ToUtf16(std::span<const std::uint8_t> text) {
  std::u16string result(text.size(), u'\0');
  result.resize(Cp932ToUtf16(text, result.data()));
  return result;
}

}  // namespace bx

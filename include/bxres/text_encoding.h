// Text between code page 932 (Shift-JIS), UTF-16 and UTF-8, as the token readers convert it.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace bx {

// Converts text in code page 932 (Shift-JIS with the Microsoft extensions) to UTF-16, as
// Windows converts it. Every byte is converted, a zero byte to U+0000. Bad input never raises
// and never loses a byte that could begin a character: a lead byte (0x81-0x9F, 0xE0-0xFC) and a
// trail byte (0x40-0x7E, 0x80-0xFC) are one code, and an unassigned one becomes one U+FFFD; a
// lead byte followed by anything else, or by nothing, becomes U+FFFD alone and the next byte is
// decoded on its own. The result never has more code units than the input has bytes.
std::u16string Cp932ToUtf16(std::span<const std::uint8_t> text);

// The same conversion into a caller's buffer, which must hold `text.size()` code units.
// Returns how many it wrote.
std::size_t Cp932ToUtf16(std::span<const std::uint8_t> text, char16_t* out) noexcept;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16; each byte that does not belong to a well-formed sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace bx

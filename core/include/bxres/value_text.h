// Values as text, and text between code page 932, UTF-16 and UTF-8.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "bxres/read_value.h"

namespace bx {

// A value as text: a String gives itself, the Empty value the empty string, Byte, Integer and
// Long their decimal text, Single and Double their number text (ToNumberText). A byte array
// raises ConversionError.
std::u16string ToText(const ReadValue& v);

// Hexadecimal text: upper-case digits, no prefix, no leading zeros. A negative Integer gives the
// four digits of its 16-bit two's complement and a negative Long the eight of its 32-bit one;
// the Empty value gives "0". Single and Double are first rounded to a Long (halves to even),
// raising OverflowError outside its range. A String or byte array raises ConversionError.
std::u16string ToHexText(const ReadValue& v);

// Decimal text: a minus sign for negative values, no leading zeros, no grouping.
std::u16string ToDecimalText(std::int32_t v);

// Number text of a Single (at most 7 significant digits) or a Double (at most 15): trailing
// zeros dropped, exponent notation ("4.31684E-41", "1E+15") when the decimal exponent is below -4
// or not below the digit count. Infinities give "Infinity" and "-Infinity", NaNs "NaN".
std::u16string ToNumberText(float v, char16_t decimal_separator);
std::u16string ToNumberText(double v, char16_t decimal_separator);
// The same with the decimal separator of the user's locale (on POSIX systems the environment's
// LC_ALL, LC_NUMERIC or LANG, on Windows the user's regional settings), '.' where that is
// unknown or longer than one character.
std::u16string ToNumberText(float v);
std::u16string ToNumberText(double v);

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

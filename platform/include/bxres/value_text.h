// The platform's conversions of values to text.
#pragma once

#include <cstdint>
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
// The same with the decimal separator of the user's locale.
std::u16string ToNumberText(float v);
std::u16string ToNumberText(double v);

// The decimal separator of the user's locale (on Linux the environment's LC_ALL, LC_NUMERIC or
// LANG, on Windows the user's regional settings), or '.' when that is unknown to the system or
// longer than one character. Read once per process.
char16_t UserDecimalSeparator();

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16; each byte that does not belong to a well-formed sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace bx

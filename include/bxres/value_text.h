// Values as text. (Text between code page 932, UTF-16 and UTF-8 is text_encoding.h's, which this
// header includes too.)
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstdint>
#include <string>

#include "bxres/read_value.h"
#include "bxres/text_encoding.h"

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

}  // namespace bx

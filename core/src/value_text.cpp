// Value-to-text conversions: decimal, hexadecimal and number text of ReadValues.
#include "bxres/value_text.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "bxres/errors.h"
#include "user_locale.h"

namespace bx {
namespace {

std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

template <class T>
std::u16string DigitsText(T v, int base) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, base);
  std::u16string text = Widen({buf, end});
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'f') c -= u'a' - u'A';
  }
  return text;
}

std::int32_t RoundToLong(double v) {
  const double r = std::nearbyint(v);  // the default rounding mode takes halves to even
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
    throw OverflowError("hexadecimal text of a value outside the range of a Long");
  }
  return static_cast<std::int32_t>(r);
}

// A finite, non-zero value rounded to `significant` digits: its sign, its digits without
// trailing zeros, and the decimal exponent of the first digit.
struct Rounded {
  bool negative;
  std::string digits;
  int exponent;
};

template <class F>
Rounded Round(F v, int significant) {
  // d.ddddddde[+-]xx, correctly rounded to the digit count.
  char buf[64];
  auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
  std::string_view s(buf, static_cast<std::size_t>(end - buf));
  const bool negative = s.front() == '-';
  if (negative) s.remove_prefix(1);
  const std::size_t e = s.find('e');
  // The digits without the point and trailing zeros, gathered first so that the string is
  // built once (GCC 12 warns falsely of overlapping copies when it is built up in place).
  char digits[32];
  std::size_t n = 0;
  for (const char c : s.substr(0, e)) {
    if (c != '.') digits[n++] = c;
  }
  while (n > 1 && digits[n - 1] == '0') --n;
  int exponent = 0;
  const std::string_view exponent_text = s.substr(e + 2);  // past "e+" or "e-"
  std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
  return {negative, std::string(digits, n), s[e + 1] == '-' ? -exponent : exponent};
}

// ddd.ddd or 0.000ddd.
std::u16string PlainText(const Rounded& r, char16_t decimal_separator) {
  const auto n = static_cast<int>(r.digits.size());
  std::u16string text;
  if (r.exponent < 0) {
    text += u'0';
    text += decimal_separator;
    text.append(static_cast<std::size_t>(-r.exponent - 1), u'0');
    text += Widen(r.digits);
    return text;
  }
  const int whole = r.exponent + 1;
  text += Widen(r.digits.substr(0, static_cast<std::size_t>(std::min(whole, n))));
  if (whole > n) text.append(static_cast<std::size_t>(whole - n), u'0');
  if (n > whole) {
    text += decimal_separator;
    text += Widen(r.digits.substr(static_cast<std::size_t>(whole)));
  }
  return text;
}

// d.dddE+xx, with at least two exponent digits.
std::u16string ExponentText(const Rounded& r, char16_t decimal_separator) {
  std::u16string text = PlainText({r.negative, r.digits, 0}, decimal_separator);
  text += r.exponent < 0 ? u"E-" : u"E+";
  const int magnitude = r.exponent < 0 ? -r.exponent : r.exponent;
  if (magnitude < 10) text += u'0';
  text += DigitsText(magnitude, 10);
  return text;
}

// `significant` digits at most, as the platform's number text writes them: exponent notation
// below 1E-04 and from 1E+<significant> up.
template <class F>
std::u16string NumberText(F v, int significant, char16_t decimal_separator) {
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v < 0 ? u"-Infinity" : u"Infinity";
  if (v == 0) return u"0";  // negative zero too
  const Rounded r = Round(v, significant);
  const bool exponent_form = r.exponent < -4 || r.exponent >= significant;
  std::u16string text = r.negative ? u"-" : u"";
  text += exponent_form ? ExponentText(r, decimal_separator) : PlainText(r, decimal_separator);
  return text;
}

}  // namespace

std::u16string ToDecimalText(std::int32_t v) { return DigitsText(v, 10); }

std::u16string ToNumberText(float v, char16_t decimal_separator) {
  return NumberText(v, 7, decimal_separator);
}
std::u16string ToNumberText(double v, char16_t decimal_separator) {
  return NumberText(v, 15, decimal_separator);
}
std::u16string ToNumberText(float v) { return ToNumberText(v, UserDecimalSeparator()); }
std::u16string ToNumberText(double v) { return ToNumberText(v, UserDecimalSeparator()); }

std::u16string ToText(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_EMPTY:
      return {};
    case VT_UI1:
      return ToDecimalText(v.Byte());
    case VT_I2:
      return ToDecimalText(v.Integer());
    case VT_I4:
      return ToDecimalText(v.Long());
    case VT_R4:
      return ToNumberText(v.Single());
    case VT_R8:
      return ToNumberText(v.Double());
    case VT_BSTR:
      return v.String();
  }
  throw ConversionError(Describe(v) + " has no text");
}

std::u16string ToHexText(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_EMPTY:
      return u"0";
    case VT_UI1:
      return DigitsText(v.Byte(), 16);
    case VT_I2:
      return DigitsText(static_cast<std::uint16_t>(v.Integer()), 16);
    case VT_I4:
      return DigitsText(static_cast<std::uint32_t>(v.Long()), 16);
    case VT_R4:
      return DigitsText(static_cast<std::uint32_t>(RoundToLong(v.Single())), 16);
    case VT_R8:
      return DigitsText(static_cast<std::uint32_t>(RoundToLong(v.Double())), 16);
  }
  throw ConversionError(Describe(v) + " has no hexadecimal text");
}

}  // namespace bx

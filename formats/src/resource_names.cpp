#include "resource_names.h"

#include <algorithm>
#include <limits>

#include "bxres/errors.h"
#include "bxres/value_text.h"
#include "little_endian.h"

namespace bx {
namespace detail {
namespace {

constexpr StandardType kStandardTypes[] = {
#define BX_STANDARD_TYPE(number, name, handling) {number, #name, #handling[0] == 'k'},
#include "standard_types.def"
#undef BX_STANDARD_TYPE
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
  return text;
}

const StandardType* StandardTypeNamed(const std::string& upper) {
  for (const StandardType& t : kStandardTypes) {
    if (t.name == upper) return &t;
  }
  return nullptr;
}

}  // namespace

std::span<const StandardType> StandardTypes() noexcept { return kStandardTypes; }

}  // namespace detail

namespace {

std::string NameText(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
      return ToUtf8(ToText(v));
    case VT_BSTR: {
      std::string quoted(1, '"');
      quoted += ToUtf8(v.String());
      quoted += '"';
      return quoted;
    }
  }
  return Describe(v);
}

std::uint16_t CheckedNumber(std::int64_t n, const ReadValue& v, const char* role) {
  if (n < 1 || n > std::numeric_limits<std::uint16_t>::max()) {
    throw ConversionError("resource " + std::string(role) + " " + NameText(v) +
                          " is outside the numbers 1 to 65535");
  }
  return static_cast<std::uint16_t>(n);
}

// "#123" names the number 123, as resource scripts write it.
std::optional<std::int64_t> HashNumber(const std::u16string& s) {
  if (s.size() < 2 || s.size() > 7 || s[0] != u'#') return std::nullopt;
  std::int64_t n = 0;
  for (char16_t c : s.substr(1)) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  return n;
}

}  // namespace

NameQuery ToNameQuery(const ReadValue& v, const char* role) {
  switch (v.Kind()) {
    case VT_UI1:
      return {CheckedNumber(v.Byte(), v, role)};
    case VT_I2:
      return {CheckedNumber(v.Integer(), v, role)};
    case VT_I4:
      return {CheckedNumber(v.Long(), v, role)};
    case VT_BSTR:
      if (auto n = HashNumber(v.String())) return {CheckedNumber(*n, v, role)};
      return {std::nullopt, &v.String()};
  }
  throw ConversionError("a resource " + std::string(role) +
                        " is a number from 1 to 65535 or a name, not " +
                        (v.IsEmpty() ? std::string("the Empty value") : Describe(v)));
}

bool Matches(const ResourceName& have, const NameQuery& want) {
  if (want.number) return have.name == nullptr && have.number == *want.number;
  if (have.name == nullptr || want.name->empty()) return false;
  const char16_t* p = have.name;
  for (char16_t c : *want.name) {
    if (*p == u'\0' || detail::FoldAscii(*p) != detail::FoldAscii(c)) return false;
    ++p;
  }
  return *p == u'\0';
}

std::string DescribeResource(const ReadValue& ResID, const ReadValue& ResType) {
  return "resource " + NameText(ResID) + " of type " + NameText(ResType);
}

namespace detail {

bool Matches(const ResName& have, const NameQuery& want) {
  if (want.number) return have.name.empty() && have.number == *want.number;
  if (want.name->empty()) return false;
  if (have.name.size() != want.name->size() * 2) return false;
  for (std::size_t i = 0; i < want.name->size(); ++i) {
    const char16_t unit = LittleEndian16(&have.name[2 * i]);
    if (FoldAscii(unit) != FoldAscii((*want.name)[i])) return false;
  }
  return true;
}

namespace {

// Compares two names' code units, with ASCII letters folded: `a_length` and `b_length` units,
// the i-th given by `a(i)` and `b(i)`.
template <class A, class B>
int CompareUnits(std::size_t a_length, A a, std::size_t b_length, B b) noexcept {
  const std::size_t common = std::min(a_length, b_length);
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = FoldAscii(a(i));
    const char16_t y = FoldAscii(b(i));
    if (x != y) return x < y ? -1 : 1;
  }
  return a_length < b_length ? -1 : a_length > b_length ? 1 : 0;
}

// The i-th code unit of an image's name.
auto UnitOf(const ResName& name) {
  return [&name](std::size_t i) { return LittleEndian16(&name.name[2 * i]); };
}

int CompareNumbers(std::uint16_t a, std::uint16_t b) noexcept { return a < b ? -1 : a > b; }

}  // namespace

int CompareNames(const ResName& a, const ResName& b) noexcept {
  if (a.name.empty() || b.name.empty()) {
    if (!a.name.empty()) return -1;  // names before numbers
    if (!b.name.empty()) return 1;
    return CompareNumbers(a.number, b.number);
  }
  return CompareUnits(a.name.size() / 2, UnitOf(a), b.name.size() / 2, UnitOf(b));
}

int CompareNames(const ResName& a, const NameQuery& b) noexcept {
  if (a.name.empty() || b.number) {
    if (!a.name.empty()) return -1;
    if (!b.number) return 1;
    return CompareNumbers(a.number, *b.number);
  }
  const std::u16string& want = *b.name;
  return CompareUnits(a.name.size() / 2, UnitOf(a), want.size(),
                      [&want](std::size_t i) { return want[i]; });
}

ResNameText ParseDeclaredName(const std::string& value, bool is_type) {
  const char* role = is_type ? "type" : "identifier";
  const std::string upper = UpperAscii(value);
  if (const StandardType* standard = is_type ? StandardTypeNamed(upper) : nullptr;
      standard && !standard->kept) {
    throw BadName("type " + value +
                  " is a type whose file the resource compiler transforms, not bytes to embed as "
                  "they are; declare it in a resource script");
  }
  // Numbers, and the kept standard types by name, as the loader reads them.
  std::optional<std::uint16_t> number;
  try {
    number = ToNameQuery(AsWritten(value, is_type), role).number;
  } catch (const ConversionError&) {
    throw BadName(std::string(role) + " " + value + " is outside the numbers 1 to 65535");
  }
  if (number) return {*number, {}};
  const std::string digits = value.starts_with('#') ? value.substr(1) : value;
  if (!digits.empty() && std::all_of(digits.begin(), digits.end(), IsDigit)) {
    throw BadName(std::string(role) + " " + value + " is outside the numbers 1 to 65535");
  }
  const bool name_ok =
      !value.empty() && !IsDigit(value[0]) && std::all_of(upper.begin(), upper.end(), [](char c) {
        return IsDigit(c) || c == '_' || (c >= 'A' && c <= 'Z');
      });
  if (!name_ok) {
    throw BadName(std::string(role) + " " + (value.empty() ? "\"\"" : value) +
                  " is not a name that the resource compiler takes (letters, digits and _, not "
                  "starting with a digit)");
  }
  return {0, std::u16string(upper.begin(), upper.end())};
}

ReadValue AsWritten(const std::string& text, bool is_type) {
  if (is_type) {
    if (const StandardType* standard = StandardTypeNamed(UpperAscii(text))) {
      return ReadValue(std::int32_t{standard->number});
    }
  }
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
  if (digits && text.size() <= 9) return ReadValue(static_cast<std::int32_t>(std::stol(text)));
  return ReadValue(FromUtf8(digits ? "#" + text : text));  // "#" + digits: a number
}

std::string TypeText(const ResName& type) {
  if (!type.name.empty()) return ToUtf8(Utf16Units(type.name));
  for (const StandardType& t : kStandardTypes) {
    if (t.number == type.number) return std::string(t.name);
  }
  return std::to_string(type.number);
}

std::string IdText(const ResName& id) {
  return id.name.empty() ? std::to_string(id.number) : ToUtf8(Utf16Units(id.name));
}

std::string IdText(const ResNameText& id) {
  return id.name.empty() ? std::to_string(id.number) : ToUtf8(id.name);
}

namespace {
std::string Key(bool is_number, const std::string& text) {
  std::string key(is_number ? "#" : "");
  key += UpperAscii(text);
  return key;
}
}  // namespace

std::string NameKey(const ResName& name) { return Key(name.name.empty(), IdText(name)); }
std::string NameKey(const ResNameText& name) { return Key(name.name.empty(), IdText(name)); }

}  // namespace detail
}  // namespace bx

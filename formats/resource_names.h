// Resource identifiers and types, for the loader, bxres and the build alike: a number from 1 to
// 65535, or a name that matches without regard to ASCII case. How each is asked for (NameQuery),
// held by a compiled image (ResName) or written into one (ResNameText); how people write them
// ("#123", standard type names) and how messages show them; and the standard types.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "bxres/embedded_resource.h"
#include "bxres/read_value.h"

namespace bx {

// What an identifier or type asks for: a number, or a name (the text held by the ReadValue).
struct NameQuery {
  std::optional<std::uint16_t> number;
  const std::u16string* name = nullptr;
};

// Reads an identifier or type ("identifier" or "type" is its `role` in messages): integers from
// 1 to 65535, "#123" as the number 123, other strings as names. Raises ConversionError for
// anything else.
NameQuery ToNameQuery(const ReadValue& v, const char* role);

// Whether a name is the one wanted: the same number, or the same name without regard to ASCII
// case. An empty name names no resource, as on Windows: an entry with a number holds no name,
// and the resource compiler stores nothing under an empty one.
bool Matches(const ResourceName& have, const NameQuery& want);

// Names a resource for messages: `resource 101 of type "CUSTOM"`.
std::string DescribeResource(const ReadValue& ResID, const ReadValue& ResType);

namespace detail {

// An identifier or type as a compiled image holds it: a number, or a name of UTF-16 code units
// (little-endian, without the terminating zero) when `name` is not empty.
struct ResName {
  std::uint16_t number = 0;
  std::span<const std::uint8_t> name;
};

bool Matches(const ResName& have, const NameQuery& want);

// The order of a resource directory: names before numbers, names by their code units with ASCII
// letters in upper case (so that names that match are equal), numbers by value. Negative, zero
// or positive as `a` comes before, with or after `b`.
int CompareNames(const ResName& a, const ResName& b) noexcept;
int CompareNames(const ResName& a, const NameQuery& b) noexcept;

// An identifier or type to write into an image: a number, or a name when `name` is not empty.
struct ResNameText {
  std::uint16_t number = 0;
  std::u16string name;
};

// A name that cannot be an identifier or type; what() says which and why.
class BadName : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// An identifier or type as bx_add_resource and bxres embed take it: a number from 1 to 65535
// (also "#123"), for a type a kept standard type's name (RCDATA is 10), or a name of letters,
// digits and _ not starting with a digit, stored in upper case as the resource compiler stores
// it. Raises BadName for anything else, and for a type whose files the resource compiler
// transforms (BITMAP, ICON, ...), which only a script can declare.
ResNameText ParseDeclaredName(const std::string& text, bool is_type);

// A type or identifier as people write it, as a value the loader reads (ToNameQuery): a number
// in decimal (also "#123"), or a name; for a type, also a standard type's name (RCDATA is 10).
ReadValue AsWritten(const std::string& text, bool is_type);

// A type as people write it: the standard types by their names (RCDATA, MANIFEST, ...), other
// numbers in decimal, names as they are.
std::string TypeText(const ResName& type);
// An identifier as people write it: a number in decimal, or the name.
std::string IdText(const ResName& id);
std::string IdText(const ResNameText& id);

// What makes two names the same one: "#" and the number, or the name in upper case.
std::string NameKey(const ResName& name);
std::string NameKey(const ResNameText& name);

// ASCII letters in upper case; every other unit as it is.
inline constexpr char16_t FoldAscii(char16_t c) noexcept {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

// The standard types (standard_types.def).
struct StandardType {
  std::uint16_t number;
  std::string_view name;
  bool kept;  // the resource compiler keeps the file byte for byte
};
std::span<const StandardType> StandardTypes() noexcept;

}  // namespace detail
}  // namespace bx

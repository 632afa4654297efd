// BxRes: reads a resource embedded in the executable as a forward-only stream of bytes, numbers,
// records and text tokens.
//
// There is one cursor per process. Load() fetches a resource's bytes and rewinds the cursor to
// offset 0; every reader takes its bytes at the cursor and moves it forward past them. Nothing
// else seeks. The cursor is process-wide and not thread-safe: use it from one thread.
//
// Running out of data is not an error: the typed readers and ReadToken return the Empty value
// and leave the cursor where it is. Real failures raise a bx::Error (see bxres/errors.h), and an
// operation that raises leaves the cursor and the loaded resource exactly as they were.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "bxres/errors.h"
#include "bxres/read_value.h"

namespace bx {

// What may name a resource identifier or type: a ReadValue, any integer type or enumeration (a
// number from 1 to 65535), or a string, UTF-16 (u"CUSTOM") or UTF-8 ("CUSTOM").
template <class T>
concept ResourceNameLike =
    std::same_as<T, ReadValue> || std::is_enum_v<T> ||
    (std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
     !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
     !std::same_as<T, char32_t>) ||
    std::convertible_to<const T&, std::u16string_view> ||
    std::convertible_to<const T&, std::string_view> ||
    std::convertible_to<const T&, std::u8string_view>;

namespace detail {
// A number as an identifier or type; raises ConversionError beyond the signed 32-bit range
// (the loader raises it for the rest of what lies outside 1 to 65535).
ReadValue IntegerName(std::intmax_t n, const char* role);
ReadValue IntegerName(std::uintmax_t n, const char* role);
ReadValue Utf8Name(std::string_view name);
}  // namespace detail

// The ReadValue that the loader takes for an identifier or type. `role` names it in errors.
template <ResourceNameLike T>
ReadValue ToResourceName(const T& name, const char* role) {
  if constexpr (std::same_as<T, ReadValue>) {
    return name;
  } else if constexpr (std::is_enum_v<T>) {
    return ToResourceName(static_cast<std::underlying_type_t<T>>(name), role);
  } else if constexpr (std::same_as<T, std::uint8_t> || std::same_as<T, std::int16_t> ||
                       std::same_as<T, std::int32_t>) {
    return ReadValue(name);  // a kind that a ReadValue holds as it is
  } else if constexpr (std::integral<T>) {
    if constexpr (std::is_signed_v<T>) return detail::IntegerName(std::intmax_t{name}, role);
    else return detail::IntegerName(std::uintmax_t{name}, role);
  } else if constexpr (std::convertible_to<const T&, std::u16string_view>) {
    return ReadValue(std::u16string_view(name));
  } else if constexpr (std::convertible_to<const T&, std::string_view>) {
    return detail::Utf8Name(std::string_view(name));
  } else {
    const std::u8string_view text(name);
    return detail::Utf8Name({reinterpret_cast<const char*>(text.data()), text.size()});
  }
}

}  // namespace bx

namespace BxRes {

using bx::ReadValue;

// Loads the resource with this identifier and type from the executable and puts the cursor at
// its first byte; the previous resource is released. Identifiers and types are integers from 1
// to 65535 or names (see bx::LoadResourceData). Loading the resource already loaded rewinds it.
// Raises bx::ResourceNotFoundError if there is no such resource, bx::ConversionError if the
// identifier or type is of another kind or out of range, and bx::OverflowError for a resource
// of more than 2^31 - 1 bytes. On any error the previous resource stays loaded, the cursor where
// it was.
void Load(const ReadValue& ResID, const ReadValue& ResType);

// The same with the identifier and type given as any integer type, enumeration or string:
// Load(101, "CUSTOM"), Load(LevelId::kFirst, u"LEVEL").
template <bx::ResourceNameLike Id, bx::ResourceNameLike Type>
void Load(const Id& ResID, const Type& ResType) {
  Load(bx::ToResourceName(ResID, "identifier"), bx::ToResourceName(ResType, "type"));
}

// Where the cursor stands: the offset of the next unread byte (0 before the first Load), never
// beyond Size().
std::int32_t Position() noexcept;

// The byte count of the loaded resource (0 before the first Load).
std::int32_t Size() noexcept;

// The typed readers. Each reads one little-endian value at the cursor, at any alignment, and
// moves the cursor past it. A value that ends exactly at the last byte is read. When fewer bytes
// remain than the value needs (or nothing is loaded) they return the Empty value and the cursor
// stays. Bit patterns pass through unchanged, NaNs and subnormals included.
ReadValue ReadByte();     // Byte (VT_UI1), 1 byte
ReadValue ReadInteger();  // Integer (VT_I2), 2 bytes
ReadValue ReadLong();     // Long (VT_I4), 4 bytes
ReadValue ReadSingle();   // Single (VT_R4), 4 bytes
ReadValue ReadDouble();   // Double (VT_R8), 8 bytes

// Copies `Length` bytes at the cursor to `Address`, moves the cursor past them and returns how
// many it copied. A request that runs past the end is cut to the bytes that remain; destination
// bytes beyond those copied are not touched. `Address` must have room for `Length` bytes.
// Raises bx::BoundsError when no byte is left (nothing loaded, or the cursor at the end), even
// for a Length of 0; also for a negative Length, or a null Address with a Length above 0.
// Raises bx::OverflowError when the cursor plus Length leaves the signed 32-bit range.
std::int32_t ReadBlock(void* Address, std::int32_t Length);

// The same, filling a record (or an array) whose layout matches the data.
template <class T>
  requires std::is_trivially_copyable_v<T> && (!std::is_const_v<T>) &&
           (sizeof(T) <= (std::numeric_limits<std::int32_t>::max)())  // (): <windows.h> has a max macro
std::int32_t ReadBlock(T& record) {
  return ReadBlock(static_cast<void*>(&record), static_cast<std::int32_t>(sizeof(T)));
}

// Reads the next text token and returns it as a String (UTF-16, converted from code page 932),
// or the Empty value, with the cursor unmoved, at the end of the data.
//
// Tokens are separated by a comma, a blank, a carriage return or a tab; a line feed right
// after the separator is skipped with it. A token that starts with a double quote runs to the
// next double quote (or the end of the data) and may hold blanks, commas, tabs and line ends;
// after its closing quote one comma or blank, or a carriage return (with a line feed that
// follows it), is skipped. A token may be empty, as between two separators in a row; the
// cursor always moves past it, so a caller cannot loop on one position.
ReadValue ReadToken();

}  // namespace BxRes

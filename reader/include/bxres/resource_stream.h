// bx::ResourceStream: one resource read as a forward-only stream of bytes, numbers, records and
// text tokens, with a cursor of its own. Several may be open at once, and each may be used on a
// thread of its own.
//
// Load a stream from an identifier and a type, as BxRes::Load does, or make one over bytes the
// caller owns. Every reader takes its bytes at the stream's cursor and moves it forward past
// them; nothing else seeks. Running out of data is not an error: the typed readers and
// ReadToken return the Empty value and leave the cursor where it is. Real failures raise a
// bx::Error (see bxres/errors.h) naming the operation, the offset and the resource, and an
// operation that raises leaves the stream exactly as it was.
//
// Threads: separate streams, copies included, may be used on separate threads at the same time;
// one stream may not. Loading reads the registry of resources, which is read-only once the
// program runs: registering resources at run time (bxres/embedded_resource.h) while another
// thread loads is not safe.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "bxres/detail/memory_move.h"
#include "bxres/errors.h"
#include "bxres/read_value.h"

namespace bx {

// What may name a resource identifier or type: a ReadValue, any integer type or enumeration (a
// number from 1 to 65535), or a string, UTF-16 (u"CUSTOM") or UTF-8 ("CUSTOM").
template <class T>
concept ResourceNameLike = std::same_as<T, ReadValue> || std::is_enum_v<T> ||
                           (std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                            !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> &&
                            !std::same_as<T, char16_t> && !std::same_as<T, char32_t>) ||
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
    if constexpr (std::is_signed_v<T>)
      return detail::IntegerName(std::intmax_t{name}, role);
    else
      return detail::IntegerName(std::uintmax_t{name}, role);
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

namespace bx {

// What ReadBlock may fill as a whole: a record (or an array) that bytes can be copied into.
template <class T>
concept BlockRecord =
    std::is_trivially_copyable_v<T> && !std::is_const_v<T> &&
    (sizeof(T) <= (std::numeric_limits<std::int32_t>::max)());  // (): <windows.h> has a max macro

namespace detail {
struct StreamState;
struct StreamSource;
}  // namespace detail

class ResourceStream {
 public:
  // An empty stream: every reader is at its end, and ReadBlock raises the bounds error.
  ResourceStream() noexcept = default;

  // The resource with this identifier and type, from the executable, with the cursor at its
  // first byte. Raises as BxRes::Load raises: bx::ResourceNotFoundError, bx::ConversionError, or
  // bx::OverflowError for a resource of more than 2^31 - 1 bytes.
  ResourceStream(const ReadValue& ResID, const ReadValue& ResType);
  template <ResourceNameLike Id, ResourceNameLike Type>
  ResourceStream(const Id& ResID, const Type& ResType)
      : ResourceStream(ToResourceName(ResID, "identifier"), ToResourceName(ResType, "type")) {}

  // Bytes that are not embedded (a file the caller mapped, a network buffer), which the caller
  // keeps alive and unchanged for as long as the stream or a copy of it reads them. Raises
  // bx::OverflowError for more than 2^31 - 1 bytes.
  explicit ResourceStream(std::span<const std::uint8_t> bytes);

  // Copies share the bytes and each has its own cursor; copying and moving cost no more than a
  // few pointers. A stream moved from is empty.
  ResourceStream(const ResourceStream&) = default;
  ResourceStream& operator=(const ResourceStream&) = default;
  ResourceStream(ResourceStream&& other) noexcept { *this = std::move(other); }
  ResourceStream& operator=(ResourceStream&& other) noexcept {
    ResData = std::exchange(other.ResData, {});
    ResPos = std::exchange(other.ResPos, 0);
    ResSize = std::exchange(other.ResSize, 0);
    source_ = std::exchange(other.source_, nullptr);
    return *this;
  }

  // The typed readers. Each reads one little-endian value at the cursor, at any alignment, and
  // moves the cursor past it. A value that ends exactly at the last byte is read. When fewer
  // bytes remain than the value needs they return the Empty value and the cursor stays. Bit
  // patterns pass through unchanged, NaNs and subnormals included.
  ReadValue ReadByte() { return ReadFixed<std::uint8_t>("ReadByte"); }  // Byte (VT_UI1), 1 byte
  ReadValue ReadInteger() {
    return ReadFixed<std::int16_t>("ReadInteger");
  }                                                                     // Integer (VT_I2), 2 bytes
  ReadValue ReadLong() { return ReadFixed<std::int32_t>("ReadLong"); }  // Long (VT_I4), 4 bytes
  ReadValue ReadSingle() { return ReadFixed<float>("ReadSingle"); }     // Single (VT_R4), 4 bytes
  ReadValue ReadDouble() { return ReadFixed<double>("ReadDouble"); }    // Double (VT_R8), 8 bytes

  // Copies `Length` bytes at the cursor to `Address`, moves the cursor past them and returns how
  // many it copied. A request that runs past the end is cut to the bytes that remain;
  // destination bytes beyond those copied are not touched. `Address` must have room for
  // `Length` bytes.
  // Raises bx::BoundsError when no byte is left (an empty stream, or the cursor at the end),
  // even for a Length of 0; also for a negative Length, or a null Address with a Length above 0.
  // Raises bx::OverflowError when the cursor plus Length leaves the signed 32-bit range.
  std::int32_t ReadBlock(void* Address, std::int32_t Length);

  // The same, filling a record (or an array) whose layout matches the data.
  template <BlockRecord T>
  std::int32_t ReadBlock(T& record) {
    return ReadBlock(static_cast<void*>(&record), static_cast<std::int32_t>(sizeof(T)));
  }

  // Reads the next text token and returns it as a String (UTF-16, converted from code page 932),
  // or the Empty value, with the cursor unmoved, at the end of the data.
  //
  // Tokens are separated by a comma, a blank, a carriage return or a tab; a line feed right
  // after the separator is skipped with it, and a line feed alone separates nothing. A token
  // that starts with a double quote runs to the next double quote (or the end of the data) and
  // may hold blanks, commas, tabs and line ends (there is no escape for a double quote); after
  // its closing quote one comma or blank, or a carriage return (with a line feed that follows
  // it), is skipped. A token may be empty, as between two separators in a row; the
  // cursor always moves past it, so a caller cannot loop on one position.
  ReadValue ReadToken();

  // Where the cursor stands: the offset of the next unread byte, never beyond Size().
  std::int32_t Position() const noexcept { return ResPos; }

  // The byte count of the stream's data (0 for an empty stream).
  std::int32_t Size() const noexcept { return ResSize; }

 private:
  friend struct detail::StreamState;

  // `operation` names the making in the error for more than 2^31 - 1 bytes.
  ResourceStream(std::span<const std::uint8_t> bytes,
                 std::shared_ptr<const detail::StreamSource> source, const char* operation);

  // A typed read. The common case, enough bytes left, is inline: a subtraction, two comparisons,
  // a copy and an addition. The rest, the end of the data and the errors, is not.
  template <class T>
  ReadValue ReadFixed(const char* operation) {
    constexpr std::int32_t n = sizeof(T);
    const std::int32_t pos = ResPos;
    const std::uint8_t* const bytes = ResData.data();
    // ResPos and ResSize are never negative, so their difference cannot overflow.
    if (ResSize - pos < n || static_cast<std::uint32_t>(pos) >= ResData.size()) [[unlikely]] {
      // Visibly Empty, so that a caller's loop knows it ends here and need not read the state
      // again after the call.
      CheckPastEnd(n, operation);
      return {};
    }
    T value;
    if constexpr (n == 1) {
      value = bytes[pos];
    } else {
      (detail::RtlMoveMemory)(&value, bytes + pos, n);  // (): <windows.h> has a macro of it
    }
    ResPos = pos + n;  // at most ResSize
    return ReadValue(value);
  }
  // For a typed read of `n` bytes that cannot be made, which gives the Empty value: raises the
  // overflow error when the position of its last byte leaves the signed 32-bit range, or the
  // bounds error when the cursor is outside the array.
  void CheckPastEnd(std::int32_t n, const char* operation) const;
  ReadValue ReadTokenAtCursor();

  // Names the operation, the offset and the resource, for error messages.
  std::string Where(const char* operation) const;
  // ResPos + n, raising the overflow error instead of leaving the signed 32-bit range.
  std::int32_t CheckedAdd(std::int32_t n, const char* operation) const;
  // Raises the bounds error unless ResPos indexes a byte of ResData.
  void CheckCursorInside(const char* operation) const;

  // The bytes (a view: embedded bytes live as long as the process, given ones as long as the
  // caller keeps them), the offset of the next unread byte and the byte count (always derived
  // from the view's size).
  std::span<const std::uint8_t> ResData;
  std::int32_t ResPos = 0;
  std::int32_t ResSize = 0;
  // Which resource the bytes are, for error messages (`resource 101 of type "CUSTOM"`), put
  // into words only when one is raised; shared by copies.
  std::shared_ptr<const detail::StreamSource> source_;
};

}  // namespace bx

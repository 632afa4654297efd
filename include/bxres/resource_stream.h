// bx::ResourceStream: one resource read as a forward-only stream of bytes, numbers, records and
// text tokens, with a cursor of its own. Several may be open at once, and each may be used on a
// thread of its own.
//
// Load a stream from an identifier and a type, as BxRes::Load does, or make one over bytes the
// caller owns. Every reader takes its bytes at the stream's cursor and moves it forward past
// them; nothing else seeks. The design's readers (ReadByte ... ReadToken) hand values over as
// ReadValues, and running out of data is not an error for them: the typed readers and
// ReadToken return the Empty value and leave the cursor where it is. Beside them, the C++ face
// (Read<T>, TryRead<T>, Skip, ReadToken into a string, Tokens) reads the caller's own types on
// the same cursor. Real failures raise a bx::Error (see bxres/errors.h) naming the operation,
// the offset and the resource, and an operation that raises leaves the stream exactly as it was.
//
// Threads: separate streams, copies included, may be used on separate threads at the same time;
// one stream may not. Loading reads the registry of resources, which is read-only once the
// program runs: registering resources at run time (bxres/embedded_resource.h) while another
// thread loads is not safe.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <array>
#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <ranges>
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

namespace detail {
struct StreamState;
struct StreamSource;

// Refuses, with a message that says what to do instead, a type whose objects cannot be filled
// from bytes: ReadBlock(T&) and Read<T>() would otherwise copy over a pointer or a view (a
// std::span, a std::string_view) instead of the memory it shows.
template <class T>
constexpr void RequireFillableFromBytes() noexcept {
  static_assert(!std::is_pointer_v<T> && !std::is_member_pointer_v<T> && !std::is_null_pointer_v<T>,
                "BxRes fills an object, not what a pointer points to: pass *pointer, or "
                "std::span(pointer, count) to fill an array");
  static_assert(!std::ranges::view<T> && !std::ranges::enable_borrowed_range<T>,
                "BxRes would copy over the view object, not the memory it shows: pass "
                "ReadBlock a std::span of writable elements, or read a record or an array");
  static_assert(std::is_trivially_copyable_v<T>,
                "BxRes fills only trivially copyable records and arrays from bytes; for a "
                "container, pass ReadBlock std::span(container)");
  static_assert(!std::is_const_v<T> && !std::is_volatile_v<T>,
                "BxRes cannot fill a const or volatile object");
  static_assert(sizeof(T) <= (std::numeric_limits<std::int32_t>::max)(),  // (): <windows.h>
                "BxRes reads at most 2^31 - 1 bytes at once");
}

}  // namespace detail

template <class Text>
class TokenRange;

// How a line feed counts between tokens.
enum class LineFeeds {
  // A line feed right after a separator is skipped with it; alone it separates nothing, as in
  // the text with CR LF line ends that the design reads. The default.
  kFollowSeparators,
  // A line feed alone separates too, and is skipped after a quoted token as a carriage return
  // is: text with LF line ends splits as the same text with CR LF would.
  kSeparate,
};

class ResourceStream {
 public:
  // An empty stream: every reader is at its end, and ReadBlock raises the bounds error.
  ResourceStream() noexcept = default;

  // The resource with this identifier and type, from the executable, with the cursor at its
  // first byte. Raises as BxRes::Load raises: bx::ResourceNotFoundError, bx::ConversionError, or
  // bx::OverflowError for a resource of more than 2^31 - 1 bytes.
  ResourceStream(const ReadValue& ResID, const ReadValue& ResType)
      : ResourceStream(Opening::Of(ResID, ResType)) {}
  template <ResourceNameLike Id, ResourceNameLike Type>
  ResourceStream(const Id& ResID, const Type& ResType)
      : ResourceStream(ToResourceName(ResID, "identifier"), ToResourceName(ResType, "type")) {}

  // Bytes that are not embedded (a file the caller mapped, a network buffer), which the caller
  // keeps alive and unchanged for as long as the stream or a copy of it reads them. Raises
  // bx::OverflowError for more than 2^31 - 1 bytes.
  explicit ResourceStream(std::span<const std::uint8_t> bytes)
      : ResourceStream(Opening::Of(bytes)) {}

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
    line_feeds_ = other.line_feeds_;
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

  // The same, filling a record (or an array) whose layout matches the data. A pointer, a view
  // or anything else that is not the memory to fill is refused at compile time.
  template <class T>
  std::int32_t ReadBlock(T& record) {
    detail::RequireFillableFromBytes<T>();
    return ReadBlock(static_cast<void*>(std::addressof(record)),
                     static_cast<std::int32_t>(sizeof(T)));
  }

  // The same, filling the elements of a span (of an array, a std::vector, ...) in order.
  // Raises bx::OverflowError when they hold more than 2^31 - 1 bytes.
  template <class T, std::size_t N>
  std::int32_t ReadBlock(std::span<T, N> elements) {
    detail::RequireFillableFromBytes<T>();
    return ReadBlock(static_cast<void*>(elements.data()), CheckedLength(elements.size_bytes()));
  }

  // Reads the next text token and returns it as a String (UTF-16, converted from code page 932),
  // or the Empty value, with the cursor unmoved, at the end of the data.
  //
  // Tokens are separated by a comma, a blank, a carriage return or a tab; a line feed right
  // after the separator is skipped with it, and a line feed alone separates nothing (unless
  // SetLineFeeds(LineFeeds::kSeparate) says otherwise). A token that starts with a double quote
  // runs to the next double quote (or the end of the data) and may hold blanks, commas, tabs and
  // line ends (there is no escape for a double quote); after its closing quote one comma or
  // blank, or a carriage return (with a line feed that follows it), is skipped. A token may be
  // empty, as between two separators in a row; the cursor always moves past it, so a caller
  // cannot loop on one position.
  ReadValue ReadToken();

  // Where the cursor stands: the offset of the next unread byte, never beyond Size().
  std::int32_t Position() const noexcept { return ResPos; }

  // The byte count of the stream's data (0 for an empty stream).
  std::int32_t Size() const noexcept { return ResSize; }

  // --- The C++ face: the same cursor, read as the caller's own types ---

  // The resource with this identifier and type, as the constructor opens it; nothing when the
  // program holds no such resource. Every other error is raised as the constructor raises it.
  static std::optional<ResourceStream> Open(const ReadValue& ResID, const ReadValue& ResType);
  template <ResourceNameLike Id, ResourceNameLike Type>
  static std::optional<ResourceStream> Open(const Id& ResID, const Type& ResType) {
    return Open(ToResourceName(ResID, "identifier"), ToResourceName(ResType, "type"));
  }

  // One value of type T at the cursor, which moves past it: any integer (8 to 64 bits, signed
  // or unsigned), float, double, enumeration, or trivially copyable record or std::array,
  // copied byte for byte (numbers are little-endian, as the library's targets are). bool is
  // refused at compile time (a byte other than 0 or 1 is no bool): read a std::uint8_t.
  // Raises bx::BoundsError naming Read, the offset and the resource when fewer than sizeof(T)
  // bytes remain; the cursor stays then.
  template <class T>
  T Read() {
    RequireReadable<T>();
    const std::uint8_t* bytes;
    if (!Take(sizeof(T), bytes)) [[unlikely]]
      ThrowFewerLeft(*this, sizeof(T), "Read");
    return FromBytes<T>(bytes);
  }

  // The same, but nothing, with the cursor unmoved, when fewer than sizeof(T) bytes remain.
  template <class T>
  std::optional<T> TryRead() {
    RequireReadable<T>();
    const std::uint8_t* bytes;
    if (!Take(sizeof(T), bytes)) [[unlikely]] {
      if (!PastTheEnd(sizeof(T))) ThrowFewerLeft(*this, sizeof(T), "TryRead");
      return std::nullopt;
    }
    return FromBytes<T>(bytes);
  }

  // Moves the cursor `count` bytes forward. Raises bx::BoundsError, with the cursor unmoved,
  // for a negative count or when fewer bytes remain.
  void Skip(std::int32_t count);

  // All of the stream's bytes, and those from the cursor to the end.
  std::span<const std::uint8_t> Bytes() const noexcept { return ResData; }
  std::span<const std::uint8_t> Remaining() const noexcept {
    return static_cast<std::size_t>(ResPos) <= ResData.size() ? ResData.subspan(ResPos)
                                                              : std::span<const std::uint8_t>();
  }

  // The next token, as ReadToken() reads it, into the caller's string: UTF-16, or UTF-8
  // converted from code page 932 with the same rules for bad input. The string's storage is
  // reused, so a loop allocates only when a token is longer than any before it. Returns false
  // at the end of the data, with the cursor and the string unchanged.
  bool ReadToken(std::u16string& into);
  bool ReadToken(std::string& into);

  // The tokens from the cursor on, for a range-for loop, each read into one string of the
  // range's that the loop sees (std::u16string or std::string):
  //   for (const std::string& word : stream.Tokens<std::string>()) ...
  template <class Text = std::u16string>
  TokenRange<Text> Tokens();

  // How a line feed counts between this stream's tokens; LineFeeds::kFollowSeparators unless
  // set. Copies keep it.
  void SetLineFeeds(LineFeeds rule) noexcept { line_feeds_ = rule; }
  LineFeeds GetLineFeeds() const noexcept { return line_feeds_; }

 private:
  friend struct detail::StreamState;

  // What a stream is made of, found and checked out of line. The constructors that take it are
  // inline, and the errors of the inline readers take a copy of the stream: so a stream that a
  // caller makes and reads in one function never has its address taken, and the compiler keeps
  // its cursor in a register instead of storing it at every read.
  struct Opening {
    std::span<const std::uint8_t> bytes;
    std::int32_t size;
    std::shared_ptr<const detail::StreamSource> source;

    static Opening Of(const ReadValue& ResID, const ReadValue& ResType);
    static Opening Of(std::span<const std::uint8_t> bytes);
    // Bytes found by the caller, named by `source`; `operation` names the making in the error
    // for more than 2^31 - 1 bytes.
    static Opening Over(std::span<const std::uint8_t> bytes,
                        std::shared_ptr<const detail::StreamSource> source, const char* operation);
  };
  explicit ResourceStream(Opening opening) noexcept
      : ResData(opening.bytes), ResSize(opening.size), source_(std::move(opening.source)) {}

  // The one step that every fixed-width read is built on: points `bytes` at the `n` bytes at
  // the cursor, which moves past them; or returns false, with the cursor unmoved, when fewer
  // remain (or the cursor is outside the data). Inline: an addition and one comparison against
  // a limit that a loop works out once. (A bool rather than a null pointer: the compiler cannot
  // tell that data + offset is never null, and would test it again.)
  bool Take(std::int32_t n, const std::uint8_t*& bytes) noexcept {
    // ResPos and n are never negative, so the end cannot wrap in 32 unsigned bits. The array's
    // size is asked too, though ResSize is always taken from it, so that no state of the stream
    // can read outside the array.
    const std::uint32_t pos = static_cast<std::uint32_t>(ResPos);
    const std::uint32_t end = pos + static_cast<std::uint32_t>(n);
    const std::uint32_t size = static_cast<std::uint32_t>(ResSize);
    if (end > (size < ResData.size() ? size : static_cast<std::uint32_t>(ResData.size())))
        [[unlikely]]
      return false;
    ResPos = static_cast<std::int32_t>(end);
    bytes = ResData.data() + pos;
    return true;
  }

  // A value of T from the bytes at `bytes`; a single byte is taken directly, anything longer
  // through the memory move.
  template <class T>
  static T FromBytes(const std::uint8_t* bytes) noexcept {
    if constexpr (std::same_as<T, std::uint8_t>) {
      return *bytes;
    } else if constexpr (std::is_default_constructible_v<T>) {
      T value;
      (detail::RtlMoveMemory)(&value, bytes, sizeof(T));  // (): <windows.h> has a macro of it
      return value;
    } else {
      std::array<std::uint8_t, sizeof(T)> raw;
      (detail::RtlMoveMemory)(raw.data(), bytes, sizeof(T));
      return std::bit_cast<T>(raw);
    }
  }

  template <class T>
  static constexpr void RequireReadable() noexcept {
    detail::RequireFillableFromBytes<T>();
    static_assert(!std::same_as<T, bool>,
                  "BxRes does not read a bool (a byte other than 0 or 1 is no bool): read a "
                  "std::uint8_t and compare it");
  }

  // A design reader of a value of T. At the end of the data it gives the Empty value, visibly,
  // so that a caller's loop knows it ends there and need not read the state again.
  template <class T>
  ReadValue ReadFixed(const char* operation) {
    const std::uint8_t* bytes;
    if (!Take(sizeof(T), bytes)) [[unlikely]] {
      if (!PastTheEnd(sizeof(T))) ThrowFewerLeft(*this, sizeof(T), operation);
      return {};
    }
    return ReadValue(FromBytes<T>(bytes));
  }
  // Whether a read of `n` bytes that Take refused is simply past the end, which gives the Empty
  // value (or nothing): fewer than n bytes left, and the position where its last byte would be
  // still a signed 32-bit number. Inline, so that reaching the end calls nothing.
  bool PastTheEnd(std::int32_t n) const noexcept {
    return ResSize - ResPos < n && ResPos <= (std::numeric_limits<std::int32_t>::max)() - (n - 1);
  }
  // For a read of `n` bytes that Take refused, which raises: the overflow error when the
  // position of its last byte leaves the signed 32-bit range; the bounds error when the array
  // holds fewer bytes than ResSize says; else the bounds error that says how many bytes were
  // wanted and how many are left. `at` is a copy (see Opening).
  [[noreturn]] static void ThrowFewerLeft(ResourceStream at, std::int32_t n, const char* operation);
  // A span's byte count as a ReadBlock length, raising the overflow error beyond 2^31 - 1.
  std::int32_t CheckedLength(std::size_t bytes) const;
  // The token at the cursor handed to `text` (see resource_stream.cpp), and the cursor moved
  // past it; false, with nothing changed, at the end of the data.
  template <class Text>
  bool ReadTokenInto(Text& text);

  // Names the operation, the offset and the resource, for error messages.
  std::string Where(const char* operation) const;
  // ResPos + n, raising the overflow error instead of leaving the signed 32-bit range.
  std::int32_t CheckedAdd(std::int32_t n, const char* operation) const;
  // Raises the bounds error unless ResPos indexes a byte of ResData (unsigned, so that a
  // negative position fails too). Inline, since every ReadToken asks; the error is not.
  void CheckCursorInside(const char* operation) const {
    if (static_cast<std::uint32_t>(ResPos) >= ResData.size()) [[unlikely]]
      ThrowNoByteLeft(operation);
  }
  [[noreturn]] void ThrowNoByteLeft(const char* operation) const;

  // The bytes (a view: embedded bytes live as long as the process, given ones as long as the
  // caller keeps them), the offset of the next unread byte and the byte count (always derived
  // from the view's size).
  std::span<const std::uint8_t> ResData;
  std::int32_t ResPos = 0;
  std::int32_t ResSize = 0;
  // Which resource the bytes are, for error messages (`resource 101 of type "CUSTOM"`), put
  // into words only when one is raised; shared by copies.
  std::shared_ptr<const detail::StreamSource> source_;
  LineFeeds line_feeds_ = LineFeeds::kFollowSeparators;
};

// The tokens of a stream, read one at a time into a string that the range holds (see
// ResourceStream::Tokens). An input range: it reads as the loop goes.
template <class Text>
class TokenRange {
 public:
  explicit TokenRange(ResourceStream& stream) noexcept : stream_(&stream) {}

  class Iterator {
   public:
    using value_type = Text;
    using difference_type = std::ptrdiff_t;

    const Text& operator*() const noexcept { return range_->text_; }
    Iterator& operator++() {
      range_->Next();
      return *this;
    }
    void operator++(int) { range_->Next(); }
    bool operator==(std::default_sentinel_t) const noexcept { return range_->done_; }

   private:
    friend TokenRange;
    explicit Iterator(TokenRange* range) noexcept : range_(range) {}
    TokenRange* range_;
  };

  Iterator begin() {
    Next();
    return Iterator(this);
  }
  std::default_sentinel_t end() const noexcept { return {}; }

 private:
  void Next() { done_ = !stream_->ReadToken(text_); }

  ResourceStream* stream_;
  Text text_;
  bool done_ = false;
};

template <class Text>
TokenRange<Text> ResourceStream::Tokens() {
  static_assert(std::same_as<Text, std::u16string> || std::same_as<Text, std::string>,
                "Tokens are read into a std::u16string (UTF-16) or a std::string (UTF-8)");
  return TokenRange<Text>(*this);
}

}  // namespace bx

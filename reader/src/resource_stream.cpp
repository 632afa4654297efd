// bx::ResourceStream's making, its checks and error messages, ReadBlock, ReadToken in its three
// forms, and the C++ face's operations that are not inline in the header. How text splits into
// tokens is in tokens.h.
#include "bxres/resource_stream.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

#include "bxres/value_text.h"
#include "platform.h"  // Required for: LoadResourceData, FindResourceData, DescribeResource
#include "tokens.h"

// Values are copied byte for byte from little-endian data.
static_assert(std::endian::native == std::endian::little, "BxRes needs a little-endian target");

namespace bx {

namespace detail {

// What a stream reads, kept as it was named and put into words only for an error message: the
// resource's identifier and type, or (both Empty) bytes given to the stream.
struct StreamSource {
  ReadValue id;
  ReadValue type;

  std::string Describe(std::int64_t size) const {
    if (id.IsEmpty()) return "the " + std::to_string(size) + " bytes given to the stream";
    return DescribeResource(id, type);
  }
};

}  // namespace detail

namespace {

// The name of every stream over bytes given to it: static, so that sharing it counts nothing.
const detail::StreamSource kGivenBytes{};

// The name of a stream over the resource with this identifier and type.
std::shared_ptr<const detail::StreamSource> ResourceSource(const ReadValue& ResID,
                                                           const ReadValue& ResType) {
  return std::make_shared<const detail::StreamSource>(detail::StreamSource{ResID, ResType});
}

// The byte count of `bytes`, which must fit a signed 32-bit position; `operation` and `source`
// say what failed if they do not.
std::int32_t CheckedSize(std::span<const std::uint8_t> bytes, const char* operation,
                         const detail::StreamSource& source) {
  const auto count = static_cast<std::int64_t>(bytes.size());
  if (count > (std::numeric_limits<std::int32_t>::max)()) {
    throw OverflowError(operation + (" of " + source.Describe(count)) + ": its " +
                        std::to_string(count) +
                        " bytes are more than a signed 32-bit position can address");
  }
  return static_cast<std::int32_t>(count);
}

}  // namespace

ResourceStream::Opening ResourceStream::Opening::Over(
    std::span<const std::uint8_t> bytes, std::shared_ptr<const detail::StreamSource> source,
    const char* operation) {
  const std::int32_t size = CheckedSize(bytes, operation, *source);
  return {bytes, size, std::move(source)};
}

ResourceStream::Opening ResourceStream::Opening::Of(const ReadValue& ResID,
                                                    const ReadValue& ResType) {
  const auto bytes = LoadResourceData(ResID, ResType);
  return Over(bytes, ResourceSource(ResID, ResType), "Load");
}

ResourceStream::Opening ResourceStream::Opening::Of(std::span<const std::uint8_t> bytes) {
  return Over(bytes,
              std::shared_ptr<const detail::StreamSource>(std::shared_ptr<void>(), &kGivenBytes),
              "ResourceStream");
}

// --- Errors ---

std::string ResourceStream::Where(const char* operation) const {
  if (source_ == nullptr) return std::string(operation) + " with no resource loaded";
  return std::string(operation) + " at offset " + std::to_string(ResPos) + " of " +
         source_->Describe(ResSize);
}

std::int32_t ResourceStream::CheckedAdd(std::int32_t n, const char* operation) const {
  const std::int64_t sum = std::int64_t{ResPos} + n;
  if (!std::in_range<std::int32_t>(sum)) {
    throw OverflowError(Where(operation) + ": " + std::to_string(ResPos) + " + " +
                        std::to_string(n) + " leaves the signed 32-bit range");
  }
  return static_cast<std::int32_t>(sum);
}

void ResourceStream::ThrowNoByteLeft(const char* operation) const {
  throw BoundsError(Where(operation) + ": no byte left to read");
}

// --- ReadBlock ---

std::int32_t ResourceStream::ReadBlock(void* Address, std::int32_t Length) {
  constexpr const char* kOperation = "ReadBlock";
  // A negative count would be a huge copy, and a null destination a crash: refuse both before
  // anything moves.
  if (Length < 0) {
    throw BoundsError(Where(kOperation) + ": negative length " + std::to_string(Length));
  }
  if (Address == nullptr && Length != 0) {
    throw BoundsError(Where(kOperation) + ": null destination for " + std::to_string(Length) +
                      " bytes");
  }
  std::int32_t n = Length;
  if (CheckedAdd(n, kOperation) >= ResSize) {
    n = ResSize - ResPos;  // both are non-negative, so this cannot overflow
  }
  CheckCursorInside(kOperation);
  detail::RtlMoveMemory(Address, ResData.data() + ResPos, static_cast<std::size_t>(n));
  ResPos += n;
  return n;
}

// --- ReadToken ---

namespace {

// How a token's text is handed over: as a String value, or into a caller's string. Short() gets
// the whole of a short token's text; Long() the start of a long one's, converted, and the bytes
// of the rest.
struct StringValue {
  using Unit = char16_t;
  ReadValue value;

  void Short(const char16_t* units, std::size_t n) {
    value = ReadValue(std::u16string_view(units, n));
  }
  void Long(std::u16string_view first, std::span<const std::uint8_t> rest) {
    value = ReadValue::StringOf(first.size() + rest.size(), [first, rest](char16_t* out) {
      std::copy(first.begin(), first.end(), out);
      return first.size() + Cp932ToUtf16(rest, out + first.size());
    });
  }
};

template <class String>  // std::u16string or std::string (UTF-8)
struct CallersString {
  using Unit = typename String::value_type;
  String& into;

  void Short(const Unit* units, std::size_t n) { into.assign(units, n); }
  void Long(std::basic_string_view<Unit> first, std::span<const std::uint8_t> rest) {
    into.resize(first.size() + rest.size() * tokens::kUnitsPerByte<Unit>);
    std::copy(first.begin(), first.end(), into.data());
    std::size_t n;
    if constexpr (sizeof(Unit) == 1) {
      n = cp932::ToUtf8(rest, into.data() + first.size());
    } else {
      n = Cp932ToUtf16(rest, into.data() + first.size());
    }
    into.resize(first.size() + n);
  }
};

}  // namespace

template <class Text>
bool ResourceStream::ReadTokenInto(Text& text) {
  using namespace tokens;
  if (ResPos >= ResSize) return false;
  CheckCursorInside("ReadToken");
  using Unit = typename Text::Unit;
  const Rules& rules = line_feeds_ == LineFeeds::kSeparate ? kLineFeedsSeparate : kLineFeedsFollow;
  const std::uint8_t* data = ResData.data();
  const bool quoted = data[ResPos] == kQuote;
  const std::int32_t begin = quoted ? ResPos + 1 : ResPos;
  Unit units[kShortToken * kUnitsPerByte<Unit>];
  const auto& classes = quoted ? kQuotedClasses : rules.unquoted_classes;
  const ShortToken token = ResSize - begin > kShortToken + 1
                               ? ScanAndConvert<true>(data, begin, ResSize, classes, units)
                               : ScanAndConvert<false>(data, begin, ResSize, classes, units);
  std::int32_t end = token.end;
  if (token.whole) [[likely]] {
    text.Short(units, token.units);
  } else {
    // A long token: what the pass converted, then the rest found and converted as a block.
    const std::int32_t rest = token.end;
    end = quoted ? FindQuotedEnd(data, rest, ResSize)
                 : FindUnquotedEnd(data, rest, ResSize, rules.ends_unquoted);
    text.Long({units, token.units}, {data + rest, static_cast<std::size_t>(end - rest)});
  }
  // Only now, when nothing can raise any more, does the cursor move.
  ResPos = quoted ? AfterQuote(data, end, ResSize, rules.line_feed_separates)
                  : AfterSeparator(data, end, ResSize, rules.line_feed_separates);
  return true;
}

ReadValue ResourceStream::ReadToken() {
  StringValue text;
  return ReadTokenInto(text) ? std::move(text.value) : ReadValue();
}

bool ResourceStream::ReadToken(std::u16string& into) {
  CallersString<std::u16string> text{into};
  return ReadTokenInto(text);
}

bool ResourceStream::ReadToken(std::string& into) {
  CallersString<std::string> text{into};
  return ReadTokenInto(text);
}

// --- The C++ face's other operations ---

std::optional<ResourceStream> ResourceStream::Open(const ReadValue& ResID,
                                                   const ReadValue& ResType) {
  const auto bytes = FindResourceData(ResID, ResType);
  if (!bytes) return std::nullopt;
  return ResourceStream(Opening::Over(*bytes, ResourceSource(ResID, ResType), "Open"));
}

void ResourceStream::Skip(std::int32_t count) {
  if (count < 0) {
    throw BoundsError(Where("Skip") + ": negative count " + std::to_string(count));
  }
  const std::uint8_t* skipped;
  if (count != 0 && !Take(count, skipped)) ThrowFewerLeft(*this, count, "Skip");
}

void ResourceStream::ThrowFewerLeft(ResourceStream at, std::int32_t n, const char* operation) {
  at.CheckedAdd(n - 1, operation);  // where the last byte would be must exist
  if (at.ResSize - at.ResPos >= n) {
    // ResSize says that the bytes are there, but the array ends before them.
    at.CheckCursorInside(operation);
    throw BoundsError(
        at.Where(operation) + ": " + std::to_string(n) + " bytes wanted, the array ends " +
        std::to_string(at.ResData.size() - static_cast<std::size_t>(at.ResPos)) + " bytes on");
  }
  const std::int32_t left = at.ResPos < at.ResSize ? at.ResSize - at.ResPos : 0;
  throw BoundsError(at.Where(operation) + ": " + std::to_string(n) + " bytes wanted, " +
                    std::to_string(left) + " left");
}

std::int32_t ResourceStream::CheckedLength(std::size_t bytes) const {
  if (!std::in_range<std::int32_t>(bytes)) {
    throw OverflowError(Where("ReadBlock") + ": " + std::to_string(bytes) +
                        " bytes are more than a signed 32-bit length");
  }
  return static_cast<std::int32_t>(bytes);
}

// --- Identifiers and types given as C++ values ---

namespace detail {
namespace {

template <class N>
ReadValue CheckedIntegerName(N n, const char* role) {
  if (std::in_range<std::int32_t>(n)) return ReadValue(static_cast<std::int32_t>(n));
  throw ConversionError("resource " + std::string(role) + " " + std::to_string(n) +
                        " is outside the numbers 1 to 65535");
}

}  // namespace

ReadValue IntegerName(std::intmax_t n, const char* role) { return CheckedIntegerName(n, role); }
ReadValue IntegerName(std::uintmax_t n, const char* role) { return CheckedIntegerName(n, role); }
ReadValue Utf8Name(std::string_view name) { return ReadValue(FromUtf8(name)); }

}  // namespace detail
}  // namespace bx

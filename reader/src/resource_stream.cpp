// bx::ResourceStream's making, its checks and error messages, ReadBlock and ReadToken. The typed
// readers are inline in the header; how text splits into tokens is in tokens.h.
#include "bxres/resource_stream.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

#include "bxres/value_text.h"
#include "platform.h"  // Required for: LoadResourceData, DescribeResource
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

ResourceStream::ResourceStream(std::span<const std::uint8_t> bytes,
                               std::shared_ptr<const detail::StreamSource> source,
                               const char* operation)
    : ResData(bytes),
      ResSize(CheckedSize(ResData, operation, *source)),
      source_(std::move(source)) {}

ResourceStream::ResourceStream(const ReadValue& ResID, const ReadValue& ResType)
    : ResourceStream(
          LoadResourceData(ResID, ResType),
          std::make_shared<const detail::StreamSource>(detail::StreamSource{ResID, ResType}),
          "Load") {}

ResourceStream::ResourceStream(std::span<const std::uint8_t> bytes)
    : ResourceStream(
          bytes, std::shared_ptr<const detail::StreamSource>(std::shared_ptr<void>(), &kGivenBytes),
          "ResourceStream") {}

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

// Unsigned, so that a negative position fails too.
void ResourceStream::CheckCursorInside(const char* operation) const {
  if (static_cast<std::uint32_t>(ResPos) >= ResData.size())
    throw BoundsError(Where(operation) + ": no byte left to read");
}

void ResourceStream::CheckPastEnd(std::int32_t n, const char* operation) const {
  if (ResSize - ResPos < n) {
    CheckedAdd(n - 1, operation);  // where the last byte would be must exist
    return;
  }
  CheckCursorInside(operation);  // raises: the cursor is outside the array
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

// The token at the cursor, which is inside the data; moves the cursor past it.
ReadValue ResourceStream::ReadTokenAtCursor() {
  using namespace tokens;
  const std::uint8_t* data = ResData.data();
  const bool quoted = data[ResPos] == kQuote;
  const std::int32_t begin = quoted ? ResPos + 1 : ResPos;
  char16_t units[kShortToken];
  const auto& classes = quoted ? kQuotedClasses : kUnquotedClasses;
  const ShortToken token = ResSize - begin > kShortToken + 1
                               ? ScanAndConvert<true>(data, begin, ResSize, classes, units)
                               : ScanAndConvert<false>(data, begin, ResSize, classes, units);
  std::int32_t end = token.end;
  ReadValue result;
  if (token.whole) [[likely]] {
    result = ReadValue(std::u16string_view(units, token.units));
  } else {
    // A long token: what the pass converted, then the rest found and converted as a block.
    const std::int32_t rest = token.end;
    end = quoted ? FindQuotedEnd(data, rest, ResSize) : FindUnquotedEnd(data, rest, ResSize);
    const std::span bytes(data + rest, static_cast<std::size_t>(end - rest));
    const std::u16string_view first(units, token.units);
    result = ReadValue::StringOf(first.size() + bytes.size(), [first, bytes](char16_t* out) {
      std::copy(first.begin(), first.end(), out);
      return first.size() + Cp932ToUtf16(bytes, out + first.size());
    });
  }
  ResPos = quoted ? AfterQuote(data, end, ResSize) : AfterSeparator(data, end, ResSize);
  return result;
}

ReadValue ResourceStream::ReadToken() {
  if (ResPos >= ResSize) return {};
  CheckCursorInside("ReadToken");
  return ReadTokenAtCursor();
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

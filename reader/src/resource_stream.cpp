// A stream's making and its error messages, the resource names that streams keep for those
// messages, and the module's one stream and Load. The typed readers are inline in the header.
#include "bxres/resource_reader.h"
#include "bxres/resource_stream.h"

#include <bit>
#include <limits>
#include <utility>

#include "bxres/platform.h"
#include "bxres/value_text.h"
#include "process_wide.h"
#include "res_state.h"

// Values are copied byte for byte from little-endian data.
static_assert(std::endian::native == std::endian::little, "BxRes needs a little-endian target");

namespace bx {
namespace {

ByteArray LoadedBytes(const ReadValue& ResID, const ReadValue& ResType) {
  const ReadValue data = LoadResourceData(ResID, ResType);
  if (data.Kind() != kByteArrayKind) {
    throw ConversionError("Load of " + DescribeResource(ResID, ResType) + ": the loader returned " +
                          Describe(data) + ", not a byte array");
  }
  return data.Bytes();
}

}  // namespace

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

// The byte count of `bytes`, which must fit a signed 32-bit position; `operation` and `name`
// say what failed if they do not.
std::int32_t CheckedSize(const ByteArray& bytes, const char* operation,
                         const detail::StreamSource& name) {
  const std::int64_t count = bytes.UBound() + 1;
  if (count > (std::numeric_limits<std::int32_t>::max)()) {
    throw OverflowError(operation + (" of " + name.Describe(count)) + ": its " +
                        std::to_string(count) +
                        " bytes are more than a signed 32-bit position can address");
  }
  return static_cast<std::int32_t>(count);
}

}  // namespace

ResourceStream::ResourceStream(ByteArray bytes, std::shared_ptr<const detail::StreamSource> name,
                               const char* operation)
    : ResData(std::move(bytes)),
      ResSize(CheckedSize(ResData, operation, *name)),
      ResName(std::move(name)) {}

ResourceStream::ResourceStream(const ReadValue& ResID, const ReadValue& ResType)
    : ResourceStream(
          LoadedBytes(ResID, ResType),
          std::make_shared<const detail::StreamSource>(detail::StreamSource{ResID, ResType}),
          "Load") {}

ResourceStream::ResourceStream(std::span<const std::uint8_t> bytes)
    : ResourceStream(
          ByteArray::View(bytes),
          std::shared_ptr<const detail::StreamSource>(std::shared_ptr<void>(), &kGivenBytes),
          "ResourceStream") {}

std::string ResourceStream::Where(const char* operation) const {
  if (ResName == nullptr) return std::string(operation) + " with no resource loaded";
  return std::string(operation) + " at offset " + std::to_string(ResPos) + " of " +
         ResName->Describe(ResSize);
}

namespace detail {

void ThrowOverflow(const std::string& where, std::int32_t a, std::int32_t b) {
  throw OverflowError(where + ": " + std::to_string(a) + " + " + std::to_string(b) +
                      " leaves the signed 32-bit range");
}

void ThrowNoByteLeft(const std::string& where) {
  throw BoundsError(where + ": no byte left to read");
}

}  // namespace detail

void ResourceStream::CheckPastEnd(std::int32_t n, const char* operation) const {
  if (ResSize - ResPos < n) {
    CheckedAdd(n - 1, operation);  // where the last byte would be must exist
    return;
  }
  CheckCursorInside(operation);  // raises: the cursor is outside the array
}

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

namespace BxRes {

namespace detail {
namespace {
// This object's candidate for the process-wide stream; the first object to use the module puts
// its own in the process-wide block, and every object uses that one.
constinit bx::ResourceStream g_own_stream;
}  // namespace

bx::ResourceStream& FindTheStream() noexcept {
  void*& stream = bx::detail::TheProcessWide().module_stream;
  if (stream == nullptr) stream = &g_own_stream;
  return *static_cast<bx::ResourceStream*>(stream);
}

}  // namespace detail

void Load(const ReadValue& ResID, const ReadValue& ResType) {
  // The new stream is made first, so that a failed Load leaves the previous one as it was.
  detail::TheStream() = bx::ResourceStream(ResID, ResType);
}

}  // namespace BxRes

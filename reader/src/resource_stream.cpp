// A stream's making, its error messages and the typed readers.
#include "bxres/resource_stream.h"

#include <bit>
#include <limits>
#include <utility>

#include "bxres/platform.h"
#include "bxres/value_text.h"
#include "res_state.h"

// Values are copied byte for byte from little-endian data.
static_assert(std::endian::native == std::endian::little, "BxRes needs a little-endian target");

namespace bx {
namespace {

// The byte count of `bytes`, which must fit a signed 32-bit position; `what` names them.
std::int32_t CheckedSize(const ByteArray& bytes, const std::string& what) {
  const std::int64_t count = bytes.UBound() + 1;
  if (count > (std::numeric_limits<std::int32_t>::max)()) {
    throw OverflowError(what + ": its " + std::to_string(count) +
                        " bytes are more than a signed 32-bit position can address");
  }
  return static_cast<std::int32_t>(count);
}

ByteArray LoadedBytes(const ReadValue& ResID, const ReadValue& ResType) {
  const ReadValue data = LoadResourceData(ResID, ResType);
  if (data.Kind() != kByteArrayKind) {
    throw ConversionError("Load of " + DescribeResource(ResID, ResType) + ": the loader returned " +
                          Describe(data) + ", not a byte array");
  }
  return data.Bytes();
}

}  // namespace

ResourceStream::ResourceStream(ByteArray bytes, std::shared_ptr<const std::string> name,
                               const char* operation)
    : ResData(std::move(bytes)),
      ResSize(CheckedSize(ResData, operation + (" of " + *name))),
      ResName(std::move(name)) {}

ResourceStream::ResourceStream(const ReadValue& ResID, const ReadValue& ResType)
    : ResourceStream(LoadedBytes(ResID, ResType),
                     std::make_shared<const std::string>(DescribeResource(ResID, ResType)), "Load") {}

ResourceStream::ResourceStream(std::span<const std::uint8_t> bytes)
    : ResourceStream(ByteArray::View(bytes),
                     std::make_shared<const std::string>("the " + std::to_string(bytes.size()) +
                                                         " bytes given to the stream"),
                     "ResourceStream") {}

std::string ResourceStream::Where(const char* operation) const {
  if (ResName == nullptr) return std::string(operation) + " with no resource loaded";
  return std::string(operation) + " at offset " + std::to_string(ResPos) + " of " + *ResName;
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

template <class T>
ReadValue ResourceStream::ReadFixed(const char* operation) {
  constexpr std::int32_t n = sizeof(T);
  // ResPos and ResSize are never negative, so their difference cannot overflow.
  if (ResSize - ResPos < n) [[unlikely]] {
    CheckedAdd(n - 1, operation);  // where the last byte would be must exist
    return {};
  }
  CheckCursorInside(operation);
  T value;
  if constexpr (n == 1) {
    value = ResData.data()[ResPos];
  } else {
    RtlMoveMemory(&value, ResData.data() + ResPos, n);
  }
  ResPos += n;  // at most ResSize
  return ReadValue(value);
}

ReadValue ResourceStream::ReadByte() { return ReadFixed<std::uint8_t>("ReadByte"); }
ReadValue ResourceStream::ReadInteger() { return ReadFixed<std::int16_t>("ReadInteger"); }
ReadValue ResourceStream::ReadLong() { return ReadFixed<std::int32_t>("ReadLong"); }
ReadValue ResourceStream::ReadSingle() { return ReadFixed<float>("ReadSingle"); }
ReadValue ResourceStream::ReadDouble() { return ReadFixed<double>("ReadDouble"); }

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

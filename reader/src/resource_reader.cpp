// The cursor, Load and the typed readers.
#include "bxres/resource_reader.h"

#include <bit>
#include <limits>
#include <utility>

#include "bxres/platform.h"
#include "bxres/value_text.h"
#include "res_state.h"

// Values are copied byte for byte from little-endian data.
static_assert(std::endian::native == std::endian::little, "BxRes needs a little-endian target");

namespace BxRes {

namespace detail {

std::string Where(const char* operation) {
  if (ResName.empty()) return std::string(operation) + " with no resource loaded";
  return std::string(operation) + " at offset " + std::to_string(ResPos) + " of " + ResName;
}

void ThrowOverflow(std::int32_t a, std::int32_t b, const char* operation) {
  throw bx::OverflowError(Where(operation) + ": " + std::to_string(a) + " + " + std::to_string(b) +
                          " leaves the signed 32-bit range");
}

void ThrowNoByteLeft(const char* operation) {
  throw bx::BoundsError(Where(operation) + ": no byte left to read");
}

}  // namespace detail

namespace {

// Copies the n bytes at the cursor to `out` and moves the cursor past them; false, with the
// cursor unmoved, when fewer than n bytes remain or nothing is loaded.
template <std::int32_t n>
bool Take(void* out, const char* operation) {
  // ResPos and ResSize are never negative, so their difference cannot overflow.
  if (ResSize - ResPos < n) [[unlikely]] {
    detail::CheckedAdd(ResPos, n - 1, operation);  // where the last byte would be must exist
    return false;
  }
  detail::CheckCursorInside(operation);
  if constexpr (n == 1) {
    *static_cast<std::uint8_t*>(out) = ResData.data()[ResPos];
  } else {
    bx::RtlMoveMemory(out, ResData.data() + ResPos, n);
  }
  ResPos += n;  // at most ResSize
  return true;
}

template <class T>
ReadValue ReadFixed(const char* operation) {
  T value;
  return Take<sizeof(T)>(&value, operation) ? ReadValue(value) : ReadValue();
}

}  // namespace

void Load(const ReadValue& ResID, const ReadValue& ResType) {
  const ReadValue data = bx::LoadResourceData(ResID, ResType);
  std::string name = bx::DescribeResource(ResID, ResType);
  if (data.Kind() != bx::kByteArrayKind) {
    throw bx::ConversionError("Load of " + name + ": the loader returned " + bx::Describe(data) +
                              ", not a byte array");
  }
  const std::int64_t count = data.Bytes().UBound() + 1;
  if (count > std::numeric_limits<std::int32_t>::max()) {
    throw bx::OverflowError("Load of " + name + ": its " + std::to_string(count) +
                            " bytes are more than a signed 32-bit position can address");
  }
  // Nothing below can fail, so a failed Load leaves the previous resource readable.
  ResData = data.Bytes();
  ResPos = 0;
  ResSize = static_cast<std::int32_t>(count);
  ResName = std::move(name);
}

std::int32_t Position() noexcept { return ResPos; }
std::int32_t Size() noexcept { return ResSize; }

ReadValue ReadByte() { return ReadFixed<std::uint8_t>("ReadByte"); }

ReadValue ReadInteger() { return ReadFixed<std::int16_t>("ReadInteger"); }
ReadValue ReadLong() { return ReadFixed<std::int32_t>("ReadLong"); }
ReadValue ReadSingle() { return ReadFixed<float>("ReadSingle"); }
ReadValue ReadDouble() { return ReadFixed<double>("ReadDouble"); }

}  // namespace BxRes

namespace bx::detail {

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

}  // namespace bx::detail

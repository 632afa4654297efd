// The cursor, Load and the typed readers.
#include "bxres/resource_reader.h"

#include <bit>
#include <limits>

#include "bxres/platform.h"
#include "res_state.h"

// Values are copied byte for byte from little-endian data.
static_assert(std::endian::native == std::endian::little, "BxRes needs a little-endian target");

namespace BxRes {

std::int32_t ResSize = 0;
std::int32_t ResPos = 0;
bx::ByteArray ResData;
std::string ResName;

namespace detail {

std::string Where(const char* operation) {
  if (ResName.empty()) return std::string(operation) + " with no resource loaded";
  return std::string(operation) + " at offset " + std::to_string(ResPos) + " of " + ResName;
}

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b, const char* operation) {
  const std::int64_t sum = std::int64_t{a} + b;
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    throw bx::OverflowError(Where(operation) + ": " + std::to_string(a) + " + " +
                            std::to_string(b) + " leaves the signed 32-bit range");
  }
  return static_cast<std::int32_t>(sum);
}

void CheckCursorInside(const char* operation) {
  // Unsigned, so that a negative position fails too.
  if (static_cast<std::uint32_t>(ResPos) >= ResData.size()) {
    throw bx::BoundsError(Where(operation) + ": no byte left to read");
  }
}

const std::uint8_t* Take(std::int32_t n, const char* operation) {
  const std::int32_t last = CheckedAdd(ResPos, n - 1, operation);
  if (last >= ResSize || ResSize == 0) return nullptr;
  CheckCursorInside(operation);
  const std::uint8_t* bytes = ResData.data() + ResPos;
  ResPos = CheckedAdd(ResPos, n, operation);
  return bytes;
}

}  // namespace detail

namespace {

template <class T>
ReadValue ReadFixed(const char* operation) {
  const std::uint8_t* bytes = detail::Take(sizeof(T), operation);
  if (bytes == nullptr) return {};
  T value;
  bx::RtlMoveMemory(&value, bytes, sizeof value);
  return ReadValue(value);
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

ReadValue ReadByte() {
  const std::uint8_t* byte = detail::Take(1, "ReadByte");
  return byte != nullptr ? ReadValue(*byte) : ReadValue();
}

ReadValue ReadInteger() { return ReadFixed<std::int16_t>("ReadInteger"); }
ReadValue ReadLong() { return ReadFixed<std::int32_t>("ReadLong"); }
ReadValue ReadSingle() { return ReadFixed<float>("ReadSingle"); }
ReadValue ReadDouble() { return ReadFixed<double>("ReadDouble"); }

}  // namespace BxRes

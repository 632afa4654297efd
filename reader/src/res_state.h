// The module's state, process-wide. Only the module's own sources and its tests include this;
// callers see the state through the operations alone.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "bxres/read_value.h"

namespace BxRes {

// The cursor: the loaded bytes, the offset of the next unread byte and the byte count (always
// derived from the array's upper bound). Process-wide and not thread-safe.
//
// Inline variables, so that every shared object that links the library shares one instance:
// the toolchain gives them process-wide unique symbols, and an executable exports its own
// (see cmake/BxResources.cmake), so a program and the libraries it loads read one cursor.
inline std::int32_t ResSize = 0;
inline std::int32_t ResPos = 0;
inline bx::ByteArray ResData;

// Which resource is loaded, for error messages: `resource 101 of type "CUSTOM"`.
inline std::string ResName;

}  // namespace BxRes

// The steps every reader is built on.
namespace BxRes::detail {

// Names the operation, the offset and the loaded resource, for error messages.
std::string Where(const char* operation);

[[noreturn]] void ThrowOverflow(std::int32_t a, std::int32_t b, const char* operation);

// a + b, raising the overflow error instead of leaving the signed 32-bit range.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b, const char* operation) {
  const std::int64_t sum = std::int64_t{a} + b;
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    ThrowOverflow(a, b, operation);
  }
  return static_cast<std::int32_t>(sum);
}

[[noreturn]] void ThrowNoByteLeft(const char* operation);

// Raises the bounds error unless ResPos indexes a byte of ResData (unsigned, so that a negative
// position fails too).
inline void CheckCursorInside(const char* operation) {
  if (static_cast<std::uint32_t>(ResPos) >= ResData.size()) ThrowNoByteLeft(operation);
}

}  // namespace BxRes::detail

// The steps every reader is built on, and access to a stream's state for tests. Only the
// module's own sources, its tests and the fuzzer include this; callers see the state through the
// operations alone.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "bxres/resource_stream.h"

namespace bx::detail {

// A stream's state, for tests that put the cursor where reading would take too long to get it
// (near 2^31), or that look at the bytes a stream holds.
struct StreamState {
  static std::int32_t& ResPos(ResourceStream& s) noexcept { return s.ResPos; }
  static std::int32_t& ResSize(ResourceStream& s) noexcept { return s.ResSize; }
  static const ByteArray& ResData(const ResourceStream& s) noexcept { return s.ResData; }
};

[[noreturn]] void ThrowOverflow(const std::string& where, std::int32_t a, std::int32_t b);
[[noreturn]] void ThrowNoByteLeft(const std::string& where);

}  // namespace bx::detail

namespace bx {

inline std::int32_t ResourceStream::CheckedAdd(std::int32_t n, const char* operation) const {
  const std::int64_t sum = std::int64_t{ResPos} + n;
  if (sum < (std::numeric_limits<std::int32_t>::min)() ||
      sum > (std::numeric_limits<std::int32_t>::max)()) {
    detail::ThrowOverflow(Where(operation), ResPos, n);
  }
  return static_cast<std::int32_t>(sum);
}

// Unsigned, so that a negative position fails too.
inline void ResourceStream::CheckCursorInside(const char* operation) const {
  if (static_cast<std::uint32_t>(ResPos) >= ResData.size())
    detail::ThrowNoByteLeft(Where(operation));
}

}  // namespace bx

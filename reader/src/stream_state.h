// A stream's state, for the module's tests and the fuzzer: callers see it through the
// operations alone.
#pragma once

#include <cstdint>
#include <span>

#include "bxres/resource_stream.h"

namespace bx::detail {

// For tests that put the cursor where reading would take too long to get it (near 2^31), or
// that look at the bytes a stream holds.
struct StreamState {
  static std::int32_t& ResPos(ResourceStream& s) noexcept { return s.ResPos; }
  static std::int32_t& ResSize(ResourceStream& s) noexcept { return s.ResSize; }
  static std::span<const std::uint8_t> ResData(const ResourceStream& s) noexcept {
    return s.ResData;
  }
};

}  // namespace bx::detail

// String tables as the resource compiler writes them (STRINGTABLE in a resource script): string
// `id` lives in block id / 16 + 1, a resource of type 6, as its entry id % 16. A block is
// sixteen strings one after another, each its length in UTF-16 code units (16 bits,
// little-endian) and then its units, without a terminating zero: a string not in the table is
// an empty one. For LoadString and bxres dump.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace bx::detail {

inline constexpr std::uint16_t kStringType = 6;
inline constexpr std::uint16_t kStringsPerBlock = 16;

constexpr std::uint16_t StringBlock(std::uint16_t id) noexcept {
  return static_cast<std::uint16_t>(id / kStringsPerBlock + 1);
}

// The sixteen strings of a block, each a view of its units' bytes. Raises DamagedResFile
// (res_file.h) where a length runs past the end of the block, or the block ends before its
// sixteenth string; bytes after it are left alone.
std::array<std::span<const std::uint8_t>, kStringsPerBlock> StringTableEntries(
    std::span<const std::uint8_t> block);

}  // namespace bx::detail

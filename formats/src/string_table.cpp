#include "string_table.h"

#include <string>

#include "little_endian.h"
#include "res_file.h"

namespace bx::detail {

std::array<std::span<const std::uint8_t>, kStringsPerBlock> StringTableEntries(
    std::span<const std::uint8_t> block) {
  std::array<std::span<const std::uint8_t>, kStringsPerBlock> strings;
  std::size_t at = 0;
  for (std::size_t i = 0; i < kStringsPerBlock; ++i) {
    if (block.size() - at < 2) {
      throw DamagedResFile("at byte " + std::to_string(at) + ": the block ends after " +
                           std::to_string(i) + " of its 16 strings");
    }
    const std::size_t bytes = std::size_t{LittleEndian16(&block[at])} * 2;
    if (block.size() - at - 2 < bytes) {
      throw DamagedResFile("at byte " + std::to_string(at) + ": string " + std::to_string(i) +
                           " of the block (" + std::to_string(bytes / 2) +
                           " units) runs past its end");
    }
    strings[i] = block.subspan(at + 2, bytes);
    at += 2 + bytes;
  }
  return strings;
}

}  // namespace bx::detail

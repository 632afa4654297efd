// Little-endian fields, as compiled resource files, PE files and the ELF files of the targets
// here hold them, read from bytes of any alignment.
#pragma once

#include <cstdint>

namespace bx::detail {

// The `size`-byte (at most 8) little-endian number at `p`.
inline std::uint64_t LittleEndian(const std::uint8_t* p, int size) noexcept {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

inline std::uint16_t LittleEndian16(const std::uint8_t* p) noexcept {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t LittleEndian32(const std::uint8_t* p) noexcept {
  return static_cast<std::uint32_t>(LittleEndian(p, 4));
}

}  // namespace bx::detail

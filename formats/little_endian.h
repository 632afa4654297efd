// Little-endian fields, as compiled resource files, PE files and the ELF files of the targets
// here hold them, read from bytes of any alignment.
#pragma once

#include <cstdint>
#include <span>
#include <string>

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

// UTF-16 code units from their little-endian bytes (an odd last byte left out).
inline std::u16string Utf16Units(std::span<const std::uint8_t> bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) units[i] = LittleEndian16(&bytes[2 * i]);
  return units;
}

}  // namespace bx::detail

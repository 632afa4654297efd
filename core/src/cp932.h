// Code page 932 decoded one character at a time: the step that the whole-text conversion
// (Cp932ToUtf16) and the token reader's short tokens share, so that both follow one set of
// rules (see Cp932ToUtf16 in bxres/text_encoding.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace bx::cp932 {

// Whether `b` begins a two-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsLead(std::uint8_t b) noexcept {
  return static_cast<std::uint8_t>(b - 0x81) <= 0x9F - 0x81 ||
         static_cast<std::uint8_t>(b - 0xE0) <= 0xFC - 0xE0;
}

namespace internal {
// The character at every pair of bytes, indexed by the two bytes as a little-endian 16-bit
// value (first byte low): for a lead byte the pair's character (U+FFFD when unassigned), or
// kNotTrail when the second byte is not a trail byte; for any other byte that byte's own
// character, whatever follows. Use the functions below.
extern const std::array<char16_t, 65536> kPairs;
inline constexpr char16_t kNotTrail = 0xFFFE;
}  // namespace internal

// The character of a byte that is not a lead byte.
inline char16_t DecodeSingle(std::uint8_t b) noexcept { return internal::kPairs[b]; }

// A character that a lead byte begins, and how many bytes it takes.
struct Char {
  char16_t unit;
  std::uint8_t size;
};

// The character that lead byte `lead` begins, with `next` after it (0 where nothing follows: 0
// is no trail byte): the pair's character, U+FFFD when unassigned, taking 2 bytes; or, when
// `next` is not a trail byte, U+FFFD for the lead byte alone, taking 1.
inline Char DecodeLead(std::uint8_t lead, std::uint8_t next) noexcept {
  const char16_t c = internal::kPairs[lead | next << 8];
  if (c != internal::kNotTrail) [[likely]]
    return {c, 2};
  return {u'\uFFFD', 1};
}

// Code page 932 to UTF-8, with Cp932ToUtf16's rules for bad input. `out` has room for three
// bytes per byte of `text` (no character of code page 932 takes more). Returns how many it
// wrote.
std::size_t ToUtf8(std::span<const std::uint8_t> text, char* out) noexcept;

}  // namespace bx::cp932

// Code page 932 to UTF-16, table-driven, with no converter state to open or close.
//
// A lead byte and a trail byte are one code (U+FFFD when it is unassigned); a lead byte before
// anything else is replaced alone, so the byte after it is decoded on its own and never lost;
// every other byte is a character. The tables carry that policy (see gen_cp932_table.cpp).
//
// Long text is decoded sixteen bytes at a time without a branch on the data: character
// boundaries come from bit masks, and every position is looked up whether or not a character
// starts there. A block that holds a lead byte without a trail byte, and the last few bytes,
// are decoded one character at a time.
#include "cp932.h"

#include <array>
#include <cstring>

#include "bxres/text_encoding.h"
#include "utf8.h"

namespace bx {
namespace {
#include "cp932_table.inc"

constexpr unsigned kBlock = 16;

constexpr std::array<std::uint8_t, 256> kIsLead = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = kCp932Single[b] == kCp932Lead;
  return table;
}();

char16_t PairAt(const std::uint8_t* p) { return cp932::internal::kPairs[p[0] | p[1] << 8]; }

// The character at in[i], written to *o; returns the index after it.
std::size_t DecodeOne(const std::uint8_t* in, std::size_t i, std::size_t n, char16_t* o) {
  if (kIsLead[in[i]]) {
    const cp932::Char c = cp932::DecodeLead(in[i], i + 1 < n ? in[i + 1] : 0);
    *o = c.unit;
    return i + c.size;
  }
  *o = cp932::DecodeSingle(in[i]);
  return i + 1;
}

struct Block {
  unsigned consumed;  // bytes, including a trail byte just past the block
  unsigned written;   // UTF-16 units
  bool valid;         // false: a lead byte without a trail byte; nothing is usable
};

// Decodes the characters that start in p[0 .. kBlock); p[kBlock] must be readable too, for a
// character that starts at the last position. Writes up to kBlock units to out.
Block DecodeBlock(const std::uint8_t* p, char16_t* out) {
  constexpr std::uint64_t kInBlock = (std::uint64_t{1} << kBlock) - 1;
  std::uint64_t lead = 0;
  for (unsigned k = 0; k < kBlock; ++k) lead |= std::uint64_t{kIsLead[p[k]]} << k;
  // A run of lead bytes always starts at a character (the byte before it cannot be a lead
  // byte), and every lead byte is also a trail byte, so within the run characters start at
  // even offsets, and an odd-length run takes the byte after it as its last trail byte.
  // Subtracting the runs from the odd bits marks the trail bytes of every run at once.
  constexpr std::uint64_t kOdd = 0xAAAAAAAAAAAAAAAAull;
  const std::uint64_t trail = ((((lead << 1) | kOdd) - lead) ^ kOdd) ^ lead;
  const std::uint64_t starts = ~trail & kInBlock;
  const std::uint64_t lead_starts = starts & lead;
  unsigned written = 0;
  bool bad = false;
  for (unsigned k = 0; k < kBlock; ++k) {
    const char16_t c = PairAt(p + k);
    bad |= ((lead_starts >> k) & 1) != 0 && c == cp932::internal::kNotTrail;
    out[written] = c;
    written += (starts >> k) & 1;
  }
  return {kBlock + static_cast<unsigned>((trail >> kBlock) & 1), written, !bad};
}

}  // namespace

namespace cp932::internal {
static_assert(kNotTrail == bx::kCp932NotTrail);
extern constexpr std::array<char16_t, 65536> kPairs = [] {
  std::array<char16_t, 65536> table{};
  for (unsigned next = 0; next < 256; ++next) {
    for (unsigned b = 0; b < 256; ++b) {
      table[next << 8 | b] = kIsLead[b] ? kCp932Double[kCp932LeadRow[b]][next] : kCp932Single[b];
    }
  }
  return table;
}();

// The inline test for lead bytes agrees with the tables.
static_assert([] {
  for (unsigned b = 0; b < 256; ++b) {
    if (IsLead(static_cast<std::uint8_t>(b)) != (kIsLead[b] != 0)) return false;
  }
  return true;
}());
}  // namespace cp932::internal

std::size_t Cp932ToUtf16(std::span<const std::uint8_t> text, char16_t* out) noexcept {
  const std::uint8_t* in = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  char16_t* o = out;
  // Whole blocks while a block and the byte after it can be read and `out` has room for a
  // block's units (it has room for one per remaining byte).
  while (n - i > kBlock) {
    const Block block = DecodeBlock(in + i, o);
    if (block.valid) {
      o += block.written;
      i += block.consumed;
    } else {
      for (const std::size_t end = i + kBlock; i < end; ++o) i = DecodeOne(in, i, n, o);
    }
  }
  // The rest (all of a short text, such as most tokens) one character at a time.
  for (; i < n; ++o) i = DecodeOne(in, i, n, o);
  return static_cast<std::size_t>(o - out);
}

std::u16string Cp932ToUtf16(std::span<const std::uint8_t> text) {
  std::u16string result(text.size(), u'\0');
  result.resize(Cp932ToUtf16(text, result.data()));
  return result;
}

std::size_t cp932::ToUtf8(std::span<const std::uint8_t> text, char* out) noexcept {
  char* o = out;
  for (std::size_t i = 0; i < text.size();) {
    if (IsLead(text[i])) {
      const Char c = DecodeLead(text[i], i + 1 < text.size() ? text[i + 1] : 0);
      o = utf8::Encode(c.unit, o);
      i += c.size;
    } else {
      o = utf8::Encode(DecodeSingle(text[i]), o);
      i += 1;
    }
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace bx

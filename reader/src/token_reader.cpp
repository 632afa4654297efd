// ReadToken: the next separated or quoted token at the cursor, as UTF-16; the stream's and,
// beside it, the module's.
//
// The scan looks at single bytes and never decodes: every byte it tests (quote, comma, blank,
// CR, LF, tab) is below 0x40, and no byte of a double-byte character in code page 932 is, so a
// separator can never be half of a character. Only the finished token is converted.
#include <array>
#include <bit>
#include <cstring>
#include <span>

#include "bxres/platform.h"
#include "bxres/resource_reader.h"
#include "bxres/resource_stream.h"
#include "res_state.h"

namespace bx {
namespace {

constexpr std::uint8_t kQuote = 0x22;
constexpr std::uint8_t kComma = 0x2C;
constexpr std::uint8_t kBlank = 0x20;
constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kTab = 0x09;

constexpr std::array<bool, 256> kEndsUnquoted = [] {
  std::array<bool, 256> table{};
  for (std::uint8_t b : {kComma, kBlank, kCr, kTab}) table[b] = true;
  return table;
}();

// Where a token's bytes lie, and where the cursor goes after it.
struct Token {
  std::int32_t begin;
  std::int32_t end;
  std::int32_t next;
};

// The first byte at or after p that ends an unquoted token, or `size`. Eight bytes at a time:
// every separator is below 0x2D, as almost no byte of text is, so a word with no byte below
// 0x2D is passed over whole.
std::int32_t FindUnquotedEnd(const std::uint8_t* data, std::int32_t p, std::int32_t size) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  std::int32_t i = p;
  while (size - i >= 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    // The lowest flagged byte is exactly the first byte below 0x2D (flags above it may be
    // borrows).
    const std::uint64_t below = (word - kOnes * 0x2D) & ~word & (kOnes * 0x80);
    if (below == 0) {
      i += 8;
      continue;
    }
    const std::int32_t at = i + std::countr_zero(below) / 8;
    if (kEndsUnquoted[data[at]]) return at;
    i = at + 1;
  }
  while (i < size && !kEndsUnquoted[data[i]]) ++i;
  return i;
}

// None of the positions below can leave the signed 32-bit range: each is at most `size`.
Token ScanQuoted(const std::uint8_t* data, std::int32_t p, std::int32_t size) {
  const void* close = std::memchr(data + p + 1, kQuote, static_cast<std::size_t>(size - p - 1));
  if (close == nullptr) return {p + 1, size, size};  // unterminated: runs to the end
  const auto end = static_cast<std::int32_t>(static_cast<const std::uint8_t*>(close) - data);
  std::int32_t next = end + 1;
  if (next < size) {
    const std::uint8_t after = data[next];
    if (after == kComma || after == kBlank) {
      ++next;
    } else if (after == kCr) {
      ++next;
      // Only a line feed goes with the carriage return; any other byte opens the next token.
      if (next < size && data[next] == kLf) ++next;
    }
  }
  return {p + 1, end, next};
}

Token ScanUnquoted(const std::uint8_t* data, std::int32_t p, std::int32_t size) {
  const std::int32_t end = FindUnquotedEnd(data, p, size);
  if (end == size) return {p, size, size};
  std::int32_t next = end + 1;
  if (next < size && data[next] == kLf) ++next;
  return {p, end, next};
}

}  // namespace

// The token at the cursor, which is inside the data; moves the cursor past it.
ReadValue ResourceStream::ReadTokenAtCursor() {
  const std::uint8_t* data = ResData.data();
  const Token token = data[ResPos] == kQuote ? ScanQuoted(data, ResPos, ResSize)
                                             : ScanUnquoted(data, ResPos, ResSize);
  const std::span bytes(data + token.begin, static_cast<std::size_t>(token.end - token.begin));
  const auto convert = [bytes](char16_t* out) { return Cp932ToUtf16(bytes, out); };
  ReadValue result = ReadValue::StringOf(bytes.size(), convert);
  ResPos = token.next;  // only once nothing can fail any more
  return result;
}

ReadValue ResourceStream::ReadToken() {
  if (ResPos >= ResSize) return {};
  CheckCursorInside("ReadToken");
  return ReadTokenAtCursor();
}

}  // namespace bx

bx::ReadValue BxRes::ReadToken() { return TheStream.ReadToken(); }


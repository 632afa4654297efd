// ReadToken: the next separated or quoted token at the cursor, as UTF-16.
//
// The scan looks at single bytes and never decodes: every byte it tests (quote, comma, blank,
// CR, LF, tab) is below 0x40, and no byte of a double-byte character in code page 932 is, so a
// separator can never be half of a character. Only the finished token is converted.
#include <algorithm>
#include <array>
#include <span>

#include "bxres/platform.h"
#include "bxres/resource_reader.h"
#include "res_state.h"

namespace BxRes {
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

// None of the positions below can leave the signed 32-bit range: each is at most ResSize.
Token ScanQuoted(const std::uint8_t* data, std::int32_t p) {
  const std::uint8_t* close = std::find(data + p + 1, data + ResSize, kQuote);
  const auto end = static_cast<std::int32_t>(close - data);
  if (end == ResSize) return {p + 1, ResSize, ResSize};  // unterminated: runs to the end
  std::int32_t next = end + 1;
  if (next < ResSize) {
    const std::uint8_t after = data[next];
    if (after == kComma || after == kBlank) {
      ++next;
    } else if (after == kCr) {
      ++next;
      // Only a line feed goes with the carriage return; any other byte opens the next token.
      if (next < ResSize && data[next] == kLf) ++next;
    }
  }
  return {p + 1, end, next};
}

Token ScanUnquoted(const std::uint8_t* data, std::int32_t p) {
  const std::uint8_t* stop =
      std::find_if(data + p, data + ResSize, [](std::uint8_t b) { return kEndsUnquoted[b]; });
  const auto end = static_cast<std::int32_t>(stop - data);
  if (end == ResSize) return {p, ResSize, ResSize};
  std::int32_t next = end + 1;
  if (next < ResSize && data[next] == kLf) ++next;
  return {p, end, next};
}

}  // namespace

ReadValue ReadToken() {
  if (ResPos >= ResSize) return {};
  detail::CheckCursorInside("ReadToken");
  const std::uint8_t* data = ResData.data();
  const Token token = data[ResPos] == kQuote ? ScanQuoted(data, ResPos) : ScanUnquoted(data, ResPos);
  std::u16string text = bx::Cp932ToUtf16(
      std::span(data + token.begin, static_cast<std::size_t>(token.end - token.begin)));
  ResPos = token.next;
  return ReadValue(std::move(text));
}

}  // namespace BxRes

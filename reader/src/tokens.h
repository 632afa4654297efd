// How text splits into tokens: the separators, the quotes, and the scans that find where a
// token ends and where the next begins. ResourceStream::ReadToken (resource_stream.cpp) is built
// on these.
//
// Every byte that ends a token or follows one (quote, comma, blank, CR, LF, tab) is below 0x40,
// and no trail byte of a double-byte character in code page 932 is, so a separator can never be
// half of a character: a short token is found and converted in one pass, a long one is found by
// looking at bytes alone and then converted as a block.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstddef>
#include <cstring>

#include "cp932.h"
#include "utf8.h"

namespace bx::tokens {

inline constexpr std::uint8_t kQuote = 0x22;
inline constexpr std::uint8_t kComma = 0x2C;
inline constexpr std::uint8_t kBlank = 0x20;
inline constexpr std::uint8_t kCr = 0x0D;
inline constexpr std::uint8_t kLf = 0x0A;
inline constexpr std::uint8_t kTab = 0x09;

// The bytes that end an unquoted token: the separators. A line feed is one of them only where
// the stream says so (LineFeeds::kSeparate).
constexpr std::array<bool, 256> EndsUnquoted(bool line_feed_separates) {
  std::array<bool, 256> table{};
  for (std::uint8_t b : {kComma, kBlank, kCr, kTab}) table[b] = true;
  table[kLf] = line_feed_separates;
  return table;
}
inline constexpr std::array<bool, 256> kEndsUnquoted = EndsUnquoted(false);
inline constexpr std::array<bool, 256> kEndsUnquotedAtLf = EndsUnquoted(true);

inline constexpr std::array<bool, 256> kEndsQuoted = [] {
  std::array<bool, 256> table{};
  table[kQuote] = true;
  return table;
}();

// Where the cursor goes after an unquoted token that ends at `end`: past the separator there,
// and a line feed right after it. Where line feeds separate, a line feed is skipped only after
// a carriage return, so that LF text splits exactly as the same text with CR LF does.
inline std::int32_t AfterSeparator(const std::uint8_t* data, std::int32_t end, std::int32_t size,
                                   bool line_feed_separates) {
  if (end == size) return size;
  std::int32_t next = end + 1;
  if (next < size && data[next] == kLf && (!line_feed_separates || data[end] == kCr)) ++next;
  return next;
}

// Where the cursor goes after a quoted token whose closing quote is at `end` (or that runs to
// the end of the data): past the quote, and then past one comma or blank, or a carriage return
// with a line feed that follows it, or (where line feeds separate) a line feed. None of these
// positions can leave the signed 32-bit range: each is at most `size`.
inline std::int32_t AfterQuote(const std::uint8_t* data, std::int32_t end, std::int32_t size,
                               bool line_feed_separates) {
  if (end == size) return size;
  std::int32_t next = end + 1;
  if (next < size) {
    const std::uint8_t after = data[next];
    if (after == kComma || after == kBlank || (after == kLf && line_feed_separates)) {
      ++next;
    } else if (after == kCr) {
      ++next;
      // Only a line feed goes with the carriage return; any other byte opens the next token.
      if (next < size && data[next] == kLf) ++next;
    }
  }
  return next;
}

// The first byte at or after p that ends an unquoted token, or `size`. Eight bytes at a time:
// every separator is below 0x2D, as almost no byte of text is, so a word with no byte below
// 0x2D is passed over whole.
inline std::int32_t FindUnquotedEnd(const std::uint8_t* data, std::int32_t p, std::int32_t size,
                                    const std::array<bool, 256>& ends) {
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
    if (ends[data[at]]) return at;
    i = at + 1;
  }
  while (i < size && !ends[data[i]]) ++i;
  return i;
}

inline std::int32_t FindQuotedEnd(const std::uint8_t* data, std::int32_t p, std::int32_t size) {
  const void* close = std::memchr(data + p, kQuote, static_cast<std::size_t>(size - p));
  return close == nullptr
             ? size
             : static_cast<std::int32_t>(static_cast<const std::uint8_t*>(close) - data);
}

// Tokens up to this many bytes are found and converted in one pass; the rest of a longer one
// is found first and then converted as a block.
inline constexpr std::int32_t kShortToken = 128;

struct ShortToken {
  // Where the token's bytes end (an ending byte, or the end of the data); or, when it is not
  // whole, where the next character starts: the characters before it are converted.
  std::int32_t end;
  std::size_t units;  // code units written
  bool whole;         // false: the token is longer than kShortToken bytes
};

// What a byte at a character's start is, for each kind of token: the table is the only load the
// short-token pass makes per byte before it knows where the next character starts.
enum ByteClass : std::uint8_t { kSingle, kLead, kEnd };

constexpr std::array<ByteClass, 256> ClassesEndingAt(const std::array<bool, 256>& ends) {
  std::array<ByteClass, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    table[b] = ends[b] ? kEnd : cp932::IsLead(static_cast<std::uint8_t>(b)) ? kLead : kSingle;
  }
  return table;
}
inline constexpr std::array<ByteClass, 256> kUnquotedClasses = ClassesEndingAt(kEndsUnquoted);
inline constexpr std::array<ByteClass, 256> kUnquotedClassesAtLf =
    ClassesEndingAt(kEndsUnquotedAtLf);
inline constexpr std::array<ByteClass, 256> kQuotedClasses = ClassesEndingAt(kEndsQuoted);

// The tables of one rule for line feeds.
struct Rules {
  const std::array<bool, 256>& ends_unquoted;
  const std::array<ByteClass, 256>& unquoted_classes;
  bool line_feed_separates;
};
inline constexpr Rules kLineFeedsFollow{kEndsUnquoted, kUnquotedClasses, false};
inline constexpr Rules kLineFeedsSeparate{kEndsUnquotedAtLf, kUnquotedClassesAtLf, true};

// A character written as UTF-16 (one unit) or as UTF-8 (one to three bytes: every character
// of code page 932 is in the Basic Multilingual Plane, and none is a surrogate).
inline void Put(char16_t c, char16_t*& o) noexcept { *o++ = c; }
inline void Put(char16_t c, char*& o) noexcept { o = utf8::Encode(c, o); }

// The most code units that one byte of code page 932 can become.
template <class Unit>
inline constexpr std::size_t kUnitsPerByte = sizeof(Unit) == 1 ? 3 : 1;

// Finds the end of the token that starts at `begin` and converts it in the same pass, one
// character at a time: every byte that can end a token is below 0x40, as no trail byte is, so
// a byte that starts a character is the only place a token can end. `out` has room for
// kShortToken * kUnitsPerByte<Unit> units. kFarFromEnd: the data goes on for more than
// kShortToken + 1 bytes after `begin`, so that the byte after any character's first one can be
// read without a test.
//
// Always inline: with one instantiation per form of ReadToken, the compiler would otherwise
// call it, and the call costs more than a short token's scan.
template <bool kFarFromEnd, class Unit>
[[gnu::always_inline]] inline ShortToken ScanAndConvert(const std::uint8_t* data,
                                                        std::int32_t begin, std::int32_t size,
                                                        const std::array<ByteClass, 256>& classes,
                                                        Unit* out) {
  const std::uint8_t* p = data + begin;
  const std::uint8_t* const data_end = data + size;
  const std::uint8_t* const limit =
      kFarFromEnd || size - begin > kShortToken ? p + kShortToken : data_end;
  Unit* o = out;
  while (p < limit) {
    const std::uint8_t b = p[0];
    // Branches on the kind of byte, not arithmetic: within a word they are predicted, so the
    // next character's start is known before this one's bytes have been loaded.
    const ByteClass kind = classes[b];
    if (kind == kSingle) {
      Put(cp932::DecodeSingle(b), o);
      p += 1;
    } else if (kind == kLead) {
      const cp932::Char c = cp932::DecodeLead(b, kFarFromEnd || p + 1 < data_end ? p[1] : 0);
      Put(c.unit, o);
      p += c.size;
    } else {
      return {static_cast<std::int32_t>(p - data), static_cast<std::size_t>(o - out), true};
    }
  }
  const bool whole = p >= data_end;
  return {whole ? size : static_cast<std::int32_t>(p - data), static_cast<std::size_t>(o - out),
          whole};
}

}  // namespace bx::tokens

// The C++ face: Read<T> and TryRead<T> for the caller's own types, Skip, the byte views,
// ReadBlock into spans, tokens into the caller's strings (UTF-16 and UTF-8) and as a range, the
// rule for line feeds, and opening without an exception.
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using bx::ReadValue;
using bx::ResourceStream;
using CppFaceTest = FreshReaderTest;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

enum class Kind : std::uint16_t { kSword = 0x0102 };

struct Header {
  std::uint32_t magic;
  std::int16_t x, y;
};

TEST(CppFace, ReadsEveryTypeLittleEndianAndMovesPastIt) {
  const std::vector<std::uint8_t> bytes = {
      0x01, 0x80,                                      // std::uint16_t 0x8001, std::int16_t -32767
      0xFF,                                            // std::int8_t -1
      0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01,  // std::uint64_t
      0x00, 0x00, 0x80, 0xBF,                          // float -1
      0x02, 0x01,                                      // Kind::kSword
      0x42, 0x58, 0x52, 0x53, 0x10, 0x00, 0xF0, 0xFF,  // Header
      0x01, 0x02, 0x03};                               // std::array<std::uint8_t, 3>
  ResourceStream s(bytes);
  EXPECT_EQ(s.Read<std::uint16_t>(), 0x8001);
  s = ResourceStream(bytes);
  EXPECT_EQ(s.Read<std::int16_t>(), -32767);
  EXPECT_EQ(s.Read<std::int8_t>(), -1);
  EXPECT_EQ(s.Read<std::uint64_t>(), 0x0123456789ABCDEFull);
  EXPECT_EQ(s.Read<float>(), -1.0f);
  EXPECT_EQ(s.Read<Kind>(), Kind::kSword);
  const auto header = s.Read<Header>();
  EXPECT_EQ(header.magic, 0x53525842u);
  EXPECT_EQ(header.x, 16);
  EXPECT_EQ(header.y, -16);
  EXPECT_EQ((s.Read<std::array<std::uint8_t, 3>>()), (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(s.Position(), s.Size());

  ResourceStream wide(bytes);
  wide.Skip(3);
  EXPECT_EQ(wide.Read<std::int64_t>(), 0x0123456789ABCDEF);
  EXPECT_EQ(ResourceStream(bytes).Read<std::uint32_t>(), 0xEFFF8001u);
}

TEST_F(CppFaceTest, ReadingPastTheEndNamesTheResourceAndMovesNothing) {
  BxRes::Load(101, "CUSTOM");
  BxRes::Skip(26);
  try {
    BxRes::Read<std::int32_t>();
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: Read at offset 26 of resource 101 of type \"CUSTOM\": "
                 "4 bytes wanted, 2 left");
  }
  EXPECT_EQ(BxRes::Position(), 26);
  EXPECT_EQ(BxRes::TryRead<std::int32_t>(), std::nullopt);
  EXPECT_EQ(BxRes::Position(), 26);
  EXPECT_EQ(BxRes::TryRead<std::uint16_t>(), 0);  // the last two bytes
  EXPECT_EQ(BxRes::Position(), 28);
  EXPECT_EQ(BxRes::TryRead<std::uint8_t>(), std::nullopt);
  EXPECT_THROW(ResourceStream().Read<std::uint8_t>(), bx::BoundsError);
}

TEST(CppFace, SkipMovesForwardOrRaisesWithTheCursorUnmoved) {
  const auto bytes = Bytes("abcdef");
  ResourceStream s(bytes);
  s.Skip(2);
  EXPECT_EQ(s.Read<char>(), 'c');
  EXPECT_THROW(s.Skip(-1), bx::BoundsError);
  try {
    s.Skip(4);
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: Skip at offset 3 of the 6 bytes given to the stream: 4 "
                 "bytes wanted, 3 left");
  }
  EXPECT_EQ(s.Position(), 3);
  s.Skip(3);
  s.Skip(0);  // at the end, nothing to skip: not an error
  EXPECT_EQ(s.Position(), 6);
}

TEST(CppFace, BytesAndRemainingViewTheDataItself) {
  const auto bytes = Bytes("abcdef");
  ResourceStream s(bytes);
  s.Skip(4);
  EXPECT_EQ(s.Bytes().data(), bytes.data());
  EXPECT_EQ(s.Bytes().size(), 6u);
  EXPECT_EQ(s.Remaining().data(), bytes.data() + 4);
  EXPECT_EQ(s.Remaining().size(), 2u);
  s.Skip(2);
  EXPECT_TRUE(s.Remaining().empty());
  EXPECT_TRUE(ResourceStream().Bytes().empty());
}

TEST_F(CppFaceTest, ReadBlockFillsTheElementsOfASpan) {
  BxRes::Load(101, "CUSTOM");
  BxRes::Skip(19);
  std::vector<std::int32_t> point(2);
  EXPECT_EQ(BxRes::ReadBlock(std::span(point)), 8);
  EXPECT_EQ(point, (std::vector<std::int32_t>{16, 257}));
  std::array<std::uint8_t, 4> more = {0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(BxRes::ReadBlock(std::span(more)), 1);  // cut to what remains, as ReadBlock cuts
  EXPECT_EQ(more, (std::array<std::uint8_t, 4>{0x00, 0xEE, 0xEE, 0xEE}));
}

TEST_F(CppFaceTest, TokensIntoTheCallersStringsAreThoseOfReadToken) {
  BxRes::Load(102, "CUSTOM");
  std::vector<std::u16string> expected;
  for (ReadValue t = BxRes::ReadToken(); !t.IsEmpty(); t = BxRes::ReadToken())
    expected.push_back(t.String());
  ASSERT_EQ(expected.size(), 8u);

  BxRes::Load(102, "CUSTOM");
  std::u16string utf16 = u"kept at the end";
  std::string utf8 = "kept at the end";
  for (const std::u16string& want : expected) {
    const std::int32_t at = BxRes::Position();
    ASSERT_TRUE(BxRes::ReadToken(utf16));
    EXPECT_EQ(utf16, want);
    const std::int32_t after = BxRes::Position();
    BxRes::detail::TheStream() = ResourceStream(102, "CUSTOM");
    BxRes::Skip(at);
    ASSERT_TRUE(BxRes::ReadToken(utf8));
    EXPECT_EQ(utf8, bx::ToUtf8(want));
    EXPECT_EQ(BxRes::Position(), after);
  }
  utf16 = u"kept";
  utf8 = "kept";
  EXPECT_FALSE(BxRes::ReadToken(utf16));
  EXPECT_FALSE(BxRes::ReadToken(utf8));
  EXPECT_EQ(utf16, u"kept");
  EXPECT_EQ(utf8, "kept");
  EXPECT_EQ(BxRes::Position(), BxRes::Size());
}

// Random text of code page 932 bytes, separators, quotes and bad sequences, with tokens short
// and long: the three forms of ReadToken agree token for token, bad input included.
TEST(CppFace, TheThreeFormsOfReadTokenAgreeOnAnyBytes) {
  std::mt19937 random(932);
  const std::uint8_t pieces[] = {',',  ' ',  '\r', '\n', '\t', '"',  'a',  0x82, 0xA0, 0x81,
                                 0x40, 0xFD, 0x80, 0xA5, 0xE0, 0x7F, 0x00, 0xEF, 0x9F};
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes(random() % 600);
    const bool long_runs = round % 2 == 0;  // few separators: tokens past 128 bytes
    for (auto& b : bytes) {
      b = long_runs && random() % 50 != 0 ? static_cast<std::uint8_t>(0x81 + random() % 30)
                                          : pieces[random() % std::size(pieces)];
    }
    for (const auto rule : {bx::LineFeeds::kFollowSeparators, bx::LineFeeds::kSeparate}) {
      ResourceStream values(bytes), utf16s(bytes), utf8s(bytes);
      for (auto* s : {&values, &utf16s, &utf8s}) s->SetLineFeeds(rule);
      std::u16string utf16;
      std::string utf8;
      for (ReadValue v = values.ReadToken(); !v.IsEmpty(); v = values.ReadToken()) {
        ASSERT_TRUE(utf16s.ReadToken(utf16));
        ASSERT_TRUE(utf8s.ReadToken(utf8));
        ASSERT_EQ(utf16, v.String()) << "round " << round;
        ASSERT_EQ(utf8, bx::ToUtf8(v.String())) << "round " << round;
        ASSERT_EQ(utf16s.Position(), values.Position());
        ASSERT_EQ(utf8s.Position(), values.Position());
      }
      EXPECT_FALSE(utf16s.ReadToken(utf16));
      EXPECT_FALSE(utf8s.ReadToken(utf8));
    }
  }
}

TEST(CppFace, ATokenReadIntoAStringReusesItsStorage) {
  const auto bytes = Bytes(std::string(300, 'x') + " short");
  ResourceStream s(bytes);
  std::string token;
  ASSERT_TRUE(s.ReadToken(token));
  EXPECT_EQ(token.size(), 300u);
  const char* storage = token.data();
  ASSERT_TRUE(s.ReadToken(token));
  EXPECT_EQ(token, "short");
  EXPECT_EQ(token.data(), storage);
}

TEST_F(CppFaceTest, TokensFormARangeForALoop) {
  BxRes::Load(102, "CUSTOM");
  std::vector<std::string> words;
  for (const std::string& word : BxRes::Tokens<std::string>()) words.push_back(word);
  ASSERT_EQ(words.size(), 8u);
  EXPECT_EQ(words.front(), "サンプルデータ");
  std::size_t n = 0;
  for (const std::u16string& word : BxRes::Tokens()) n += 1 + word.size();
  EXPECT_EQ(n, 0u);  // a range reads from the cursor on, and the loop above took them all
  ResourceStream s(102, "CUSTOM");
  s.Skip(31);  // past the first two
  std::vector<std::u16string> rest;
  for (const std::u16string& word : s.Tokens()) rest.push_back(word);
  ASSERT_EQ(rest.size(), 6u);
  EXPECT_EQ(rest.back(), std::u16string(u"タブです。\0", 6));  // the resource ends in a 0
}

TEST(CppFace, WhereLineFeedsSeparateLfTextSplitsAsCrLfTextDoes) {
  struct Case {
    std::string_view text;
    std::vector<std::string> by_default;  // what the design's rule gives
  };
  const Case cases[] = {
      {"ブリザド\n商人", {"ブリザド\n商人"}},
      {"ブリザド\r\n商人", {"ブリザド", "商人"}},
      {"\"quoted token\"\nnext", {"quoted token", "\nnext"}},
      {"\"quoted token\"\r\nnext", {"quoted token", "next"}},
      {"a\n\nb", {"a\n\nb"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a,\nb\n", {"a", "b\n"}},
      {"a,\r\nb\r\n", {"a", "", "b"}},
  };
  auto tokens = [](std::string_view text, bx::LineFeeds rule) {
    // The Japanese words as code page 932: ブリザド and 商人.
    std::string s(text);
    for (auto [utf8, sjis] :
         {std::pair<std::string, std::string>{"ブリザド", "\x83\x75\x83\x8A\x83\x55\x83\x68"},
          std::pair<std::string, std::string>{"商人", "\x8F\xA4\x90\x6C"}}) {
      for (std::size_t at = s.find(utf8); at != std::string::npos; at = s.find(utf8))
        s.replace(at, utf8.size(), sjis);
    }
    const std::vector<std::uint8_t> bytes(s.begin(), s.end());
    ResourceStream stream(bytes);
    stream.SetLineFeeds(rule);
    std::vector<std::string> out;
    for (const std::string& t : stream.Tokens<std::string>()) out.push_back(t);
    return out;
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tokens(c.text, bx::LineFeeds::kFollowSeparators), c.by_default) << c.text;
  }
  // With line feeds separating, LF text and CR LF text give the same tokens.
  for (std::size_t i = 0; i < std::size(cases); i += 2) {
    EXPECT_EQ(tokens(cases[i].text, bx::LineFeeds::kSeparate), cases[i + 1].by_default)
        << cases[i].text;
    EXPECT_EQ(tokens(cases[i + 1].text, bx::LineFeeds::kSeparate), cases[i + 1].by_default)
        << cases[i + 1].text;
  }
}

TEST_F(CppFaceTest, OpenGivesNothingForAResourceThatIsNotThere) {
  EXPECT_FALSE(ResourceStream::Open(999, "CUSTOM").has_value());
  EXPECT_FALSE(ResourceStream::Open(101, "NOTHING").has_value());
  auto record = ResourceStream::Open(101, "CUSTOM");
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->Read<std::uint8_t>(), 1);
  EXPECT_THROW(ResourceStream::Open(0, "CUSTOM"), bx::ConversionError);  // not a missing one
}

}  // namespace

// BxRes::ReadToken: separators, quotes, line ends, empty tokens and the sample text.
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "stream_state.h"
#include "test_support.h"

namespace {

using ReadTokenTest = FreshReaderTest;

// Every token of the loaded data with the cursor after it; then checks that the end gives the
// Empty value and leaves the cursor at the end of the data.
std::vector<std::pair<std::u16string, std::int32_t>> AllTokens() {
  std::vector<std::pair<std::u16string, std::int32_t>> tokens;
  for (;;) {
    const BxRes::ReadValue token = BxRes::ReadToken();
    if (token.IsEmpty()) break;
    tokens.emplace_back(token.String(), ResPos());
    if (tokens.size() > 100) break;  // a cursor that stopped moving
  }
  EXPECT_EQ(ResPos(), ResSize());
  EXPECT_TRUE(BxRes::ReadToken().IsEmpty());
  EXPECT_EQ(ResPos(), ResSize());
  return tokens;
}

struct TokenCase {
  std::string data;
  std::vector<std::pair<std::u16string, std::int32_t>> tokens;  // each with the cursor after it
};

std::string Bytes(const char* s, std::size_t n) { return std::string(s, n); }

void ExpectTokens(const TokenCase& c) {
  SCOPED_TRACE(testing::PrintToString(c.data));
  ScopedResource fixture(1, u"TOKENS", {c.data.begin(), c.data.end()});
  BxRes::Load(std::int16_t{1}, u"TOKENS");
  EXPECT_EQ(AllTokens(), c.tokens);
}

TEST_F(ReadTokenTest, SplitsOnSeparatorsAndQuotes) {
  const TokenCase cases[] = {
      {"ab,cd", {{u"ab", 3}, {u"cd", 5}}},
      {"ab\r\ncd", {{u"ab", 4}, {u"cd", 6}}},
      {"ab\rcd", {{u"ab", 3}, {u"cd", 5}}},
      {"ab\tcd ef", {{u"ab", 3}, {u"cd", 6}, {u"ef", 8}}},
      {"ab\ncd", {{u"ab\ncd", 5}}},  // a line feed alone separates nothing
      {"ab,\ncd", {{u"ab", 4}, {u"cd", 6}}},
      {"\"a b\",cd", {{u"a b", 6}, {u"cd", 8}}},
      {"\"a b\"\r\ncd", {{u"a b", 7}, {u"cd", 9}}},
      {"\"ab\"\rcd", {{u"ab", 5}, {u"cd", 7}}},  // a bare CR takes no byte of the next token
      {"\"ab\"cd", {{u"ab", 4}, {u"cd", 6}}},
      {"\"ab\"\ncd", {{u"ab", 4}, {u"\ncd", 7}}},  // no LF is skipped after a quote
      {"\"a\tb\"", {{u"a\tb", 5}}},
      {"\"a\"\"b\"", {{u"a", 3}, {u"b", 6}}},
      {"a\"b,c", {{u"a\"b", 4}, {u"c", 5}}},
      {"\"ab", {{u"ab", 3}}},
      {"ab,", {{u"ab", 3}}},
      {"\"ab\"", {{u"ab", 4}}},
      {"\"ab\"\r", {{u"ab", 5}}},
      {"\"ab\" ", {{u"ab", 5}}},
      {Bytes("ab\0", 3), {{std::u16string(u"ab\0", 3), 3}}},
      {"\"a,b\r\nc\"", {{u"a,b\r\nc", 8}}},
  };
  for (const TokenCase& c : cases) ExpectTokens(c);
}

TEST_F(ReadTokenTest, EmptyTokensAreEmptyStringsAndTheCursorMovesPastThem) {
  const TokenCase cases[] = {
      {"ab, cd", {{u"ab", 3}, {u"", 4}, {u"cd", 6}}},
      {"ab\r\n\r\ncd", {{u"ab", 4}, {u"", 6}, {u"cd", 8}}},
      {",ab", {{u"", 1}, {u"ab", 3}}},
      {"\t", {{u"", 1}}},
      {"\"ab\"\tcd", {{u"ab", 4}, {u"", 5}, {u"cd", 7}}},  // the tab is not skipped after a quote
      {"\"\"", {{u"", 2}}},
      {"\"\",x", {{u"", 3}, {u"x", 4}}},
      {"ab \"", {{u"ab", 3}, {u"", 4}}},  // an opening quote as the last byte
  };
  for (const TokenCase& c : cases) ExpectTokens(c);
}

TEST_F(ReadTokenTest, YieldsTheEightTokensOfTheSampleText) {
  BxRes::Load(std::int16_t{102}, u"CUSTOM");
  const std::vector<std::pair<std::u16string, std::int32_t>> expected = {
      {u"サンプルデータ", 15},
      {u"作者はＱＵＯＸ", 31},
      {u"スペースを入れるなら ダブルクォーテーションで囲んでね", 88},
      {u"区切りは", 97},
      {u"スペースか", 108},
      {u"コンマか", 118},
      {u"改行か", 125},
      {std::u16string(u"タブです。\0", 6), 136},
  };
  EXPECT_EQ(AllTokens(), expected);
}

TEST_F(ReadTokenTest, ReadsAFixtureBuiltIntoTheExecutable) {
  BxRes::Load(u"TOKENS", u"TEXT");
  const std::vector<std::pair<std::u16string, std::int32_t>> expected = {
      {u"名前", 5}, {u"山田 太郎", 18}, {u"年齢", 23},
      {u"30", 26},  {u"備考", 31},      {u"引用符の閉じ忘れ, 最後まで", 58},
  };
  EXPECT_EQ(AllTokens(), expected);
}

TEST_F(ReadTokenTest, IsEmptyBeforeAnyLoadAndOnAnEmptyResource) {
  EXPECT_TRUE(BxRes::ReadToken().IsEmpty());
  EXPECT_EQ(ResPos(), 0);
  ScopedResource empty(1, u"TOKENS", {});
  BxRes::Load(std::int16_t{1}, u"TOKENS");
  EXPECT_TRUE(BxRes::ReadToken().IsEmpty());
  EXPECT_EQ(ResPos(), 0);
}

// Short tokens are found and converted in one pass, long ones in two; both must convert every
// token as the conversion of its bytes alone would, at every length around the point where they
// part, whatever the token's last byte is and whatever follows it.
TEST_F(ReadTokenTest, ConvertsEveryLengthOfTokenAsItsBytesAlone) {
  // Bodies made of a repeated unit, cut to a length, then given a last byte.
  const std::string units[] = {"a", "\x82\xA0", "a\x88\x9F", "\xEB\x40"};  // an unassigned pair
  const std::string lasts[] = {"", "b", "\x82", "\xFD"};  // \x82 is a lead byte left alone
  const std::string afters[] = {"", ",x", "\r\nx", ",x\x82\xA0 yz\r\n" + std::string(160, 'p')};
  for (const bool quoted : {false, true}) {
    for (std::size_t length = 0; length <= 140; ++length) {
      for (const std::string& unit : units) {
        for (const std::string& last : lasts) {
          // At the end of the data, near it, and far from it.
          for (const std::string& after : afters) {
            std::string body;
            while (body.size() < length) body += unit;
            body.resize(length);
            body += last;
            const std::string data = (quoted ? "\"" + body + "\"" : body) + after;
            if (data.empty()) continue;  // no token at all
            SCOPED_TRACE(testing::PrintToString(data));
            ScopedResource fixture(1, u"TOKENS", {data.begin(), data.end()});
            BxRes::Load(std::int16_t{1}, u"TOKENS");
            const BxRes::ReadValue token = BxRes::ReadToken();
            ASSERT_FALSE(token.IsEmpty());
            const std::u16string expected =
                bx::Cp932ToUtf16({reinterpret_cast<const std::uint8_t*>(body.data()), body.size()});
            ASSERT_EQ(token.String(), expected);
            const char first = after.empty() ? '\0' : after.front();
            const std::size_t after_token = data.size() - after.size() +
                                            (first == ','    ? 1
                                             : first == '\r' ? 2
                                                             : 0);
            ASSERT_EQ(ResPos(), static_cast<std::int32_t>(after_token));
          }
        }
      }
    }
  }
}

TEST_F(ReadTokenTest, MixesWithTheOtherReadersOnOneCursor) {
  ScopedResource fixture(1, u"MIXED", {'a', 'b', ',', 0x34, 0x12, 'c', 'd'});
  BxRes::Load(std::int16_t{1}, u"MIXED");
  EXPECT_EQ(BxRes::ReadToken(), BxRes::ReadValue(u"ab"));
  EXPECT_EQ(BxRes::ReadInteger(), BxRes::ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(BxRes::ReadToken(), BxRes::ReadValue(u"cd"));
}

}  // namespace

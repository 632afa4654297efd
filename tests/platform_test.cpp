// The platform layer: tagged values, the resource loader, code page 932 and value text.
#include <bxres/errors.h>
#include <bxres/value_text.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <utility>

#include "cp932_reference.h"
#include "platform.h"
#include "test_support.h"

namespace {

using bx::ReadValue;

std::vector<std::uint8_t> FileBytes(const char* name) {
  std::ifstream in(std::string(BX_SAMPLE_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> LoadedBytes(const ReadValue& id, const ReadValue& type) {
  const auto bytes = bx::LoadResourceData(id, type);
  return {bytes.begin(), bytes.end()};
}

// --- ReadValue ---------------------------------------------------------------------------

TEST(ReadValue, CarriesTheKindCodesOfThePlatform) {
  EXPECT_EQ(ReadValue().Kind(), 0);
  EXPECT_EQ(ReadValue(std::int16_t{1}).Kind(), 2);
  EXPECT_EQ(ReadValue(std::int32_t{1}).Kind(), 3);
  EXPECT_EQ(ReadValue(1.0f).Kind(), 4);
  EXPECT_EQ(ReadValue(1.0).Kind(), 5);
  EXPECT_EQ(ReadValue(u"a").Kind(), 8);
  EXPECT_EQ(ReadValue(std::uint8_t{1}).Kind(), 17);
  EXPECT_EQ(ReadValue(bx::ByteArray()).Kind(), 0x2011);
}

TEST(ReadValue, AskingForAnotherKindRaisesTheConversionError) {
  EXPECT_THROW(ReadValue(std::int16_t{1}).Long(), bx::ConversionError);
  EXPECT_THROW(ReadValue().String(), bx::ConversionError);
  EXPECT_THROW(ReadValue(u"1").Bytes(), bx::ConversionError);
}

TEST(ReadValue, ComparesFloatsByTheirBits) {
  const float nan = std::bit_cast<float>(0x7FA00001u);
  EXPECT_EQ(ReadValue(nan), ReadValue(nan));
  EXPECT_NE(ReadValue(0.0), ReadValue(-0.0));
  EXPECT_NE(ReadValue(std::int16_t{1}), ReadValue(std::int32_t{1}));
}

TEST(ReadValue, CopiesOfAByteArrayShareItsBytes) {
  const std::uint8_t bytes[] = {1, 2, 3};
  const ReadValue copied = [&] { return ReadValue(bx::ByteArray::Copy(bytes)); }();
  const ReadValue again = copied;
  EXPECT_EQ(copied.Bytes().data(), again.Bytes().data());
  EXPECT_EQ(copied.Bytes().UBound(), 2);
  EXPECT_EQ(bx::ByteArray().UBound(), -1);
}

// One value of every kind, the owning ones both short and long enough to allocate.
std::vector<ReadValue> OneOfEachKind() {
  static const std::uint8_t bytes[] = {1, 2, 3};
  return {ReadValue(),
          ReadValue(std::uint8_t{200}),
          ReadValue(std::int16_t{-2}),
          ReadValue(std::int32_t{-70000}),
          ReadValue(std::bit_cast<float>(0x7FA00001u)),
          ReadValue(-0.0),
          ReadValue(u"ab"),
          ReadValue(u"a String long enough to live on the heap"),
          ReadValue(bx::ByteArray::Copy(bytes)),
          ReadValue(bx::ByteArray::View(bytes))};
}

// Every kind copied and moved over every kind, which takes each of the paths between the kinds
// that own storage and those that do not; the sanitized build checks that nothing leaks or is
// freed twice.
TEST(ReadValue, CopiesAndMovesBetweenAnyTwoKinds) {
  const std::vector<ReadValue> kinds = OneOfEachKind();
  for (const ReadValue& from : kinds) {
    for (const ReadValue& to : kinds) {
      SCOPED_TRACE(bx::Describe(to) + " <- " + bx::Describe(from));
      ReadValue copied = to;
      copied = from;
      EXPECT_EQ(copied, from);
      ReadValue moved = to;
      ReadValue source = from;
      moved = std::move(source);
      EXPECT_EQ(moved, from);
      EXPECT_TRUE(source.IsEmpty());
      source = to;  // a moved-from value can be assigned again
      EXPECT_EQ(source, to);
    }
    ReadValue constructed(from);
    ReadValue moved(std::move(constructed));
    EXPECT_EQ(moved, from);
    const ReadValue& self = moved;
    moved = self;
    EXPECT_EQ(moved, from);
  }
}

std::size_t Fill(char16_t* out, std::size_t n) {
  std::fill_n(out, n, u'x');
  return n;
}

// A loop of Strings reuses the storage of one released before, and only that: a String that is
// still held is never handed out again, and a large one is not kept.
TEST(ReadValue, AStringTakesTheStorageOfTheLastOneReleasedAndNoOther) {
  auto make = [](std::size_t n) {
    return ReadValue::StringOf(n, [n](char16_t* out) { return Fill(out, n); });
  };
  const char16_t* released = nullptr;
  {
    const ReadValue first = make(100);
    released = first.String().data();
  }
  const ReadValue held = make(60);
  EXPECT_EQ(held.String().data(), released);
  EXPECT_EQ(held.String(), std::u16string(60, u'x'));
  const ReadValue next = make(60);
  EXPECT_NE(next.String().data(), released);

  const std::size_t large = ReadValue::kSpareUnits + 1;
  { const ReadValue big = make(large); }
  EXPECT_LT(make(large - 1).String().capacity(), large);  // made new, not from the large one
}

// --- The resource loader -----------------------------------------------------------------

TEST(LoadResourceData, ReturnsTheSampleResourcesByteForByte) {
  EXPECT_EQ(LoadedBytes(std::int16_t{101}, u"CUSTOM"), FileBytes("101.bin"));
  EXPECT_EQ(LoadedBytes(std::int16_t{102}, u"CUSTOM"), FileBytes("102.txt"));
  EXPECT_EQ(FileBytes("101.bin").size(), 28u);
  EXPECT_EQ(FileBytes("102.txt").size(), 136u);
}

TEST(LoadResourceData, ViewsTheImageInsteadOfCopying) {
  const auto a = bx::LoadResourceData(std::int16_t{102}, u"CUSTOM");
  const auto b = bx::LoadResourceData(std::int16_t{102}, u"CUSTOM");
  EXPECT_EQ(a.data(), b.data());
}

TEST(LoadResourceData, FindsByIdentifierAndTypeWhateverTheirForm) {
  const auto expected = FileBytes("101.bin");
  EXPECT_EQ(LoadedBytes(std::int32_t{101}, u"CUSTOM"), expected);
  EXPECT_EQ(LoadedBytes(std::uint8_t{101}, u"CUSTOM"), expected);
  EXPECT_EQ(LoadedBytes(u"#101", u"custom"), expected);
  EXPECT_EQ(LoadedBytes(std::int16_t{101}, u"Custom"), expected);
}

TEST(LoadResourceData, FindsResourcesThatALinkedLibraryDeclares) {
  const std::string text = "from a library";
  EXPECT_EQ(LoadedBytes(u"library", u"FIXTURE"),
            std::vector<std::uint8_t>(text.begin(), text.end()));
  EXPECT_EQ(LoadedBytes(std::int16_t{1}, u"OnlyResources"),  // a library with no sources
            std::vector<std::uint8_t>(text.begin(), text.end()));
}

// The build declares these (tests/CMakeLists.txt): words of the resource-script language, as
// identifiers of type TEXT and as types of identifier 1.
TEST(LoadResourceData, FindsNamesThatAreKeywordsOfResourceScripts) {
  const std::string text = "from a library";
  const std::vector<std::uint8_t> expected(text.begin(), text.end());
  const auto each = [](std::string list, auto check) {
    for (std::size_t at = 0; at < list.size();) {
      const std::size_t end = std::min(list.find(',', at), list.size());
      check(list.substr(at, end - at));
      at = end + 1;
    }
  };
  each(BX_KEYWORD_IDS, [&](const std::string& id) {
    EXPECT_EQ(LoadedBytes(bx::FromUtf8(id), u"TEXT"), expected) << id;
  });
  each(BX_KEYWORD_TYPES, [&](const std::string& type) {
    EXPECT_EQ(LoadedBytes(std::int16_t{1}, bx::FromUtf8(type)), expected) << type;
  });
}

TEST(LoadResourceData, TakesTheLowestLanguageCodeWhateverTheOrderOfDeclaration) {
  for (const bool english_first : {true, false}) {
    std::optional<ScopedResource> english, japanese;
    if (english_first) english.emplace(7, u"LANG", std::vector<std::uint8_t>{2}, 1033);
    japanese.emplace(7, u"LANG", std::vector<std::uint8_t>{1}, 1041);
    if (!english_first) english.emplace(7, u"LANG", std::vector<std::uint8_t>{2}, 1033);
    EXPECT_EQ(LoadedBytes(std::int16_t{7}, u"LANG"), std::vector<std::uint8_t>{2}) << english_first;
  }
}

TEST(LoadResourceData, NamesTheMissingResource) {
  try {
    bx::LoadResourceData(std::int16_t{999}, u"CUSTOM");
    FAIL() << "no error";
  } catch (const bx::ResourceNotFoundError& e) {
    EXPECT_STREQ(
        e.what(),
        "Resource not found: resource 999 of type \"CUSTOM\" is not embedded in this program");
  }
  EXPECT_THROW(bx::LoadResourceData(std::int16_t{101}, u"CUSTOMS"), bx::ResourceNotFoundError);
  EXPECT_THROW(bx::LoadResourceData(u"101", u"CUSTOM"), bx::ResourceNotFoundError);
}

TEST(LoadResourceData, AnEmptyNameNamesNothingNotANumberedResource) {
  // Numbered resources, embedded by the build and registered at run time, under both roles.
  static const char16_t kNamed[] = u"NAMED";
  bx::EmbeddedResource numbered_type{{1, kNamed}, {300, nullptr}, 0, nullptr, nullptr};
  bx::RegisterResource(numbered_type);
  const ScopedResource numbered_id(7, u"EMPTYNAME", {1});
  for (const auto& [id, type] : std::vector<std::pair<ReadValue, ReadValue>>{
           {u"", u"CUSTOM"}, {u"", u"EMPTYNAME"}, {u"NAMED", u""}, {u"", u""}}) {
    EXPECT_THROW(bx::LoadResourceData(id, type), bx::ResourceNotFoundError)
        << bx::Describe(id) << " " << bx::Describe(type);
  }
  bx::UnregisterResource(numbered_type);
}

TEST(LoadResourceData, RejectsIdentifiersOfOtherKindsOrOutOfRange) {
  for (const ReadValue& id :
       {ReadValue(), ReadValue(101.0), ReadValue(std::int16_t{0}), ReadValue(std::int32_t{65536}),
        ReadValue(std::int16_t{-1}), ReadValue(bx::ByteArray())}) {
    EXPECT_THROW(bx::LoadResourceData(id, u"CUSTOM"), bx::ConversionError) << bx::Describe(id);
    EXPECT_THROW(bx::LoadResourceData(std::int16_t{101}, id), bx::ConversionError)
        << bx::Describe(id);
  }
}

// --- Code page 932 -----------------------------------------------------------------------

std::u16string Decode(std::initializer_list<std::uint8_t> bytes) {
  return bx::Cp932ToUtf16(std::vector<std::uint8_t>(bytes));
}

TEST(Cp932ToUtf16, ConvertsTheSampleText) {
  const auto text = FileBytes("102.txt");
  const std::u16string decoded = bx::Cp932ToUtf16(text);
  EXPECT_EQ(decoded.substr(0, 8), u"サンプルデータ,");
  EXPECT_EQ(decoded.substr(decoded.size() - 6), std::u16string(u"タブです。\0", 6));
}

// The rules for bad input and the single bytes that only Windows maps, case by case.
struct Cp932Case {
  std::vector<std::uint8_t> bytes;
  std::u16string expected;
};

const Cp932Case kCp932Cases[] = {
    {{0x00}, std::u16string(1, u'\0')},
    {{0x41, 0x00, 0x42}, std::u16string(u"A\0B", 3)},
    {{0xB1}, u"ｱ"},         // half-width katakana
    {{0x81, 0x41}, u"、"},  // a pair
    {{0x80}, u"\u0080"},    // single bytes that Windows maps
    {{0xA0}, u"\uF8F0"},
    {{0xFD, 0xFE, 0xFF}, u"\uF8F1\uF8F2\uF8F3"},
    {{0x81}, u"\uFFFD"},          // a lead byte at the end
    {{0x81, 0x0A}, u"\uFFFD\n"},  // a lead byte before a byte that is no trail byte
    {{0x81, 0x20, 0x41}, u"\uFFFD A"},
    {{0x81, 0x00, 0x41}, std::u16string(u"\uFFFD\0A", 3)},
    {{0x81, 0x22, 0x41}, u"\uFFFD\"A"},
    {{0x81, 0xFD}, u"\uFFFD\uF8F1"},
    {{0x85, 0x81, 0x41}, u"\uFFFDA"},  // an unassigned pair is one replacement
    {{0x81, 0xAD}, u"\uFFFD"},
    {{0xFC, 0x4C}, u"\uFFFD"},
    {{0x85, 0x40}, u"\uFFFD"},
    {{0x81, 0x81, 0x41}, u"＝A"},  // a lead byte is a trail byte too
};

TEST(Cp932ToUtf16, ReplacesBadInputWithoutLosingWhatFollows) {
  for (const Cp932Case& c : kCp932Cases) {
    EXPECT_EQ(bx::Cp932ToUtf16(c.bytes), c.expected) << testing::PrintToString(c.bytes);
  }
  EXPECT_EQ(Decode({}), u"");
}

TEST(Cp932ToUtf16, TheBlockDecoderFollowsTheSameRulesAtEveryPosition) {
  // Each case inside longer text, at every offset of the blocks the long-text decoder takes:
  // as the last bytes of a block, and straddling two. The padding is no trail byte, so that
  // it cannot complete a case's lead byte.
  for (const Cp932Case& c : kCp932Cases) {
    for (std::size_t offset = 0; offset <= 40; ++offset) {
      std::vector<std::uint8_t> text(offset, '.');
      text.insert(text.end(), c.bytes.begin(), c.bytes.end());
      text.insert(text.end(), 40, '.');
      const std::u16string want =
          std::u16string(offset, u'.') + c.expected + std::u16string(40, u'.');
      ASSERT_EQ(bx::Cp932ToUtf16(text), want)
          << testing::PrintToString(c.bytes) << " at " << offset;
    }
  }
}

TEST(Cp932ToUtf16, AgreesWithTheReferenceOnEveryOneAndTwoByteSequence) {
  int mismatches = 0;
  for (unsigned a = 0; a < 256; ++a) {
    const std::uint8_t one[] = {static_cast<std::uint8_t>(a)};
    mismatches += bx::Cp932ToUtf16(one) != bx::test::ReferenceCp932(one, 1);
    for (unsigned b = 0; b < 256; ++b) {
      const std::uint8_t two[] = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
      if (bx::Cp932ToUtf16(two) != bx::test::ReferenceCp932(two, 2) && ++mismatches <= 5) {
        ADD_FAILURE() << "bytes " << std::hex << a << " " << b;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932ToUtf16, AgreesWithTheReferenceOnLongMixedText) {
  // Long enough for the block decoder, with runs of lead bytes of every length, pairs across
  // block edges, and bad bytes anywhere.
  std::mt19937 random(932);
  const std::uint8_t alphabet[] = {'a',  ',',  ' ',  0x00, 0x81, 0x82, 0x88, 0x9F, 0xE0, 0xFC,
                                   0x40, 0x7F, 0x80, 0xA0, 0xA1, 0xDF, 0xFD, 0xFF, 0x5C, 0xEA};
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::uint8_t> text(random() % 80);
    for (std::uint8_t& b : text) {
      b = random() % 3 == 0 ? static_cast<std::uint8_t>(random())
                            : alphabet[random() % std::size(alphabet)];
    }
    if (bx::Cp932ToUtf16(text) != bx::test::ReferenceCp932(text.data(), text.size())) {
      ADD_FAILURE() << testing::PrintToString(text);
      break;
    }
  }
}

// --- Value text --------------------------------------------------------------------------

TEST(ToHexText, WritesUpperCaseDigitsOfTheValuesWidth) {
  const std::pair<ReadValue, std::u16string> cases[] = {
      {std::uint8_t{1}, u"1"},
      {std::uint8_t{255}, u"FF"},
      {std::int16_t{0x1234}, u"1234"},
      {std::int16_t{0}, u"0"},
      {std::int16_t{-1}, u"FFFF"},
      {std::int16_t{-32768}, u"8000"},
      {std::int32_t{0x00EFCDAB}, u"EFCDAB"},
      {std::int32_t{-1}, u"FFFFFFFF"},
      {std::int32_t{std::numeric_limits<std::int32_t>::min()}, u"80000000"},
      {ReadValue(), u"0"},
      {2.5, u"2"},  // halves go to even
      {3.5f, u"4"},
      {-1.0, u"FFFFFFFF"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(bx::ToHexText(value), text) << bx::Describe(value);
  }
  EXPECT_THROW(bx::ToHexText(4294967296.0), bx::OverflowError);
  EXPECT_THROW(bx::ToHexText(std::nan("")), bx::OverflowError);
  EXPECT_THROW(bx::ToHexText(u"FF"), bx::ConversionError);
}

TEST(ToNumberText, WritesSevenOrFifteenSignificantDigits) {
  const std::pair<ReadValue, std::u16string> cases[] = {
      {std::bit_cast<float>(0x00007856u), u"4.31684E-41"},
      {std::bit_cast<double>(0x2222EFCDAB563412ull), u"3.03303288349506E-144"},
      {0.0f, u"0"},
      {-0.0, u"0"},
      {1.0f, u"1"},
      {-2.5, u"-2.5"},
      {0.1f, u"0.1"},
      {0.1, u"0.1"},
      {1.0 / 3, u"0.333333333333333"},
      {1.0f / 3, u"0.3333333"},
      {0.0001, u"0.0001"},
      {0.00001, u"1E-05"},
      {1234567.0f, u"1234567"},
      {12345678.0f, u"1.234568E+07"},
      {1e15 - 1, u"999999999999999"},
      {1e15, u"1E+15"},
      {9.9999999e-5f, u"0.0001"},  // rounding carries into the exponent
      {123.456, u"123.456"},
      {std::numeric_limits<double>::max(), u"1.79769313486232E+308"},
      {std::numeric_limits<double>::infinity(), u"Infinity"},
      {-std::numeric_limits<float>::infinity(), u"-Infinity"},
      {std::bit_cast<double>(0x7FF8000000000001ull), u"NaN"},
  };
  for (const auto& [value, text] : cases) {
    const std::u16string got = value.Kind() == bx::VT_R4 ? bx::ToNumberText(value.Single(), u'.')
                                                         : bx::ToNumberText(value.Double(), u'.');
    EXPECT_EQ(got, text) << bx::Describe(value);
  }
  EXPECT_EQ(bx::ToNumberText(-2.5, u','), u"-2,5");
  EXPECT_EQ(bx::ToNumberText(std::bit_cast<float>(0x00007856u), u','), u"4,31684E-41");
}

TEST(ToText, GivesStringsThemselvesAndTheEmptyValueNothing) {
  EXPECT_EQ(bx::ToText(ReadValue()), u"");
  EXPECT_EQ(bx::ToText(std::u16string(u"a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(bx::ToText(std::uint8_t{255}), u"255");
  EXPECT_EQ(bx::ToText(std::int16_t{-32768}), u"-32768");
  EXPECT_EQ(bx::ToDecimalText(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
  EXPECT_EQ(bx::ToDecimalText(257), u"257");
  EXPECT_THROW(bx::ToText(bx::ByteArray()), bx::ConversionError);
}

TEST(ToUtf8, EncodesEveryPlaneAndReplacesLoneSurrogates) {
  EXPECT_EQ(bx::ToUtf8(u"A－読\U0001F600"), "A\xEF\xBC\x8D\xE8\xAA\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(bx::ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(bx::ToUtf8(std::u16string(u"a\0", 2)), std::string("a\0", 2));
}

TEST(FromUtf8, DecodesEveryPlaneAndReplacesEachBadByte) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"A\xEF\xBC\x8D\xE8\xAA\xAD\xF0\x9F\x98\x80", u"A－読\U0001F600"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"\x80x", u"\uFFFDx"},                              // a continuation byte alone
      {"\xE8\xAAx", u"\uFFFD\uFFFDx"},                    // a sequence cut short
      {"\xC0\x80", u"\uFFFD\uFFFD"},                      // an overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& [utf8, utf16] : cases) {
    EXPECT_EQ(bx::FromUtf8(utf8), utf16) << testing::PrintToString(utf8);
  }
}

}  // namespace

// BxRes: Load and the typed readers.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "stream_state.h"
#include "test_support.h"

namespace {

using BxRes::ReadValue;

using ReaderTest = FreshReaderTest;

constexpr std::int16_t kBinary = 101;
constexpr std::int16_t kText = 102;

TEST_F(ReaderTest, ReadsTheSampleRecordInOrder) {
  BxRes::Load(kBinary, u"CUSTOM");
  EXPECT_EQ(ResSize(), 28);
  EXPECT_EQ(ResPos(), 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
  EXPECT_EQ(ResPos(), 1);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(ResPos(), 3);
  EXPECT_EQ(BxRes::ReadLong(), ReadValue(std::int32_t{0x00EFCDAB}));
  EXPECT_EQ(ResPos(), 7);
  EXPECT_EQ(BxRes::ReadSingle(), ReadValue(std::bit_cast<float>(0x00007856u)));
  EXPECT_EQ(ResPos(), 11);
  EXPECT_EQ(BxRes::ReadDouble(), ReadValue(std::bit_cast<double>(0x2222EFCDAB563412ull)));
  EXPECT_EQ(ResPos(), 19);
}

// One read and what it must give: a value (or Empty) and where the cursor ends.
struct Step {
  std::function<ReadValue()> read;
  ReadValue expected;
  std::int32_t pos_after;
};

struct ReadCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::vector<Step> steps;
};

TEST_F(ReaderTest, TypedReadsAtTheEndOfTheDataAndOfEveryBitPattern) {
  using namespace BxRes;
  const ReadValue empty;
  const ReadCase cases[] = {
      {"exactly two bytes left",
       {1, 0xFF, 0xFF},
       {{ReadByte, std::uint8_t{1}, 1}, {ReadInteger, std::int16_t{-1}, 3}, {ReadByte, empty, 3}}},
      {"one byte left",
       {0x34, 0x12, 0xFF},
       {{ReadInteger, std::int16_t{0x1234}, 2},
        {ReadInteger, empty, 2},
        {ReadByte, std::uint8_t{255}, 3},
        {ReadByte, empty, 3}}},
      {"seven bytes left",
       {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0},
       {{ReadDouble, empty, 0}, {ReadLong, std::int32_t{-1}, 4}, {ReadLong, empty, 4}}},
      {"a value ending at the last byte",
       {0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
       {{ReadDouble, 1.0, 8}, {ReadSingle, empty, 8}}},
      {"signalling NaNs and negative zero",
       {0x01, 0x00, 0xA0, 0x7F, 0, 0, 0, 0x80},
       {{ReadSingle, std::bit_cast<float>(0x7FA00001u), 4}, {ReadSingle, -0.0f, 8}}},
      {"a double NaN with payload",
       {0x01, 0, 0, 0, 0, 0, 0xF4, 0xFF},
       {{ReadDouble, std::bit_cast<double>(0xFFF4000000000001ull), 8}}},
      {"a subnormal double",
       {1, 0, 0, 0, 0, 0, 0, 0},
       {{ReadDouble, std::bit_cast<double>(std::uint64_t{1}), 8}}},
      {"the most negative Long",
       {0, 0, 0, 0x80},
       {{ReadLong, std::numeric_limits<std::int32_t>::min(), 4}}},
      {"an empty resource",
       {},
       {{ReadByte, empty, 0}, {ReadInteger, empty, 0}, {ReadDouble, empty, 0}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedResource fixture(1, u"TABLE", c.bytes);
    BxRes::Load(std::int16_t{1}, u"TABLE");
    ASSERT_EQ(ResSize(), static_cast<std::int32_t>(c.bytes.size()));
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const ReadValue got = c.steps[i].read();
      EXPECT_EQ(got, c.steps[i].expected) << "step " << i << ": " << bx::Describe(got);
      EXPECT_EQ(ResPos(), c.steps[i].pos_after) << "step " << i;
    }
  }
}

TEST_F(ReaderTest, BeforeAnyLoadEveryTypedReadIsEmpty) {
  for (auto read : {BxRes::ReadByte, BxRes::ReadInteger, BxRes::ReadLong, BxRes::ReadSingle,
                    BxRes::ReadDouble}) {
    EXPECT_TRUE(read().IsEmpty());
    EXPECT_EQ(ResPos(), 0);
    EXPECT_EQ(ResSize(), 0);
  }
}

TEST_F(ReaderTest, LoadSwitchesResourcesAndRewinds) {
  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadLong();
  BxRes::Load(kText, u"CUSTOM");
  EXPECT_EQ(ResSize(), 136);
  EXPECT_EQ(ResPos(), 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{0x83}));  // not 101's first byte

  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadDouble();
  BxRes::Load(kBinary, u"CUSTOM");
  EXPECT_EQ(ResPos(), 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
}

TEST_F(ReaderTest, AFailedLoadKeepsThePreviousResourceWhereItWas) {
  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadByte();
  const auto* data = ResData().data();
  EXPECT_THROW(BxRes::Load(std::int16_t{999}, u"CUSTOM"), bx::ResourceNotFoundError);
  EXPECT_THROW(BxRes::Load(1.5, u"CUSTOM"), bx::ConversionError);
  EXPECT_EQ(ResData().data(), data);
  EXPECT_EQ(ResSize(), 28);
  EXPECT_EQ(ResPos(), 1);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0x1234}));
}

TEST_F(ReaderTest, AFailedLoadBeforeAnyOtherLeavesNothingLoaded) {
  EXPECT_THROW(BxRes::Load(std::int16_t{999}, u"CUSTOM"), bx::ResourceNotFoundError);
  EXPECT_EQ(ResSize(), 0);
  EXPECT_TRUE(BxRes::ReadByte().IsEmpty());
}

TEST_F(ReaderTest, LoadingTwiceCostsNoCopy) {
  BxRes::Load(kText, u"CUSTOM");
  const auto* first = ResData().data();
  BxRes::Load(kText, u"CUSTOM");
  EXPECT_EQ(ResData().data(), first);
}

TEST_F(ReaderTest, PositionArithmeticThatLeavesTheSignedRangeRaisesOverflow) {
  // A cursor near the top of the signed 32-bit range, as a resource of 2^31 - 1 bytes has:
  // where the value's last byte would be must be a signed 32-bit number, or the read raises.
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    const char* name;
    ReadValue (*read)();
    std::int32_t last_empty;  // the highest cursor at which the read is Empty, one above raises
  };
  const Case cases[] = {
      {"ReadInteger", BxRes::ReadInteger, kMax - 1},
      {"ReadLong", BxRes::ReadLong, kMax - 3},
      {"ReadSingle", BxRes::ReadSingle, kMax - 3},
      {"ReadDouble", BxRes::ReadDouble, kMax - 7},
  };
  BxRes::Load(kBinary, u"CUSTOM");
  ResSize() = kMax;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResPos() = c.last_empty;
    EXPECT_TRUE(c.read().IsEmpty());
    ResPos() = c.last_empty + 1;
    try {
      c.read();
      ADD_FAILURE() << "no error";
    } catch (const bx::OverflowError& e) {
      const std::string at = std::to_string(c.last_empty + 1);
      EXPECT_EQ(e.what(), "Overflow: " + std::string(c.name) + " at offset " + at +
                              " of resource 101 of type \"CUSTOM\": " + at + " + " +
                              std::to_string(kMax - c.last_empty) +
                              " leaves the signed 32-bit range");
    }
    EXPECT_EQ(ResPos(), c.last_empty + 1);
  }
}

TEST_F(ReaderTest, ASizeBeyondTheArrayNeverReadsOutsideIt) {
  // No making of a stream gives this state: ResSize always comes from the array. If it ever
  // disagreed, a read that ResSize allows but the array does not hold raises and moves nothing.
  BxRes::Load(kBinary, u"CUSTOM");  // 28 bytes
  ResSize() = 100;
  ResPos() = 26;
  try {
    BxRes::ReadLong();
    ADD_FAILURE() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: ReadLong at offset 26 of resource 101 of type "
                 "\"CUSTOM\": 4 bytes wanted, the array ends 2 bytes on");
  }
  EXPECT_THROW(BxRes::Read<std::int32_t>(), bx::BoundsError);
  EXPECT_THROW(BxRes::TryRead<std::int32_t>(), bx::BoundsError);
  EXPECT_EQ(ResPos(), 26);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0}));  // the last two bytes
}

TEST_F(ReaderTest, PositionAndSizeFollowTheCursorAndSurviveFailures) {
  EXPECT_EQ(BxRes::Position(), 0);
  EXPECT_EQ(BxRes::Size(), 0);
  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadInteger();
  BxRes::ReadByte();
  EXPECT_EQ(BxRes::Position(), 3);
  EXPECT_EQ(BxRes::Size(), 28);
  EXPECT_THROW(BxRes::Load(std::int16_t{999}, u"CUSTOM"), bx::ResourceNotFoundError);
  char record[64];
  EXPECT_EQ(BxRes::ReadBlock(record, 64), 25);  // cut to what remains
  EXPECT_EQ(BxRes::Position(), 28);
  EXPECT_THROW(BxRes::ReadBlock(record, 1), bx::BoundsError);
  EXPECT_EQ(BxRes::Position(), 28);
  EXPECT_EQ(BxRes::Size(), 28);
}

enum class Sample : unsigned short { kBinary = 101, kText = 102 };
enum Plain { kPlainText = 102 };

TEST_F(ReaderTest, TakesIdentifiersAndTypesOfEveryIntegerAndStringType) {
  const std::pair<std::function<void()>, std::int32_t> loads[] = {
      {[] { BxRes::Load(101, "CUSTOM"); }, 28},
      {[] { BxRes::Load(102u, u"custom"); }, 136},
      {[] { BxRes::Load(std::size_t{101}, std::string("Custom")); }, 28},
      {[] { BxRes::Load(std::uint64_t{102}, std::string_view("CUSTOM")); }, 136},
      {[] { BxRes::Load(Sample::kBinary, u8"CUSTOM"); }, 28},
      {[] { BxRes::Load(kPlainText, std::u16string(u"CUSTOM")); }, 136},
      {[] { BxRes::Load(std::int8_t{101}, ReadValue(u"CUSTOM")); }, 28},
      {[] { BxRes::Load("#102", "CUSTOM"); }, 136},
  };
  for (const auto& [load, size] : loads) {
    load();
    EXPECT_EQ(BxRes::Size(), size);
  }
  ScopedResource japanese(1, u"データ", {7});
  BxRes::Load(1, "データ");  // UTF-8
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{7}));
}

TEST_F(ReaderTest, IdentifiersOutOfRangeOrOfAnotherKindAreNamedInPlainWords) {
  const std::pair<std::function<void()>, const char*> loads[] = {
      {[] { BxRes::Load(0, "CUSTOM"); },
       "Type mismatch: resource identifier 0 is outside the numbers 1 to 65535"},
      {[] { BxRes::Load(65536u, "CUSTOM"); },
       "Type mismatch: resource identifier 65536 is outside the numbers 1 to 65535"},
      {[] { BxRes::Load(101, -1LL); },
       "Type mismatch: resource type -1 is outside the numbers 1 to 65535"},
      {[] { BxRes::Load("#0", "CUSTOM"); },
       "Type mismatch: resource identifier \"#0\" is outside the numbers 1 to 65535"},
      {[] { BxRes::Load(ReadValue(), "CUSTOM"); },
       "Type mismatch: a resource identifier is a number from 1 to 65535 or a name, not the "
       "Empty value"},
      {[] { BxRes::Load(101, ReadValue(1.5)); },
       "Type mismatch: a resource type is a number from 1 to 65535 or a name, not Double 1.5"},
      {[] { BxRes::Load(std::uint64_t{1} << 32, "CUSTOM"); },
       "Type mismatch: resource identifier 4294967296 is outside the numbers 1 to 65535"},
  };
  for (const auto& [load, message] : loads) {
    try {
      load();
      ADD_FAILURE() << "no error for " << message;
    } catch (const bx::ConversionError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

TEST(ReadValueKinds, AskingTheEmptyValueForANumberSaysWhereEmptyComesFrom) {
  try {
    ReadValue().Long();
    FAIL() << "no error";
  } catch (const bx::ConversionError& e) {
    EXPECT_STREQ(e.what(),
                 "Type mismatch: an Empty value cannot be used as a Long: the readers "
                 "return Empty at the end of the data");
  }
  try {
    ReadValue(std::int16_t{1}).Single();
    FAIL() << "no error";
  } catch (const bx::ConversionError& e) {
    EXPECT_STREQ(e.what(), "Type mismatch: an Integer value cannot be used as a Single");
  }
}

}  // namespace

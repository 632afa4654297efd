// BxRes: Load and the typed readers.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>

#include "res_state.h"
#include "test_support.h"

namespace {

using BxRes::ReadValue;
using BxRes::ResPos;
using BxRes::ResSize;

using ReaderTest = FreshReaderTest;

constexpr std::int16_t kBinary = 101;
constexpr std::int16_t kText = 102;

TEST_F(ReaderTest, ReadsTheSampleRecordInOrder) {
  BxRes::Load(kBinary, u"CUSTOM");
  EXPECT_EQ(ResSize, 28);
  EXPECT_EQ(ResPos, 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
  EXPECT_EQ(ResPos, 1);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(ResPos, 3);
  EXPECT_EQ(BxRes::ReadLong(), ReadValue(std::int32_t{0x00EFCDAB}));
  EXPECT_EQ(ResPos, 7);
  EXPECT_EQ(BxRes::ReadSingle(), ReadValue(std::bit_cast<float>(0x00007856u)));
  EXPECT_EQ(ResPos, 11);
  EXPECT_EQ(BxRes::ReadDouble(), ReadValue(std::bit_cast<double>(0x2222EFCDAB563412ull)));
  EXPECT_EQ(ResPos, 19);
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
      {"exactly two bytes left", {1, 0xFF, 0xFF},
       {{ReadByte, std::uint8_t{1}, 1}, {ReadInteger, std::int16_t{-1}, 3}, {ReadByte, empty, 3}}},
      {"one byte left", {0x34, 0x12, 0xFF},
       {{ReadInteger, std::int16_t{0x1234}, 2}, {ReadInteger, empty, 2},
        {ReadByte, std::uint8_t{255}, 3}, {ReadByte, empty, 3}}},
      {"seven bytes left", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0},
       {{ReadDouble, empty, 0}, {ReadLong, std::int32_t{-1}, 4}, {ReadLong, empty, 4}}},
      {"a value ending at the last byte", {0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
       {{ReadDouble, 1.0, 8}, {ReadSingle, empty, 8}}},
      {"signalling NaNs and negative zero", {0x01, 0x00, 0xA0, 0x7F, 0, 0, 0, 0x80},
       {{ReadSingle, std::bit_cast<float>(0x7FA00001u), 4}, {ReadSingle, -0.0f, 8}}},
      {"a double NaN with payload", {0x01, 0, 0, 0, 0, 0, 0xF4, 0xFF},
       {{ReadDouble, std::bit_cast<double>(0xFFF4000000000001ull), 8}}},
      {"a subnormal double", {1, 0, 0, 0, 0, 0, 0, 0},
       {{ReadDouble, std::bit_cast<double>(std::uint64_t{1}), 8}}},
      {"the most negative Long", {0, 0, 0, 0x80},
       {{ReadLong, std::numeric_limits<std::int32_t>::min(), 4}}},
      {"an empty resource", {},
       {{ReadByte, empty, 0}, {ReadInteger, empty, 0}, {ReadDouble, empty, 0}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedResource fixture(1, u"TABLE", c.bytes);
    BxRes::Load(std::int16_t{1}, u"TABLE");
    ASSERT_EQ(ResSize, static_cast<std::int32_t>(c.bytes.size()));
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const ReadValue got = c.steps[i].read();
      EXPECT_EQ(got, c.steps[i].expected) << "step " << i << ": " << bx::Describe(got);
      EXPECT_EQ(ResPos, c.steps[i].pos_after) << "step " << i;
    }
  }
}

TEST_F(ReaderTest, BeforeAnyLoadEveryTypedReadIsEmpty) {
  for (auto read : {BxRes::ReadByte, BxRes::ReadInteger, BxRes::ReadLong, BxRes::ReadSingle,
                    BxRes::ReadDouble}) {
    EXPECT_TRUE(read().IsEmpty());
    EXPECT_EQ(ResPos, 0);
    EXPECT_EQ(ResSize, 0);
  }
}

TEST_F(ReaderTest, LoadSwitchesResourcesAndRewinds) {
  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadLong();
  BxRes::Load(kText, u"CUSTOM");
  EXPECT_EQ(ResSize, 136);
  EXPECT_EQ(ResPos, 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{0x83}));  // not 101's first byte

  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadDouble();
  BxRes::Load(kBinary, u"CUSTOM");
  EXPECT_EQ(ResPos, 0);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
}

TEST_F(ReaderTest, AFailedLoadKeepsThePreviousResourceWhereItWas) {
  BxRes::Load(kBinary, u"CUSTOM");
  BxRes::ReadByte();
  const auto* data = BxRes::ResData.data();
  EXPECT_THROW(BxRes::Load(std::int16_t{999}, u"CUSTOM"), bx::ResourceNotFoundError);
  EXPECT_THROW(BxRes::Load(1.5, u"CUSTOM"), bx::ConversionError);
  EXPECT_EQ(BxRes::ResData.data(), data);
  EXPECT_EQ(ResSize, 28);
  EXPECT_EQ(ResPos, 1);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0x1234}));
}

TEST_F(ReaderTest, AFailedLoadBeforeAnyOtherLeavesNothingLoaded) {
  EXPECT_THROW(BxRes::Load(std::int16_t{999}, u"CUSTOM"), bx::ResourceNotFoundError);
  EXPECT_EQ(ResSize, 0);
  EXPECT_TRUE(BxRes::ReadByte().IsEmpty());
}

TEST_F(ReaderTest, LoadingTwiceCostsNoCopy) {
  BxRes::Load(kText, u"CUSTOM");
  const auto* first = BxRes::ResData.data();
  BxRes::Load(kText, u"CUSTOM");
  EXPECT_EQ(BxRes::ResData.data(), first);
}

TEST_F(ReaderTest, PositionArithmeticThatLeavesTheSignedRangeRaisesOverflow) {
  // A cursor near the top of the signed 32-bit range, as a resource of 2^31 - 1 bytes has.
  BxRes::Load(kBinary, u"CUSTOM");
  ResSize = std::numeric_limits<std::int32_t>::max();
  ResPos = ResSize - 2;
  try {
    BxRes::ReadDouble();
    FAIL() << "no error";
  } catch (const bx::OverflowError& e) {
    EXPECT_STREQ(e.what(),
                 "Overflow: ReadDouble at offset 2147483645 of resource 101 of type \"CUSTOM\": "
                 "2147483645 + 7 leaves the signed 32-bit range");
  }
  EXPECT_EQ(ResPos, std::numeric_limits<std::int32_t>::max() - 2);
}

}  // namespace

// BxRes::ReadBlock: records copied out of the data, cut at the end, and refused arguments.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "stream_state.h"
#include "test_support.h"

namespace {

struct POINT {
  std::int32_t x;
  std::int32_t y;
};

class ReadBlockTest : public FreshReaderTest {
 protected:
  // Loads five bytes 1..5 and reads `skip` of them.
  void LoadFive(int skip) {
    BxRes::Load(std::int16_t{5}, u"BLOCK");
    for (int i = 0; i < skip; ++i) BxRes::ReadByte();
  }

  ScopedResource five_{5, u"BLOCK", {1, 2, 3, 4, 5}};
};

TEST_F(ReadBlockTest, FillsThePointOfTheSampleRecord) {
  BxRes::Load(std::int16_t{101}, u"CUSTOM");
  BxRes::ReadByte();
  BxRes::ReadInteger();
  BxRes::ReadLong();
  BxRes::ReadSingle();
  BxRes::ReadDouble();
  POINT point{};
  BxRes::ReadBlock(&point, 8);
  EXPECT_EQ(point.x, 16);
  EXPECT_EQ(point.y, 257);
  EXPECT_EQ(ResPos(), 27);
}

TEST_F(ReadBlockTest, CopiesWhatRemainsAndLeavesTheRestOfTheDestination) {
  struct Case {
    const char* name;
    int skip;
    std::int32_t length;
    std::array<std::uint8_t, 8> expected;
    std::int32_t copied;
  };
  const Case cases[] = {
      {"cut at the end", 0, 8, {1, 2, 3, 4, 5, 0xAA, 0xAA, 0xAA}, 5},
      {"exactly the rest", 2, 3, {3, 4, 5, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 3},
      {"less than the rest", 1, 2, {2, 3, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 2},
      {"zero bytes", 2, 0, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 0},
      {"the last byte", 4, 1, {5, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadFive(c.skip);
    std::array<std::uint8_t, 8> destination;
    destination.fill(0xAA);
    EXPECT_EQ(BxRes::ReadBlock(destination.data(), c.length), c.copied);
    EXPECT_EQ(destination, c.expected);
    EXPECT_EQ(ResPos(), c.skip + c.copied);
  }
}

TEST_F(ReadBlockTest, RaisesTheBoundsErrorWhenNoByteIsLeft) {
  std::uint8_t destination[4] = {};
  EXPECT_THROW(BxRes::ReadBlock(destination, 0), bx::BoundsError);  // nothing loaded
  EXPECT_THROW(BxRes::ReadBlock(destination, 4), bx::BoundsError);
  ScopedResource empty(6, u"BLOCK", {});
  BxRes::Load(std::int16_t{6}, u"BLOCK");
  EXPECT_THROW(BxRes::ReadBlock(destination, 0), bx::BoundsError);  // an empty resource
  LoadFive(5);
  for (std::int32_t length : {0, 1, 4}) {
    try {
      BxRes::ReadBlock(destination, length);
      FAIL() << "no error for length " << length;
    } catch (const bx::BoundsError& e) {
      EXPECT_STREQ(e.what(),
                   "Subscript out of range: ReadBlock at offset 5 of resource 5 of type \"BLOCK\": "
                   "no byte left to read");
    }
    EXPECT_EQ(ResPos(), 5);
  }
}

TEST_F(ReadBlockTest, RefusesANegativeLengthOrANullDestinationAndMovesNothing) {
  LoadFive(1);
  std::uint8_t destination[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_THROW(BxRes::ReadBlock(destination, -1), bx::BoundsError);
  EXPECT_THROW(BxRes::ReadBlock(destination, std::numeric_limits<std::int32_t>::min()),
               bx::BoundsError);
  EXPECT_THROW(BxRes::ReadBlock(nullptr, 2), bx::BoundsError);
  EXPECT_EQ(destination[0], 0xAA);
  EXPECT_EQ(ResPos(), 1);
  BxRes::ReadBlock(nullptr, 0);  // nothing to copy, nowhere to copy it: fine
  EXPECT_EQ(ResPos(), 1);
}

TEST_F(ReadBlockTest, ALengthThatOverflowsThePositionRaisesOverflow) {
  LoadFive(1);
  std::uint8_t destination[4] = {};
  EXPECT_THROW(BxRes::ReadBlock(destination, std::numeric_limits<std::int32_t>::max()),
               bx::OverflowError);
  EXPECT_EQ(ResPos(), 1);
}

TEST_F(ReadBlockTest, FillsARecordByReference) {
  LoadFive(0);
  std::array<std::uint8_t, 2> pair{};
  EXPECT_EQ(BxRes::ReadBlock(pair), 2);
  EXPECT_EQ(pair, (std::array<std::uint8_t, 2>{1, 2}));
  EXPECT_EQ(ResPos(), 2);
}

}  // namespace

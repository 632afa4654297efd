// The module at the top of the signed 32-bit range: a resource of 2^31 - 1 bytes, and one a
// byte larger, both backed by reserved memory that is never filled.
#include <bxres/embedded_resource.h>
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <span>

#include "stream_state.h"
#include "test_platform.h"
#include "test_support.h"

namespace {

using BxRes::ReadValue;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A resource of `size` bytes of reserved, untouched memory, ending in `tail`.
class HugeResource {
 public:
  HugeResource(std::uint16_t id, std::size_t size, std::string_view tail)
      : size_(size), bytes_(bx::test::ReserveUntouched(size, tail)) {
    if (bytes_ == nullptr) return;
    entry_ = {{id, nullptr}, {0, u"HUGE"}, 0, bytes_, bytes_ + size};
    bx::RegisterResource(entry_);
  }
  ~HugeResource() {
    if (bytes_ == nullptr) return;
    bx::UnregisterResource(entry_);
    bx::test::ReleaseUntouched(bytes_, size_);
  }
  bool mapped() const { return bytes_ != nullptr; }
  std::span<const std::uint8_t> bytes() const { return {bytes_, size_}; }

 private:
  std::size_t size_;
  std::uint8_t* bytes_;
  bx::EmbeddedResource entry_;
};

class LimitsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetReader();
    if (sizeof(void*) == 4 && !largest_.mapped()) {
      GTEST_SKIP()
          << "a 32-bit process cannot reserve 2 GiB; the boundaries are tested with a "
             "faked size in ReaderTest.PositionArithmeticThatLeavesTheSignedRangeRaisesOverflow";
    }
    ASSERT_TRUE(largest_.mapped());
    BxRes::Load(std::int16_t{1}, u"HUGE");
  }
  void TearDown() override { ResetReader(); }

  // Where the cursor would be after reading everything before `offset`; reading 2 GiB to get
  // there would prove nothing more.
  static void MoveCursorTo(std::int32_t offset) { ResPos() = offset; }

  // The last eight bytes: a little-endian 1.0, and also the text `ab,c` before `d"e`.
  HugeResource largest_{1, static_cast<std::size_t>(kMax), std::string_view("ab,c d\"e", 8)};
};

TEST_F(LimitsTest, LoadsTheLargestResourceAPositionCanAddress) {
  EXPECT_EQ(ResSize(), kMax);
  EXPECT_EQ(ResPos(), 0);
  EXPECT_EQ(BxRes::ReadLong(), ReadValue(std::int32_t{0}));
}

TEST_F(LimitsTest, TypedReadsEndExactlyAtTheLastByte) {
  MoveCursorTo(kMax - 8);
  std::int64_t expected;
  std::memcpy(&expected, "ab,c d\"e", 8);
  EXPECT_EQ(BxRes::ReadDouble(), ReadValue(std::bit_cast<double>(expected)));
  EXPECT_EQ(ResPos(), kMax);
  EXPECT_TRUE(BxRes::ReadByte().IsEmpty());
  EXPECT_TRUE(BxRes::ReadToken().IsEmpty());
  EXPECT_EQ(ResPos(), kMax);

  MoveCursorTo(kMax - 1);
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{'e'}));
  EXPECT_EQ(ResPos(), kMax);
}

TEST_F(LimitsTest, TypedReadsPastTheLastByteAreEmptyOrOverflow) {
  MoveCursorTo(kMax - 3);
  EXPECT_TRUE(BxRes::ReadLong().IsEmpty());  // its last byte would be at 2^31 - 1 itself
  EXPECT_EQ(ResPos(), kMax - 3);
  // The position of a Double's last byte, 2^31 + 3, is no signed 32-bit number.
  EXPECT_THROW(BxRes::ReadDouble(), bx::OverflowError);
  EXPECT_EQ(ResPos(), kMax - 3);
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{'d' | '"' << 8}));
}

TEST_F(LimitsTest, BlockReadsAtTheEnd) {
  char destination[8] = {};
  MoveCursorTo(kMax - 5);
  EXPECT_THROW(BxRes::ReadBlock(destination, 8), bx::OverflowError);  // 2^31 + 2 overflows
  EXPECT_EQ(ResPos(), kMax - 5);
  EXPECT_EQ(destination[0], 0);
  BxRes::ReadBlock(destination, 5);  // exactly the rest
  EXPECT_EQ(std::string(destination, 5), "c d\"e");
  EXPECT_EQ(ResPos(), kMax);
  EXPECT_THROW(BxRes::ReadBlock(destination, 0), bx::BoundsError);
}

TEST_F(LimitsTest, TokensAtTheEnd) {
  MoveCursorTo(kMax - 8);
  EXPECT_EQ(BxRes::ReadToken(), ReadValue(u"ab"));
  EXPECT_EQ(BxRes::ReadToken(), ReadValue(u"c"));
  EXPECT_EQ(BxRes::ReadToken(), ReadValue(u"d\"e"));
  EXPECT_EQ(ResPos(), kMax);
}

TEST_F(LimitsTest, AResourceOneByteLargerCannotBeLoaded) {
  HugeResource larger(2, static_cast<std::size_t>(kMax) + 1, "x");
  if (!larger.mapped()) GTEST_SKIP() << "this process cannot reserve a second 2 GiB";
  BxRes::ReadByte();
  try {
    BxRes::Load(std::int16_t{2}, u"HUGE");
    FAIL() << "no error";
  } catch (const bx::OverflowError& e) {
    EXPECT_STREQ(e.what(),
                 "Overflow: Load of resource 2 of type \"HUGE\": its 2147483648 bytes are more "
                 "than a signed 32-bit position can address");
  }
  EXPECT_EQ(ResSize(), kMax);
  EXPECT_EQ(ResPos(), 1);
  // A stream over bytes of the caller's raises the same.
  EXPECT_THROW(bx::ResourceStream{larger.bytes()}, bx::OverflowError);
  EXPECT_EQ(bx::ResourceStream{largest_.bytes()}.Size(), kMax);
  // Errors still name the resource that stayed loaded.
  MoveCursorTo(kMax);
  char destination[1];
  try {
    BxRes::ReadBlock(destination, 0);
    FAIL() << "no error";
  } catch (const bx::BoundsError& e) {
    EXPECT_STREQ(e.what(),
                 "Subscript out of range: ReadBlock at offset 2147483647 of resource 1 "
                 "of type \"HUGE\": no byte left to read");
  }
}

}  // namespace

// On Windows a DLL that links the library finds the program's resources, which live in the
// executable's image, but keeps a cursor of its own: each module has its copy of the library.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include "test_support.h"

extern "C" __declspec(dllimport) std::int32_t DllFirstByte(std::int32_t id, const char* type);
extern "C" __declspec(dllimport) std::int32_t DllPosition();
extern "C" __declspec(dllimport) std::int32_t DllSizeAtStart();

namespace {

using DllTest = FreshReaderTest;

TEST_F(DllTest, FindsTheProgramsResourcesWithACursorOfItsOwn) {
  EXPECT_EQ(DllFirstByte(101, "CUSTOM"), 1);
  EXPECT_EQ(DllPosition(), 1);
  EXPECT_EQ(BxRes::Size(), 0);  // the program's cursor has loaded nothing
  BxRes::Load(102, "CUSTOM");
  EXPECT_EQ(DllPosition(), 1);
}

TEST(DllStart, FindsTheProgramsResourcesBeforeTheProgramStarts) { EXPECT_EQ(DllSizeAtStart(), 28); }

}  // namespace

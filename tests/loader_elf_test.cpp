// The loader on ELF targets: where one identifier and type exist in several languages, the
// lowest language code wins, whatever the user's language.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using LoaderTest = FreshReaderTest;

TEST_F(LoaderTest, OfTwoLanguagesTakesTheLowestCode) {
  EXPECT_EQ(LoadedText(7, "Greeting"), "Guten Tag");  // 1031, German, before 1033, English
}

}  // namespace

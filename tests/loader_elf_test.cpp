// The loader on ELF targets: where one identifier and type exist in several languages, the
// lowest language code wins, whatever the user's language.
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using LoaderTest = FreshReaderTest;

std::string Text(std::int32_t id, const char* type) {
  BxRes::Load(id, type);
  std::string text(static_cast<std::size_t>(BxRes::Size()), '\0');
  BxRes::ReadBlock(text.data(), BxRes::Size());
  return text;
}

TEST_F(LoaderTest, OfTwoLanguagesTakesTheLowestCode) {
  EXPECT_EQ(Text(7, "Greeting"), "Guten Tag");  // 1031, German, before 1033, English
}

}  // namespace

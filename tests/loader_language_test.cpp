// Where one identifier and type exist in several languages (German 1031 and English (US) 1033
// here), the loader takes the one that suits the user's language, as Windows does: the user's
// own, else English (US) where neither it nor a neutral one exists. The same program runs in
// several locales (BX_TEST_LOCALE), on every platform.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "test_support.h"

namespace {

using LoaderLanguageTest = FreshReaderTest;

TEST_F(LoaderLanguageTest, TakesTheUsersLanguageElseEnglish) {
  const bool german = std::string_view(BX_TEST_LOCALE).starts_with("de_");
  EXPECT_EQ(LoadedText(7, "Greeting"), german ? "Guten Tag" : "Hello") << "in " << BX_TEST_LOCALE;
}

}  // namespace

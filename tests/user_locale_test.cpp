// The number text in the user's locale: this program runs in German (de_DE.UTF-8), which writes
// a decimal comma, on Linux through the environment and on Windows through Wine's regional
// settings.
#include <bxres/value_text.h>
#include <gtest/gtest.h>

#include <bit>

#include "platform.h"
#include "test_platform.h"

namespace {

TEST(UserLocale, GivesTheNumberTextItsDecimalSeparator) {
  if (!bx::test::PlatformHasLocale(BX_TEST_LOCALE)) {
    GTEST_SKIP() << "this system lacks the locale " << BX_TEST_LOCALE
                 << " (localedef -i de_DE -f UTF-8 de_DE.UTF-8 makes it)";
  }
  EXPECT_EQ(bx::UserDecimalSeparator(), u',');
  EXPECT_EQ(bx::ToText(-2.5), u"-2,5");
  EXPECT_EQ(bx::ToText(std::bit_cast<float>(0x00007856u)), u"4,31684E-41");
}

}  // namespace

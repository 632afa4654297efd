// An error that escapes the load event: the lines before it stay, and the error is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "demo_window.h"
#include "startup.h"

namespace {

TEST(LoadEventError, IsReturnedWithTheLinesBeforeItKept) {
  Form1 form;
  const std::optional<QString> error = CallLoadEvent(form);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error,
            "Resource not found: resource 102 of type \"CUSTOM\" is not embedded in this program");
  EXPECT_EQ(form.List1->count(), 7);
}

TEST(LoadEventError, InTextModeFollowsTheLinesOnStandardErrorWithAFailingStatus) {
  Form1 form;
  const std::optional<QString> error = CallLoadEvent(form);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(PrintListing(*form.List1, error, out, err), 1);
  auto contents = [](std::FILE* f) {
    std::string text(static_cast<std::size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return text;
  };
  const std::string listed = contents(out);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 7);
  EXPECT_EQ(contents(err), error->toStdString() + "\n");
}

}  // namespace

// Resources are there for code that runs before main, whatever order static objects are
// constructed in: a stream at namespace scope in the program, and one in a static library it
// links, each opening a resource of the program and one of a library.
#include <gtest/gtest.h>

#include "static_init.h"

namespace {

const std::string program_text = TextAtStart([] { return bx::ResourceStream(7, "Greeting"); });
const std::string fixture_text =
    TextAtStart([] { return bx::ResourceStream("Library", "Fixture"); });

TEST(StaticInitTest, StreamsOpenedBeforeMainFindTheirResources) {
  EXPECT_EQ(program_text, "Hello");
  EXPECT_EQ(fixture_text, "from a library");
  EXPECT_EQ(LibraryTextAtStart(), "from a library");
}

}  // namespace

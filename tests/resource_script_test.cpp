// bx_add_resource_script: the resources of a resource script, read back the same way on every
// platform.
#include <bxres/errors.h>
#include <gtest/gtest.h>

#include <string>

#include "platform.h"

namespace {

std::string Text(const bx::ReadValue& id, const bx::ReadValue& type) {
  const auto bytes = bx::LoadResourceData(id, type);
  return {bytes.begin(), bytes.end()};
}

TEST(ResourceScript, EmbedsEveryResourceOfRawData) {
  struct Case {
    bx::ReadValue id;
    bx::ReadValue type;
    const char* text;
  };
  const Case cases[] = {
      {std::int16_t{101}, u"LEVEL", "level"},          // a defined identifier
      {std::int16_t{205}, u"TEXT", "names"},           // a bare file name
      {u"MAPDATA", std::int16_t{300}, "map"},          // a name and a numeric type
      {std::int16_t{0x200}, std::int16_t{10}, "raw"},  // RCDATA
      {std::int16_t{102}, u"TEXT", "names"},           // an identifier defined as an expression
      {u"QUOTED", u"text", "names"},                   // a quoted name, found in any case
      {std::int16_t{103}, u"TEXT", "names"},           // inside #if
      {std::int16_t{101}, u"TEXT", "names"},           // 0145, octal
      // Declared in Japanese (1041) and in English (1033): the same choice on every platform
      // here, the lowest code on Linux and the user's language (English) under Wine.
      {std::int16_t{7}, u"TEXT", "en"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(bx::Describe(c.id) + " " + bx::Describe(c.type));
    EXPECT_EQ(Text(c.id, c.type), c.text);
  }
#ifndef _WIN32
  EXPECT_EQ(Text(std::int16_t{400}, u"TEXT"), "map");  // a backslash between folders
#endif
}

TEST(ResourceScript, LeavesOutWhatIsNotRead) {
  // Inside a comment and in the parts of #if that are not taken.
  EXPECT_THROW(bx::LoadResourceData(u"IDR_IGNORED", u"TEXT"), bx::ResourceNotFoundError);
  EXPECT_THROW(bx::LoadResourceData(u"IDR_HIDDEN", u"TEXT"), bx::ResourceNotFoundError);
}

}  // namespace

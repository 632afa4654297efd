// Every resource of a program that holds over a thousand, of four types, names and numbers
// mixed, some in three languages, from a script and from declarations (CMakeLists.txt here):
// each is found, with its bytes, in the user's language, and what is not there is not found.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform.h"

namespace {

using bx::ReadValue;

struct Case {
  ReadValue id;
  ReadValue type;
  const char* bytes;
};

const Case kCases[] = {
#include "cases.inc"
};

std::string Found(const ReadValue& id, const ReadValue& type) {
  const auto bytes = bx::FindResourceData(id, type);
  return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
}

TEST(Directory, FindsEveryResourceInTheUsersLanguage) {
  ASSERT_EQ(std::size(kCases), 1100u);
  for (const Case& c : kCases) {
    EXPECT_EQ(Found(c.id, c.type), c.bytes) << Describe(c.id) << " of " << Describe(c.type);
  }
}

TEST(Directory, FindsNothingBetweenAndAroundTheEntries) {
  const ReadValue absent[][2] = {
      {std::int32_t{2}, u"AB"},          // between 1 and 62
      {std::int32_t{65535}, u"Item"},    // after the last number
      {u"Name", u"Item"},                // a prefix of every name
      {u"Name4x", u"AB"},                // a name with more after it
      {u"Name4", u"A"},                  // a type that is a prefix of two
      {u"Name5", u"AB"},                 // a name of another type (A_)
      {std::int32_t{62}, u"AB"},         // a number of another type (A_)
      {std::int32_t{61001}, u"ITEM"},    // a declared number of another type
      {std::int32_t{1}, std::int32_t{301}},
      {std::int32_t{1}, u"ZZ"},          // after the last type name
  };
  for (const auto& [id, type] : absent) {
    EXPECT_EQ(Found(id, type), "(none)") << Describe(id) << " of " << Describe(type);
  }
}

}  // namespace

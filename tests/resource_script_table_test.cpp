// Resource scripts as people write them (tests/data/scripts), compiled by the resource compiler
// and read back through the library: the same types, identifiers, languages and bytes on every
// platform. Run in Japanese, so that of a string table in two languages the Japanese one is
// found.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform.h"

namespace {

using bx::ReadValue;

std::string Bytes(const ReadValue& id, const ReadValue& type) {
  const auto bytes = bx::LoadResourceData(id, type);
  return {bytes.begin(), bytes.end()};
}

std::uint32_t Dword(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;  // little-endian on every target here
}

std::u16string Utf16(const std::string& bytes, std::size_t at, std::size_t units) {
  std::u16string text(units, u'\0');
  std::memcpy(text.data(), bytes.data() + at, units * 2);
  return text;
}

// String `id` of a string table: block id / 16 + 1 of type 6 holds sixteen strings, each its
// length in code units and then its text.
std::u16string TableString(int id) {
  const std::string block = Bytes(std::int32_t{id / 16 + 1}, std::int32_t{6});
  std::size_t at = 0;
  for (int i = 0; i < id % 16; ++i)
    at += 2 + 2 * static_cast<std::uint16_t>(Utf16(block, at, 1)[0]);
  return Utf16(block, at + 2, Utf16(block, at, 1)[0]);
}

TEST(ResourceScriptTable, RawDataIsFoundByEveryFormOfNameAndType) {
  struct Case {
    const char* script;
    ReadValue id;
    ReadValue type;
  };
  const Case cases[] = {
      {"quoted_type.rc", u"Greeting", u"Words"},
      {"continuation.rc", std::int32_t{42}, u"TEXT"},
      {"conditions.rc", std::int32_t{43}, u"TEXT"},  // FROM_TARGET is the target's definition
      {"macros.rc", std::int32_t{44}, u"TEXT"},
      {"macros.rc", std::int32_t{45}, u"TEXT"},
      {"macros.rc", u"SELF", u"text"},
      {"types.rc", std::int32_t{47}, std::int32_t{10}},  // RCDATA
      {"types.rc", std::int32_t{47}, u"#10"},
      {"types.rc", std::int32_t{48}, std::int32_t{300}},
      {"types.rc", std::int32_t{49}, u"LEVEL"},
      {"types.rc", std::int32_t{46}, u"TEXT"},  // from a header in the include directories
      {"types.rc", std::int32_t{52}, u"TEXT"},  // "SubDir\\WORDS.TXT"
      {"utf16.rc", std::int32_t{51}, u"TEXT"},
      {"bx_add_resource TYPE rcdata", std::int32_t{60}, std::int32_t{10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.script) + ": " + bx::Describe(c.id) + " " + bx::Describe(c.type));
    EXPECT_EQ(Bytes(c.id, c.type), "words");
  }
  // The file that the target's bitness chooses.
  EXPECT_EQ(Bytes(std::int32_t{50}, u"TEXT"), sizeof(void*) == 8 ? "64" : "32");
}

TEST(ResourceScriptTable, CompiledResourcesHaveTheirWindowsForm) {
  // toolbar.rc: 16 x 15, three items (a separator is 0). windres writes each as 32 bits, with
  // no version before them; Microsoft's rc writes a version and 16-bit words.
  const std::string toolbar = Bytes(std::int32_t{128}, std::int32_t{241});
  ASSERT_EQ(toolbar.size(), 24u);
  const std::uint32_t words[] = {16, 15, 3, 0xE100, 0, 0xE101};
  for (std::size_t i = 0; i < std::size(words); ++i)
    EXPECT_EQ(Dword(toolbar, 4 * i), words[i]) << i;
  // manifest.rc: CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST, the file as it is.
  EXPECT_EQ(Bytes(std::int32_t{1}, std::int32_t{24}).substr(0, 5), "<?xml");
  // versioninfo.rc: VS_VERSIONINFO, then VS_FIXEDFILEINFO with the file's version 1.2.3.4.
  const std::string version = Bytes(std::int32_t{1}, std::int32_t{16});
  EXPECT_EQ(Utf16(version, 6, 15), u"VS_VERSION_INFO");
  EXPECT_EQ(Dword(version, 40), 0xFEEF04BDu);
  EXPECT_EQ(Dword(version, 48), 0x00010002u);
  EXPECT_EQ(Dword(version, 52), 0x00030004u);
  // dialog.rc: a DIALOGEX template whose style has the WS_ and DS_ bits of the script (and
  // DS_SETFONT for its FONT).
  const std::string dialog = Bytes(std::int32_t{200}, std::int32_t{5});
  EXPECT_EQ(Dword(dialog, 0), 0xFFFF0001u);  // version 1, signature 0xFFFF
  EXPECT_EQ(Dword(dialog, 12), 0x80C800C0u);
}

TEST(ResourceScriptTable, StringTablesKeepTheirTextInEveryEncoding) {
  EXPECT_EQ(TableString(1000), u"こんにちは");  // strings.rc: Japanese of Japanese and English
  EXPECT_EQ(TableString(1001), u"さようなら");
  EXPECT_EQ(TableString(3000), u"日本語のテキスト");  // utf16.rc, with a UTF-16 header
  EXPECT_EQ(TableString(2000), u"Grüße");             // utf8_bom.rc
}

// 8-bit text is read in the code page that the script or its declaration names; UTF-8 that
// nothing names is read as UTF-8, and other text that nothing names in code page 1252.
TEST(ResourceScriptTable, EightBitTextIsReadInItsCodePage) {
  const struct {
    const char* script;
    int id;
    std::u16string text;
  } cases[] = {
      {"utf8_unmarked.rc", 4000, u"ちいさな冒険"},
      {"utf8_unmarked.rc", 4001, u"表示ソフト"},
      {"shift_jis_pragma.rc", 4100, u"ちいさな冒険"},
      {"shift_jis_pragma.rc", 4101, u"表示ソフト"},
      {"shift_jis_option.rc (CODE_PAGE 932)", 4200, u"ちいさな冒険"},
      {"shift_jis_option.rc (CODE_PAGE 932)", 4201, u"表示ソフト"},
      {"cp1252_option.rc (CODE_PAGE 1252)", 4300, u"Café crème"},
      {"cp1252_unmarked.rc", 4400, u"Grüße, naïve"},
  };
  for (const auto& c : cases) EXPECT_EQ(TableString(c.id), c.text) << c.script;
}

}  // namespace

// String tables and version information from a resource script (data/scripts/
// strings_and_version.rc), read in Japanese through bx::LoadString and bx::VersionInfo: the
// same values on every platform, and on Windows the same as LoadStringW and VerQueryValueW give.
#include <bxres/errors.h>
#include <bxres/strings.h>
#include <bxres/text_encoding.h>
#include <bxres/version_info.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Text = std::optional<std::u16string>;

std::u16string Long() {
  std::u16string text;
  for (int i = 0; i < 2000; ++i) text += u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i % 36];
  return text;
}

struct StringCase {
  std::uint16_t id;
  Text japanese;  // as the user of this test gets it
  Text english;   // asked for in English (US)
};

std::vector<StringCase> Cases() {
  return {
      {0, u"ゼロ", u"zero"},
      {1, u"", u""},  // a block that holds others
      {2, u"", u""},  // empty in the script
      {15, u"十五", u"fifteen"},
      {16, u"sixteen", u"sixteen"},  // a block only in English
      {17, u"", u""},
      {32, std::nullopt, std::nullopt},  // no block
      {100, std::u16string(u"a\0b\0", 4), std::u16string(u"a\0b\0", 4)},
      {101, Long(), Long()},
      {65535, u"最後", u"last"},
      {65534, u"", u""},
  };
}

#ifdef _WIN32
// LoadStringW with a buffer size of 0: the string where the table holds it, all of it.
Text PlatformString(std::uint16_t id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length == 0) {
    const DWORD error = GetLastError();
    if (error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND) {
      return std::nullopt;
    }
    return u"";
  }
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
#endif

TEST(Strings, AsLoadStringGivesThem) {
  for (const StringCase& c : Cases()) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(bx::LoadString(c.id), c.japanese);
    EXPECT_EQ(bx::LoadString(c.id, 0x0409), c.english);
    EXPECT_EQ(bx::LoadString(c.id, 0x0411), c.japanese);
    EXPECT_EQ(bx::LoadString(c.id, 0x0407), c.english);  // no German: English (US)
#ifdef _WIN32
    SetLastError(0);
    EXPECT_EQ(PlatformString(c.id), c.japanese);
#endif
  }
  EXPECT_EQ(bx::LoadStringUtf8(0), "ゼロ");
  EXPECT_EQ(bx::LoadStringUtf8(65535, 0x0409), "last");
  EXPECT_EQ(bx::LoadStringUtf8(32), std::nullopt);
}

TEST(VersionInformation, AsVerQueryValueGivesIt) {
  const auto version = bx::VersionInfo::Load();
  ASSERT_TRUE(version.has_value());
  const auto fixed = version->Fixed();
  ASSERT_TRUE(fixed.has_value());
  EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->file_version_ms, 0x00010002u);
  EXPECT_EQ(fixed->file_version_ls, 0x00030004u);
  EXPECT_EQ(fixed->product_version_ms, 0x00050006u);
  EXPECT_EQ(fixed->product_version_ls, 0x00070008u);
  EXPECT_EQ(fixed->file_flags_mask, 0x3Fu);
  EXPECT_EQ(fixed->file_flags, 0x2u);       // VS_FF_PRERELEASE
  EXPECT_EQ(fixed->file_os, 0x40004u);      // VOS_NT_WINDOWS32
  EXPECT_EQ(fixed->file_type, 0x1u);        // VFT_APP
  const std::vector<bx::Translation> translations = {{0x0409, 1200}, {0x0411, 1200}};
  EXPECT_EQ(version->Translations(), translations);
  struct Value {
    bx::Translation in;
    const char16_t* name;
    std::optional<std::u16string> value;
  };
  const Value values[] = {
      {{0x0409, 1200}, u"CompanyName", u"Small Team"},
      {{0x0409, 1200}, u"companyname", u"Small Team"},  // names in any case
      {{0x0409, 1200}, u"FileDescription", u"Strings and versions"},
      {{0x0411, 1200}, u"CompanyName", u"小さなチーム"},  // a table named in upper case
      {{0x0411, 1200}, u"Comments", u""},
      {{0x0411, 1200}, u"FileDescription", std::nullopt},
      {{0x0407, 1200}, u"CompanyName", std::nullopt},
  };
  for (const Value& v : values) {
    SCOPED_TRACE(std::to_string(v.in.language) + " " + bx::ToUtf8(v.name));
    EXPECT_EQ(version->String(v.name, v.in), v.value);
  }
  const auto tables = version->StringTables();
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[1].name, u"041104B0");
  ASSERT_EQ(tables[1].values.size(), 3u);
  EXPECT_EQ(tables[1].values[2].first, u"Comments");
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD handle = 0;
  std::vector<std::uint8_t> block(GetFileVersionInfoSizeW(self, &handle));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(self, 0, static_cast<DWORD>(block.size()), block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(bx::FixedFileInfo));
  EXPECT_EQ(std::memcmp(value, &*fixed, sizeof(bx::FixedFileInfo)), 0);
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 8u);
  EXPECT_EQ(std::memcmp(value, version->Query(u"\\VarFileInfo\\Translation")->data(), 8), 0);
  for (const Value& v : values) {
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", v.in.language, v.in.code_page,
             reinterpret_cast<const wchar_t*>(v.name));
    const bool found = VerQueryValueW(block.data(), path, &value, &length);
    SCOPED_TRACE(bx::ToUtf8(reinterpret_cast<const char16_t*>(path)));
    EXPECT_EQ(found, v.value.has_value());
    if (found && v.value) {
      EXPECT_EQ(std::u16string(static_cast<const char16_t*>(value)), *v.value);
    }
  }
#endif
}

TEST(VersionInformation, BlocksThatRunPastTheirsAreRefusedSayingWhere) {
  // VS_VERSION_INFO with one child that claims 200 bytes of the 40 there are.
  std::vector<std::uint8_t> bytes = {40, 0, 0, 0, 0, 0, 'V', 0, 0, 0, 0, 0};
  const std::vector<std::uint8_t> child = {200, 0, 0, 0, 1, 0, 'X', 0, 0, 0};
  bytes.insert(bytes.end(), child.begin(), child.end());
  bytes.resize(40);
  try {
    bx::VersionInfo version(bytes);
    FAIL() << "no error";
  } catch (const bx::DamagedResourcesError& e) {
    EXPECT_STREQ(e.what(),
                 "Damaged resources: version information, at byte 12: a block of 200 bytes, "
                 "where 28 are left");
  }
}

}  // namespace

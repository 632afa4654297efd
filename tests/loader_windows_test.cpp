// The loader on Windows: resources come from the image's resource section, whoever put them
// there, and the code page 932 decoder agrees with the platform's own conversion but where bad
// input is concerned.
#include <windows.h>

#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cp932_reference.h"
#include "platform.h"
#include "test_support.h"

namespace {

using LoaderTest = FreshReaderTest;

TEST_F(LoaderTest, FindsResourcesOfAHandWrittenResourceScript) {
  EXPECT_EQ(LoadedText(300, "#10"), "written by hand");  // RCDATA is type 10
}

TEST_F(LoaderTest, ViewsTheImageItself) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(101), L"CUSTOM");
  ASSERT_NE(info, nullptr);
  BxRes::Load(101, "CUSTOM");
  EXPECT_EQ(bx::LoadResourceData(101, u"CUSTOM").data(), LockResource(LoadResource(nullptr, info)));
}

// The platform's conversion of one or two bytes, with flags 0 as programs call it.
std::u16string PlatformDecode(const std::uint8_t* bytes, int n) {
  wchar_t out[4];
  const int written = MultiByteToWideChar(932, 0, reinterpret_cast<const char*>(bytes), n, out, 4);
  return {reinterpret_cast<const char16_t*>(out), static_cast<std::size_t>(written)};
}

bool PlatformCallsItInvalid(const std::uint8_t* bytes, int n) {
  wchar_t out[4];
  return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes), n,
                             out, 4) == 0;
}

TEST(Cp932OnWindows, AgreesWithThePlatformButOnBadInput) {
  // Where the platform finds the bytes valid, the two agree exactly. Where it does not, it
  // gives its default character (U+30FB) or drops a byte, and the library follows its own
  // rules instead: U+FFFD for an unassigned pair, U+FFFD for a lead byte alone.
  int valid = 0, bad = 0;
  for (unsigned a = 0; a < 256; ++a) {
    for (unsigned b = 0; b < 257; ++b) {  // 256: the single byte a
      const std::uint8_t bytes[] = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
      const int n = b == 256 ? 1 : 2;
      const std::u16string ours = bx::Cp932ToUtf16({bytes, static_cast<std::size_t>(n)});
      if (!PlatformCallsItInvalid(bytes, n)) {
        ++valid;
        ASSERT_EQ(ours, PlatformDecode(bytes, n)) << std::hex << a << " " << b;
      } else {
        ++bad;
        ASSERT_EQ(ours, bx::test::ReferenceCp932(bytes, static_cast<std::size_t>(n)))
            << std::hex << a << " " << b;
      }
    }
  }
  std::printf("%d sequences the platform converts, %d it calls invalid\n", valid, bad);
}

}  // namespace

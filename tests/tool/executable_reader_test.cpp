// The tool's readers of executables, on this test program's own file: what they list is what
// the program's loader finds, on every platform (ELF on Linux, PE on Windows); and damaged
// files are refused with where they are damaged, never read outside the file.
#include <bxres/resource_stream.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "executable.h"

namespace {

std::vector<std::uint8_t> FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::uint8_t>& Self() {
  static const std::vector<std::uint8_t> bytes = FileBytes(BX_SELF);
  return bytes;
}

const bxres::Resource* Find(const bxres::Contents& contents, const std::string& type,
                            const std::string& id, std::uint16_t language) {
  for (const auto& r : contents.resources) {
    if (bx::detail::TypeText(r.type) == type && bx::detail::IdText(r.id) == id && r.language == language) {
      return &r;
    }
  }
  return nullptr;
}

TEST(ExecutableReader, ListsWhatTheProgramsLoaderFinds) {
  const auto contents = bxres::ReadResources(Self());
  EXPECT_EQ(contents.format, BX_SELF_IS_PE ? bxres::Format::kPe : bxres::Format::kElf);
  for (const int id : {101, 102}) {
    SCOPED_TRACE(id);
    const auto* found = Find(contents, "CUSTOM", std::to_string(id), 1041);  // Japanese
    ASSERT_NE(found, nullptr);
    const auto loaded = bx::ResourceStream(id, "CUSTOM").Bytes();
    EXPECT_TRUE(std::ranges::equal(found->data, loaded));
    EXPECT_TRUE(std::ranges::equal(
        found->data,
        std::span(Self()).subspan(static_cast<std::size_t>(found->offset), found->data.size())));
  }
  // Both languages of one identifier, each with its own bytes.
  const auto* german = Find(contents, "GREETING", "7", 1031);
  const auto* english = Find(contents, "GREETING", "7", 1033);
  ASSERT_NE(german, nullptr);
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(std::string(german->data.begin(), german->data.end()).substr(0, 9), "Guten Tag");
  EXPECT_EQ(std::string(english->data.begin(), english->data.end()).substr(0, 5), "Hello");
  // A standard type by its name.
  EXPECT_NE(Find(contents, "RCDATA", "60", 0), nullptr);
}

TEST(ExecutableReader, ReadsEachFormatAndWidth) {
  // The smallest files of each kind, made by tests/fuzz/make_executable_seeds.sh.
  const struct {
    const char* file;
    bxres::Format format;
  } cases[] = {{"elf64", bxres::Format::kElf},
               {"elf32", bxres::Format::kElf},
               {"pe32plus.exe", bxres::Format::kPe},
               {"pe32.exe", bxres::Format::kPe}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto bytes = FileBytes((std::string(BX_EXECUTABLE_SEEDS) + "/" + c.file).c_str());
    const auto contents = bxres::ReadResources(bytes);
    EXPECT_EQ(contents.format, c.format);
    ASSERT_EQ(contents.resources.size(), 2u);
    const auto* words = Find(contents, "CUSTOM", "101", 0x0411);
    const auto* greeting = Find(contents, "RCDATA", "GREETING", 0x0411);
    ASSERT_NE(words, nullptr);
    ASSERT_NE(greeting, nullptr);
    EXPECT_EQ(std::string(words->data.begin(), words->data.end()), "hello, world\r\n");
    EXPECT_EQ(std::string(greeting->data.begin(), greeting->data.end()), "Hi");
  }
}

TEST(ExecutableReader, RefusesWhatIsNoExecutable) {
  const std::string text = "a text file, not a program\n";
  try {
    bxres::ReadResources(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    FAIL() << "no error";
  } catch (const bxres::BadExecutable& e) {
    EXPECT_STREQ(e.what(),
                 "not an executable or shared object: it begins with neither the ELF "
                 "signature nor \"MZ\"");
  }
  EXPECT_THROW(bxres::ReadResources({}), bxres::BadExecutable);
}

TEST(ExecutableReader, CutOffFilesAreRefusedOrReadWithinTheirBytes) {
  // The program's own file cut at every length of its headers, and at a spread of lengths
  // beyond: each is refused, or read with every resource inside what is left.
  const auto& self = Self();
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n < 1024 && n < self.size(); ++n) lengths.push_back(n);
  for (std::size_t n = 1024; n < self.size(); n += self.size() / 997 + 1) lengths.push_back(n);
  std::size_t refused = 0;
  for (const std::size_t n : lengths) {
    const std::span cut(self.data(), n);
    try {
      for (const auto& r : bxres::ReadResources(cut).resources) {
        ASSERT_LE(r.offset + r.data.size(), n);
      }
    } catch (const bxres::BadExecutable&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0u);
}

}  // namespace

// The program's version information (VERSIONINFO in a resource script), read as Windows'
// VerQueryValueW reads it, on every platform.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bx {

// The fixed part (VS_FIXEDFILEINFO), field for field.
struct FixedFileInfo {
  std::uint32_t signature;  // 0xFEEF04BD
  std::uint32_t struc_version;
  std::uint32_t file_version_ms;  // FILEVERSION 1,2,3,4: 0x00010002, 0x00030004
  std::uint32_t file_version_ls;
  std::uint32_t product_version_ms;
  std::uint32_t product_version_ls;
  std::uint32_t file_flags_mask;
  std::uint32_t file_flags;
  std::uint32_t file_os;
  std::uint32_t file_type;
  std::uint32_t file_subtype;
  std::uint32_t file_date_ms;
  std::uint32_t file_date_ls;
};

// A language and code page that the string values are given in ("Translation").
struct Translation {
  std::uint16_t language;   // 0x0409
  std::uint16_t code_page;  // 1200, UTF-16
  friend bool operator==(const Translation&, const Translation&) = default;
};

class VersionInfo {
 public:
  // The program's version information, resource 1 of type 16 (VS_VERSION_INFO VERSIONINFO in a
  // script), in the language that suits the user best (or a user of `language`), as for any
  // resource; nothing where the program has none. Raises DamagedResourcesError where it cannot
  // be read.
  static std::optional<VersionInfo> Load();
  static std::optional<VersionInfo> Load(std::uint16_t language);

  // Version information given as its bytes, which must outlive the object. Raises
  // DamagedResourcesError where a block runs past the one that holds it.
  explicit VersionInfo(std::span<const std::uint8_t> bytes);

  // What VerQueryValueW gives for `path`: the value of the block it names, as bytes; "\\" is the
  // fixed part, "\\VarFileInfo\\Translation" the translations, and
  // "\\StringFileInfo\\040904b0\\CompanyName" a string value (UTF-16, with its terminating
  // zero where the file has one). Names match without regard to ASCII case. Nothing where no
  // block has that path.
  std::optional<std::span<const std::uint8_t>> Query(std::u16string_view path) const;

  // The fixed part; nothing where there is none.
  std::optional<FixedFileInfo> Fixed() const;

  // The languages and code pages of "\\VarFileInfo\\Translation", in order.
  std::vector<Translation> Translations() const;

  // The string value `name` ("CompanyName", "FileVersion", ...) in the string table of this
  // language and code page, up to its first zero; nothing where there is none.
  std::optional<std::u16string> String(std::u16string_view name, Translation translation) const;

  // Every string table: its name ("040904b0") and its values, in order.
  struct StringTable {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> values;
  };
  std::vector<StringTable> StringTables() const;

 private:
  struct Block {
    std::u16string key;
    std::span<const std::uint8_t> value;
    bool text;
    std::vector<std::size_t> children;  // in blocks_
  };
  std::size_t Read(std::size_t at, std::size_t end, int depth);
  const Block* Child(const Block& parent, std::u16string_view key) const;

  std::span<const std::uint8_t> bytes_;
  std::vector<Block> blocks_;  // the root first
};

}  // namespace bx

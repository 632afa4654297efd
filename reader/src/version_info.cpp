#include "bxres/version_info.h"

#include <cstring>

#include "bxres/errors.h"
#include "little_endian.h"
#include "platform.h"
#include "resource_names.h"

namespace bx {
namespace {

constexpr std::int32_t kVersionType = 16;
constexpr std::size_t kHeader = 6;  // wLength, wValueLength, wType
constexpr int kDeepest = 8;        // the standard layout is four deep

[[noreturn]] void Damaged(std::size_t at, const std::string& what) {
  throw DamagedResourcesError("version information, at byte " + std::to_string(at) + ": " +
                              what);
}

std::size_t Aligned(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (detail::FoldAscii(a[i]) != detail::FoldAscii(b[i])) return false;
  }
  return true;
}

std::u16string UpToZero(std::span<const std::uint8_t> bytes) {
  std::u16string units = detail::Utf16Units(bytes);
  return units.substr(0, units.find(u'\0'));
}

std::optional<VersionInfo> Loaded(std::optional<std::uint16_t> language) {
  const auto bytes =
      FindResourceData(ReadValue(std::int32_t{1}), ReadValue(kVersionType), language);
  if (!bytes) return std::nullopt;
  return VersionInfo(*bytes);
}

}  // namespace

std::optional<VersionInfo> VersionInfo::Load() { return Loaded(std::nullopt); }

std::optional<VersionInfo> VersionInfo::Load(std::uint16_t language) { return Loaded(language); }

VersionInfo::VersionInfo(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
  Read(0, bytes.size(), 0);
}

// Reads the block at `at`, which must end by `end`, and those it holds; its index.
std::size_t VersionInfo::Read(std::size_t at, std::size_t end, int depth) {
  if (depth > kDeepest) Damaged(at, "blocks nested more than " + std::to_string(kDeepest) + " deep");
  if (end - at < kHeader) Damaged(at, "a block's header is cut off");
  const std::size_t length = detail::LittleEndian16(&bytes_[at]);
  const std::size_t value_length = detail::LittleEndian16(&bytes_[at + 2]);
  const bool text = detail::LittleEndian16(&bytes_[at + 4]) == 1;
  if (length < kHeader || length > end - at) {
    Damaged(at, "a block of " + std::to_string(length) + " bytes, where " +
                    std::to_string(end - at) + " are left");
  }
  const std::size_t block_end = at + length;
  std::size_t key_end = at + kHeader;
  while (key_end + 2 <= block_end && detail::LittleEndian16(&bytes_[key_end]) != 0) key_end += 2;
  if (key_end + 2 > block_end) Damaged(at, "a block's name runs past its end");
  Block block;
  block.key = detail::Utf16Units(bytes_.subspan(at + kHeader, key_end - at - kHeader));
  block.text = text;
  // A value's length counts characters in a text block, bytes in another; one that claims to
  // run past its block is read to the block's end, as Windows reads it.
  const std::size_t value_at = std::min(Aligned(key_end + 2), block_end);
  const std::size_t value_size = std::min(value_length * (text ? 2 : 1), block_end - value_at);
  block.value = bytes_.subspan(value_at, value_size);
  const std::size_t index = blocks_.size();
  blocks_.push_back(std::move(block));
  for (std::size_t child = Aligned(value_at + value_size); child < block_end;) {
    const std::size_t read = Read(child, block_end, depth + 1);
    blocks_[index].children.push_back(read);
    child = Aligned(child + detail::LittleEndian16(&bytes_[child]));
  }
  return index;
}

const VersionInfo::Block* VersionInfo::Child(const Block& parent, std::u16string_view key) const {
  for (const std::size_t child : parent.children) {
    if (SameKey(blocks_[child].key, key)) return &blocks_[child];
  }
  return nullptr;
}

std::optional<std::span<const std::uint8_t>> VersionInfo::Query(std::u16string_view path) const {
  const Block* block = &blocks_.front();
  while (!path.empty()) {
    const std::size_t start = path.find_first_not_of(u'\\');
    if (start == std::u16string_view::npos) break;
    path.remove_prefix(start);
    const std::size_t length = std::min(path.find(u'\\'), path.size());
    block = Child(*block, path.substr(0, length));
    if (block == nullptr) return std::nullopt;
    path.remove_prefix(length);
  }
  return block->value;
}

std::optional<FixedFileInfo> VersionInfo::Fixed() const {
  const auto value = blocks_.front().value;
  if (value.size() < sizeof(FixedFileInfo)) return std::nullopt;
  std::uint32_t fields[sizeof(FixedFileInfo) / 4];
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    fields[i] = detail::LittleEndian32(&value[4 * i]);
  }
  FixedFileInfo fixed;
  std::memcpy(&fixed, fields, sizeof fixed);
  return fixed;
}

std::vector<Translation> VersionInfo::Translations() const {
  std::vector<Translation> out;
  if (const auto value = Query(u"\\VarFileInfo\\Translation")) {
    for (std::size_t at = 0; at + 4 <= value->size(); at += 4) {
      out.push_back({detail::LittleEndian16(&(*value)[at]),
                     detail::LittleEndian16(&(*value)[at + 2])});
    }
  }
  return out;
}

std::optional<std::u16string> VersionInfo::String(std::u16string_view name,
                                                  Translation translation) const {
  static const char16_t kHex[] = u"0123456789abcdef";
  std::u16string path = u"\\StringFileInfo\\";
  for (const std::uint16_t word : {translation.language, translation.code_page}) {
    for (int shift = 12; shift >= 0; shift -= 4) path += kHex[(word >> shift) & 0xF];
  }
  path += u'\\';
  path += name;
  const auto value = Query(path);
  if (!value) return std::nullopt;
  return UpToZero(*value);
}

std::vector<VersionInfo::StringTable> VersionInfo::StringTables() const {
  std::vector<StringTable> out;
  const Block* file_info = Child(blocks_.front(), u"StringFileInfo");
  if (file_info == nullptr) return out;
  for (const std::size_t table : file_info->children) {
    StringTable t{blocks_[table].key, {}};
    for (const std::size_t value : blocks_[table].children) {
      t.values.emplace_back(blocks_[value].key, UpToZero(blocks_[value].value));
    }
    out.push_back(std::move(t));
  }
  return out;
}

}  // namespace bx

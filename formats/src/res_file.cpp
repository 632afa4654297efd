#include "res_file.h"

#include <algorithm>
#include <string>

#include "little_endian.h"

namespace bx::detail {
namespace {

[[noreturn]] void Damaged(std::size_t offset, const std::string& what) {
  throw DamagedResFile("at byte " + std::to_string(offset) + ": " + what);
}

// Reads a type or identifier from `header` at `at`, a number (0xFFFF and the number) or a name
// ending in a zero code unit, and moves `at` past it.
ResName ReadName(std::span<const std::uint8_t> header, std::size_t& at, std::size_t entry,
                 const char* role) {
  if (header.size() - at < 2) Damaged(entry, std::string("the header ends before the ") + role);
  if (LittleEndian16(&header[at]) == 0xFFFF) {
    if (header.size() - at < 4) Damaged(entry, std::string("the header ends inside the ") + role);
    const std::uint16_t number = LittleEndian16(&header[at + 2]);
    at += 4;
    return {number, {}};
  }
  for (std::size_t end = at; header.size() - end >= 2; end += 2) {
    if (LittleEndian16(&header[end]) == 0) {
      ResName name{0, header.subspan(at, end - at)};
      at = end + 2;
      return name;
    }
  }
  Damaged(entry, std::string("the ") + role + " name runs past the end of the header");
}

bool NamesNothing(const ResEntry& entry) noexcept {
  return entry.type.name.empty() && entry.type.number == 0;
}

}  // namespace

ResEntryAt ReadResEntry(std::span<const std::uint8_t> image, std::size_t offset) {
  // DataSize, HeaderSize, the two names, then DataVersion, MemoryFlags, LanguageId, Version and
  // Characteristics on a 4-byte boundary.
  constexpr std::size_t kSizes = 8;
  constexpr std::size_t kFixedTail = 16;
  constexpr std::size_t kLanguageInTail = 6;
  const std::size_t entry = offset;
  if (entry > image.size() || image.size() - entry < kSizes) {
    Damaged(entry, "an entry's header is cut off");
  }
  const std::size_t left = image.size() - entry;
  const std::uint32_t data_size = LittleEndian32(&image[entry]);
  const std::uint32_t header_size = LittleEndian32(&image[entry + 4]);
  if (header_size % 4 != 0 || header_size < kSizes + 8 + kFixedTail) {
    Damaged(entry, "the header size " + std::to_string(header_size) +
                       " is not a multiple of 4 of at least 32");
  }
  if (header_size > left) Damaged(entry, "the header runs past the end of the file");
  if (data_size > left - header_size) {
    Damaged(entry,
            "the data (" + std::to_string(data_size) + " bytes) runs past the end of the file");
  }
  const auto header = image.subspan(entry, header_size);
  std::size_t at = kSizes;
  ResEntryAt found;
  found.entry.type = ReadName(header, at, entry, "type");
  found.entry.id = ReadName(header, at, entry, "identifier");
  at = (at + 3) & ~std::size_t{3};
  if (header_size - std::min<std::size_t>(at, header_size) < kFixedTail) {
    Damaged(entry, "the names leave no room for the rest of the header");
  }
  found.entry.language = LittleEndian16(&header[at + kLanguageInTail]);
  found.entry.header = header;
  found.entry.data = image.subspan(entry + header_size, data_size);
  // Each entry starts on a 4-byte boundary; the last one's padding may be left off.
  const std::size_t padded = (std::size_t{data_size} + 3) & ~std::size_t{3};
  found.next = entry + header_size + std::min(padded, left - header_size);
  return found;
}

std::optional<ResEntry> ResFile::Next() {
  while (offset_ < image_.size()) {
    ResEntryAt found = ReadResEntry(image_, offset_);
    offset_ = found.next;
    // The empty entry that starts a file, and any other of type 0, names no resource.
    if (!NamesNothing(found.entry)) return found.entry;
  }
  return std::nullopt;
}

namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t w) {
  out.push_back(static_cast<std::uint8_t>(w));
  out.push_back(static_cast<std::uint8_t>(w >> 8));
}

void PutDword(std::vector<std::uint8_t>& out, std::uint32_t d) {
  PutWord(out, d & 0xFFFF);
  PutWord(out, d >> 16);
}

void PutName(std::vector<std::uint8_t>& out, const ResNameText& name) {
  if (name.name.empty()) {
    PutWord(out, 0xFFFF);
    PutWord(out, name.number);
    return;
  }
  for (const char16_t unit : name.name) PutWord(out, unit);
  PutWord(out, 0);
}

std::vector<std::uint8_t> Header(const ResNameText& type, const ResNameText& id,
                                 std::uint16_t language, std::uint32_t data_size,
                                 std::uint16_t memory_flags) {
  std::vector<std::uint8_t> out;
  PutDword(out, data_size);
  PutDword(out, 0);  // the header's size, once known
  PutName(out, type);
  PutName(out, id);
  while (out.size() % 4 != 0) out.push_back(0);
  PutDword(out, 0);  // data version
  PutWord(out, memory_flags);
  PutWord(out, language);
  PutDword(out, 0);  // version
  PutDword(out, 0);  // characteristics
  const auto size = static_cast<std::uint32_t>(out.size());
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  return out;
}

}  // namespace

std::vector<std::uint8_t> ResEntryHeader(const ResNameText& type, const ResNameText& id,
                                         std::uint16_t language, std::uint32_t data_size) {
  return Header(type, id, language, data_size, 0x1030);
}

std::vector<std::uint8_t> ResFileStart() { return Header({}, {}, 0, 0, 0); }

}  // namespace bx::detail

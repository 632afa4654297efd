#include "executable.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "elf_note.h"
#include "little_endian.h"
#include "res_directory.h"
#include "res_file.h"

namespace bxres {
namespace {

[[noreturn]] void Bad(std::uint64_t offset, const std::string& what) {
  throw BadExecutable("at byte " + std::to_string(offset) + ": " + what);
}

// Little-endian fields of the file, each checked against its end.
class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> file) noexcept : file_(file) {}

  std::uint64_t Size() const noexcept { return file_.size(); }

  // Whether `size` bytes at `offset` are in the file.
  bool Holds(std::uint64_t offset, std::uint64_t size) const noexcept {
    return offset <= file_.size() && size <= file_.size() - offset;
  }
  std::span<const std::uint8_t> At(std::uint64_t offset, std::uint64_t size,
                                   const char* what) const {
    if (!Holds(offset, size)) {
      Bad(offset, std::string(what) + " (" + std::to_string(size) +
                      " bytes) runs past the end of the file (" + std::to_string(Size()) +
                      " bytes)");
    }
    return file_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
  }
  std::uint64_t Read(std::uint64_t offset, int size, const char* what) const {
    return bx::detail::LittleEndian(At(offset, static_cast<std::uint64_t>(size), what).data(),
                                    size);
  }
  std::uint16_t U16(std::uint64_t offset, const char* what) const {
    return static_cast<std::uint16_t>(Read(offset, 2, what));
  }
  std::uint32_t U32(std::uint64_t offset, const char* what) const {
    return static_cast<std::uint32_t>(Read(offset, 4, what));
  }

 private:
  std::span<const std::uint8_t> file_;
};

// --- ELF: the notes that point to compiled resource images ---

struct Segment {
  std::uint32_t type;
  std::uint64_t offset, vaddr, filesz, align;
};

constexpr std::uint32_t kLoad = 1;
constexpr std::uint32_t kNote = 4;

std::vector<Segment> ElfSegments(const Bytes& f) {
  const std::uint64_t elf_class = f.Read(4, 1, "the ELF class");
  if (elf_class != 1 && elf_class != 2) Bad(4, "the ELF class is neither 32 nor 64 bits");
  const bool wide = elf_class == 2;
  if (f.Read(5, 1, "the ELF data encoding") != 1) {
    Bad(5, "the ELF file is not little-endian, as every target of this library is");
  }
  const std::uint64_t phoff = wide ? f.Read(32, 8, "the ELF header") : f.U32(28, "the ELF header");
  if (phoff > f.Size()) Bad(wide ? 32 : 28, "the program headers start past the end of the file");
  const std::uint16_t phentsize = f.U16(wide ? 54 : 42, "the ELF header");
  const std::uint16_t phnum = f.U16(wide ? 56 : 44, "the ELF header");
  if (phnum == 0)
    Bad(0, "the ELF file has no program headers: it is not an executable or shared object");
  if (phentsize < (wide ? 56u : 32u)) {
    Bad(wide ? 54 : 42, "program headers of " + std::to_string(phentsize) + " bytes are too short");
  }
  std::vector<Segment> segments;
  for (std::uint16_t i = 0; i < phnum; ++i) {
    const std::uint64_t at = phoff + std::uint64_t{i} * phentsize;
    f.At(at, phentsize, "a program header");
    Segment s{};
    s.type = f.U32(at, "a program header");
    if (wide) {
      s.offset = f.Read(at + 8, 8, ""), s.vaddr = f.Read(at + 16, 8, "");
      s.filesz = f.Read(at + 32, 8, ""), s.align = f.Read(at + 48, 8, "");
    } else {
      s.offset = f.U32(at + 4, ""), s.vaddr = f.U32(at + 8, "");
      s.filesz = f.U32(at + 16, ""), s.align = f.U32(at + 28, "");
    }
    segments.push_back(s);
  }
  return segments;
}

// The file offset of virtual address `vaddr`, which `size` bytes from it must share a loaded
// segment's file bytes with.
std::optional<std::uint64_t> FileOffset(const std::vector<Segment>& segments, std::uint64_t vaddr,
                                        std::uint64_t size) {
  for (const Segment& s : segments) {
    if (s.type == kLoad && vaddr >= s.vaddr && vaddr - s.vaddr <= s.filesz &&
        size <= s.filesz - (vaddr - s.vaddr)) {
      return s.offset + (vaddr - s.vaddr);
    }
  }
  return std::nullopt;
}

// An image and its directory, which must list every entry of the image once, in order, and
// whose table must find each: the resources in the directory's order.
void ReadImage(std::span<const std::uint8_t> image, std::uint64_t image_at,
               std::span<const std::uint8_t> directory, std::uint64_t directory_at,
               std::span<const std::uint8_t> table, std::uint64_t table_at,
               std::span<const std::uint8_t> file, Contents& contents) {
  std::vector<std::size_t> starts;  // of the image's entries, in order
  try {
    bx::detail::ResFile walk(image);
    while (const auto entry = walk.Next()) {
      starts.push_back(static_cast<std::size_t>(entry->header.data() - image.data()));
    }
  } catch (const bx::detail::DamagedResFile& e) {
    Bad(image_at, std::string("the resource image that a note points to: ") + e.what());
  }
  const std::size_t count = directory.size() / bx::detail::kResOffsetSize;
  if (count != starts.size()) {
    Bad(directory_at, "the directory lists " + std::to_string(count) + " entries of an image of " +
                          std::to_string(starts.size()));
  }
  const bx::detail::ResDirectory listed(image, directory.data(), static_cast<std::uint32_t>(count));
  const bx::detail::ResDirectory hashed(
      image, directory.data(), static_cast<std::uint32_t>(count), table.data(),
      static_cast<std::uint32_t>(table.size() / bx::detail::kResSlotSize));
  std::optional<bx::detail::ResEntry> last;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t word_at = directory_at + std::uint64_t{i} * bx::detail::kResOffsetSize;
    const std::size_t start =
        bx::detail::LittleEndian32(&directory[i * bx::detail::kResOffsetSize]);
    if (!std::binary_search(starts.begin(), starts.end(), start)) {
      Bad(word_at, "the directory lists byte " + std::to_string(start) +
                       " of the image, where no entry starts");
    }
    const bx::detail::ResEntry entry = listed.At(i);
    if (last && bx::detail::CompareResEntries(*last, entry) >= 0) {
      Bad(word_at, "the directory is out of order at its entry " + std::to_string(i));
    }
    if (!table.empty()) {
      const std::u16string type = bx::detail::Utf16Units(entry.type.name);
      const std::u16string id = bx::detail::Utf16Units(entry.id.name);
      const auto query = [](const bx::detail::ResName& name, const std::u16string& units) {
        return name.name.empty() ? bx::NameQuery{name.number, nullptr}
                                 : bx::NameQuery{std::nullopt, &units};
      };
      try {
        const auto [first, end] = hashed.Find(query(entry.type, type), query(entry.id, id));
        if (i < first || i >= end) Bad(table_at, "the directory's table does not find its entry " +
                                                     std::to_string(i));
      } catch (const bx::detail::DamagedResFile& e) {
        Bad(table_at, std::string("the directory's table: ") + e.what());
      }
    }
    contents.resources.push_back({entry.type, entry.id, entry.language, entry.data,
                                  static_cast<std::uint64_t>(entry.data.data() - file.data())});
    last = entry;
  }
}

void ReadElf(const Bytes& f, std::span<const std::uint8_t> file, Contents& contents) {
  const auto segments = ElfSegments(f);
  for (const Segment& note : segments) {
    if (note.type != kNote) continue;
    const auto bytes = f.At(note.offset, note.filesz, "a note segment");
    bx::detail::ForEachNoteIn(
        bytes.data(), bytes.data() + bytes.size(), note.align == 8 ? 8 : 4,
        bx::detail::kResourcesNote, [&](const unsigned char* desc, std::uint32_t size) {
          const std::uint64_t at = note.offset + static_cast<std::uint64_t>(desc - bytes.data());
          if (size != bx::detail::kResourcesNoteSize) {
            Bad(at, "a resource note of " + std::to_string(size) + " bytes, not " +
                        std::to_string(bx::detail::kResourcesNoteSize));
          }
          const std::uint64_t vaddr = note.vaddr + (at - note.offset);
          // What the offset in the word at `word` (from itself) and a size point to: the file
          // offset of `size` bytes, which a loaded segment must hold.
          const auto pointed = [&](std::uint32_t word, std::uint64_t size, const std::string& what) {
            const auto offset = static_cast<std::int32_t>(bx::detail::NoteWord(desc + word));
            const auto found = FileOffset(
                segments, vaddr + word + static_cast<std::uint64_t>(std::int64_t{offset}), size);
            if (!found) {
              Bad(at, "a resource note points to " + what +
                          " that no loaded segment of the file holds");
            }
            return *found;
          };
          const std::uint32_t image_size = bx::detail::NoteWord(desc + 4);
          const std::uint64_t count = bx::detail::NoteWord(desc + 16);
          const std::uint64_t slots = bx::detail::NoteWord(desc + 24);
          const std::uint64_t image_at =
              pointed(0, image_size, std::to_string(image_size) + " bytes");
          const std::uint64_t directory_at =
              pointed(12, count * bx::detail::kResOffsetSize,
                      "a directory of " + std::to_string(count) + " entries");
          const std::uint64_t table_at =
              pointed(20, slots * bx::detail::kResSlotSize,
                      "a table of " + std::to_string(slots) + " slots");
          ReadImage(f.At(image_at, image_size, "a resource image"), image_at,
                    f.At(directory_at, count * bx::detail::kResOffsetSize, "a directory"),
                    directory_at,
                    f.At(table_at, slots * bx::detail::kResSlotSize, "a directory's table"),
                    table_at, file, contents);
          return true;
        });
  }
}

// --- PE: the resource section's directory of types, names and languages ---

struct Section {
  std::uint32_t vaddr, vsize, raw_size, raw_offset;
};

class Pe {
 public:
  Pe(const Bytes& f, std::span<const std::uint8_t> file) : f_(f), file_(file) {}

  void Read(Contents& contents) {
    if (Locate()) Walk(contents);
  }

  // The entries of each resource directory table, where they are out of order, in order.
  std::vector<Patch> Order() {
    std::vector<Patch> patches;
    if (!Locate()) return patches;
    std::uint64_t visited = 0;
    const auto order = [&](const auto& self, std::uint32_t offset, int depth) -> void {
      std::vector<Entry> entries = Directory(offset);
      visited += entries.size();
      if (visited > size_ / 8) Bad(root_, "the resource directories refer to entries more than once");
      const std::uint64_t at = root_ + offset;
      const std::size_t named = f_.U16(at + 12, "");
      const auto raw = f_.At(at + 16, entries.size() * 8, "");
      std::vector<std::size_t> sorted(entries.size());
      for (std::size_t i = 0; i < sorted.size(); ++i) sorted[i] = i;
      // Names by their code units (as stored: the format's order is case-sensitive), then
      // numbers by value.
      const auto by_number = [&](std::size_t a, std::size_t b) {
        return entries[a].name.number < entries[b].name.number;
      };
      const auto by_units = [&](std::size_t a, std::size_t b) {
        const auto& x = entries[a].name.name;
        const auto& y = entries[b].name.name;
        for (std::size_t i = 0; i + 1 < x.size() && i + 1 < y.size(); i += 2) {
          const std::uint16_t u = bx::detail::LittleEndian16(&x[i]);
          const std::uint16_t v = bx::detail::LittleEndian16(&y[i]);
          if (u != v) return u < v;
        }
        return x.size() < y.size();
      };
      const auto names_end = sorted.begin() + static_cast<std::ptrdiff_t>(std::min(named, sorted.size()));
      std::stable_sort(sorted.begin(), names_end, by_units);
      std::stable_sort(names_end, sorted.end(), by_number);
      bool moved = false;
      Patch patch{at + 16, {}};
      for (std::size_t i = 0; i < sorted.size(); ++i) {
        moved |= sorted[i] != i;
        patch.bytes.insert(patch.bytes.end(), raw.begin() + static_cast<std::ptrdiff_t>(8 * sorted[i]),
                           raw.begin() + static_cast<std::ptrdiff_t>(8 * sorted[i] + 8));
      }
      if (moved) patches.push_back(std::move(patch));
      if (depth == 2) return;  // types, identifiers, then languages
      for (const Entry& entry : entries) {
        if (entry.directory) self(self, entry.target, depth + 1);
      }
    };
    order(order, 0, 0);
    return patches;
  }

 private:
  // Finds the resource section; false where the file has none.
  bool Locate() {
    const std::uint32_t pe = f_.U32(0x3C, "the DOS header");
    if (f_.U32(pe, "the PE signature") != 0x00004550)
      Bad(pe, "no PE signature where the DOS header points");
    const std::uint64_t coff = pe + 4;
    const std::uint16_t sections = f_.U16(coff + 2, "the COFF header");
    const std::uint16_t optional_size = f_.U16(coff + 16, "the COFF header");
    const std::uint64_t optional = coff + 20;
    const std::uint16_t magic = f_.U16(optional, "the optional header");
    if (magic != 0x10B && magic != 0x20B)
      Bad(optional, "the optional header is neither PE32 nor PE32+");
    const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint32_t count = f_.U32(directories - 4, "the optional header");
    sections_.clear();
    for (std::uint16_t i = 0; i < sections; ++i) {
      const std::uint64_t at = optional + optional_size + std::uint64_t{i} * 40;
      sections_.push_back({f_.U32(at + 12, "a section header"), f_.U32(at + 8, "a section header"),
                           f_.U32(at + 16, "a section header"),
                           f_.U32(at + 20, "a section header")});
    }
    constexpr std::uint32_t kResourceDirectory = 2;
    if (count <= kResourceDirectory ||
        directories + 8 * (kResourceDirectory + 1) > optional + optional_size)
      return false;
    const std::uint32_t rva = f_.U32(directories + 8 * kResourceDirectory, "the data directories");
    const std::uint32_t size =
        f_.U32(directories + 8 * kResourceDirectory + 4, "the data directories");
    if (rva == 0 || size == 0) return false;
    root_ = ToOffset(rva, size, "the resource section");
    size_ = size;
    return true;
  }

  std::uint64_t ToOffset(std::uint64_t rva, std::uint64_t size, const char* what) const {
    for (const Section& s : sections_) {
      const std::uint64_t span = s.vsize > s.raw_size ? s.vsize : s.raw_size;
      if (rva >= s.vaddr && rva - s.vaddr < span) {
        const std::uint64_t in = rva - s.vaddr;
        if (in > s.raw_size || size > s.raw_size - in) {
          Bad(s.raw_offset, std::string(what) + " runs past its section's bytes in the file");
        }
        f_.At(s.raw_offset + in, size, what);
        return s.raw_offset + in;
      }
    }
    Bad(0, std::string(what) + " is at an address that no section holds");
  }

  // An offset within the resource section, checked.
  std::uint64_t InSection(std::uint32_t offset, std::uint64_t size, const char* what) const {
    if (offset > size_ || size > size_ - offset) {
      Bad(root_ + offset, std::string(what) + " runs past the end of the resource section");
    }
    return root_ + offset;
  }

  struct Entry {
    bx::detail::ResName name;
    std::uint32_t target;
    bool directory;
  };

  std::vector<Entry> Directory(std::uint32_t offset) const {
    const std::uint64_t at = InSection(offset, 16, "a resource directory");
    const std::uint32_t n = std::uint32_t{f_.U16(at + 12, "")} + f_.U16(at + 14, "");
    InSection(offset + 16, std::uint64_t{n} * 8, "a resource directory's entries");
    std::vector<Entry> entries;
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t name = f_.U32(at + 16 + 8 * i, "");
      const std::uint32_t target = f_.U32(at + 20 + 8 * i, "");
      Entry e{{}, target & 0x7FFFFFFF, (target & 0x80000000) != 0};
      if ((name & 0x80000000) != 0) {
        const std::uint32_t text = name & 0x7FFFFFFF;
        const std::uint64_t length = f_.U16(InSection(text, 2, "a resource name"), "");
        e.name.name = f_.At(InSection(text + 2, length * 2, "a resource name"), length * 2, "");
      } else if (name > 0xFFFF) {
        Bad(at + 16 + 8 * i, "a resource number above 65535");
      } else {
        e.name.number = static_cast<std::uint16_t>(name);
      }
      entries.push_back(std::move(e));
    }
    return entries;
  }

  void Walk(Contents& contents) const {
    // Three levels: types, then identifiers, then languages; deeper or shallower is malformed,
    // and the fixed depth also ends any loop of directories. Entries that directories share
    // would let a small file list the same resources without end: no well-formed section has
    // more entries than fit in it.
    std::uint64_t visited = 0;
    const auto visit = [&](std::uint64_t n) {
      visited += n;
      if (visited > size_ / 8)
        Bad(root_, "the resource directories refer to entries more than once");
    };
    const auto directory = [&](std::uint32_t offset) {
      auto entries = Directory(offset);
      visit(entries.size());
      return entries;
    };
    for (const Entry& type : directory(0)) {
      if (!type.directory) Bad(root_, "a resource type that is not a directory");
      for (const Entry& id : directory(type.target)) {
        if (!id.directory)
          Bad(root_ + type.target, "a resource identifier that is not a directory");
        for (const Entry& language : directory(id.target)) {
          if (language.directory || !language.name.name.empty()) {
            Bad(root_ + id.target, "a resource language that is not a numbered data entry");
          }
          const std::uint64_t at = InSection(language.target, 16, "a resource data entry");
          const std::uint32_t rva = f_.U32(at, "");
          const std::uint32_t size = f_.U32(at + 4, "");
          const std::uint64_t offset = ToOffset(rva, size, "a resource's data");
          contents.resources.push_back({type.name, id.name, language.name.number,
                                        file_.subspan(static_cast<std::size_t>(offset), size),
                                        offset});
        }
      }
    }
  }

  const Bytes& f_;
  std::span<const std::uint8_t> file_;
  std::vector<Section> sections_;
  std::uint64_t root_ = 0;
  std::uint32_t size_ = 0;
};

}  // namespace

Contents ReadResources(std::span<const std::uint8_t> file) {
  const Bytes f(file);
  Contents contents{};
  if (f.Holds(0, 4) && std::memcmp(file.data(),
                                   "\x7F"
                                   "ELF",
                                   4) == 0) {
    contents.format = Format::kElf;
    ReadElf(f, file, contents);
  } else if (f.Holds(0, 2) && file[0] == 'M' && file[1] == 'Z') {
    contents.format = Format::kPe;
    Pe(f, file).Read(contents);
  } else {
    throw BadExecutable(
        "not an executable or shared object: it begins with neither the ELF "
        "signature nor \"MZ\"");
  }
  return contents;
}

std::vector<Patch> ResourceOrder(std::span<const std::uint8_t> file) {
  const Bytes f(file);
  if (!(f.Holds(0, 2) && file[0] == 'M' && file[1] == 'Z')) {
    throw BadExecutable("not a PE file: it does not begin with \"MZ\"");
  }
  return Pe(f, file).Order();
}

}  // namespace bxres

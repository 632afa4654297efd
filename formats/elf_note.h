// The library's notes: how an ELF object tells, in its program headers, where its resources and
// its process-wide block are, without symbols (hidden visibility, cut-down exports or an
// executable that exports nothing change nothing). The loader reads them from the objects
// loaded, bxres from files, and the build writes them (bxres embed, and process_wide_elf.cpp for
// the block). Each note is named "BxRes"; its type says what its description holds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The note types, as macros too for the notes that are written in assembler. Descriptions:
//   process-wide block: the offset from itself to the object's block (32 bits, signed), then
//     the block's layout (BX_PROCESS_WIDE_LAYOUT);
//   resources: the offset from itself to a compiled resource image (.res) in the object, the
//     image's size, the offset from itself to a zero-terminated text that says where the image
//     came from, the offset from itself to the offsets of the image's directory
//     (res_directory.h) and their number, and the offset from itself to the directory's hash
//     table and its number of slots (each 32 bits; no table when that number is 0).
#define BX_PROCESS_WIDE_NOTE 0x42785257
#define BX_RESOURCES_NOTE 0x42785253

namespace bx::detail {

inline constexpr std::uint32_t kProcessWideNote = BX_PROCESS_WIDE_NOTE;
inline constexpr std::uint32_t kResourcesNote = BX_RESOURCES_NOTE;
inline constexpr std::uint32_t kProcessWideNoteSize = 8;  // the descriptions' sizes
inline constexpr std::uint32_t kResourcesNoteSize = 28;

// The 32-bit word at `p`, which need not be aligned.
inline std::uint32_t NoteWord(const unsigned char* p) noexcept {
  std::uint32_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Calls `visit(desc, desc_size)` for every "BxRes" note of `type` in the notes from `p` to `end`
// (a note segment, whose alignment `align`, 4 or 8, pads names and descriptions), until it
// returns false; returns false then. Stops at a note that does not fit. Used on the segments of
// the objects loaded, and by the command-line tool on a file's.
template <class Visit>
bool ForEachNoteIn(const unsigned char* p, const unsigned char* end, std::size_t align,
                   std::uint32_t type, Visit&& visit) {
  constexpr std::size_t kHeaderSize = 12;  // name size, description size, type
  constexpr char kName[6] = {'B', 'x', 'R', 'e', 's', '\0'};
  const auto padded = [align](std::uint32_t n) {
    return (std::size_t{n} + align - 1) & ~(align - 1);
  };
  while (end - p >= static_cast<std::ptrdiff_t>(kHeaderSize)) {
    const std::uint32_t name_size = NoteWord(p);
    const std::uint32_t desc_size = NoteWord(p + 4);
    const std::size_t size = kHeaderSize + padded(name_size) + padded(desc_size);
    if (size > static_cast<std::size_t>(end - p)) return true;
    if (name_size == sizeof kName && NoteWord(p + 8) == type &&
        std::equal(kName, kName + sizeof kName, p + kHeaderSize) &&
        !visit(p + kHeaderSize + padded(name_size), desc_size)) {
      return false;
    }
    p += size;
  }
  return true;
}

// The address that a signed 32-bit offset at `p` points to, counted from `p`.
inline const unsigned char* NoteTarget(const unsigned char* p) noexcept {
  return p + static_cast<std::int32_t>(NoteWord(p));
}

}  // namespace bx::detail

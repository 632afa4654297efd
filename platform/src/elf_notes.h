// The library's notes in the program headers of the objects of the process (the executable and
// every shared object loaded). Notes are how one object finds what another holds without
// symbols: hidden visibility, cut-down exports or an executable that exports nothing change
// nothing. Each note is named "BxRes"; its type says what its description holds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace bx::detail {

// The note types. Their descriptions:
//   kProcessWideNote: the offset from itself to the object's process-wide block (32 bits,
//     signed), then the block's layout version;
//   kResourcesNote: the offset from itself to a compiled resource image (.res) in the object,
//     the image's size, and the offset from itself to a zero-terminated text that says where
//     the image came from (each 32 bits).
inline constexpr std::uint32_t kProcessWideNote = 0x42785257;
inline constexpr std::uint32_t kResourcesNote = 0x42785253;

struct ElfNote {
  const char* object;         // the object's file name, or "" for the executable
  const unsigned char* desc;  // the description, 4-byte aligned
  std::uint32_t desc_size;
};

// Calls `visit` for every "BxRes" note of `type` in the objects loaded, in load order (the
// executable first); stops early when it returns false.
void ForEachNote(std::uint32_t type, bool (*visit)(const ElfNote& note, void* context),
                 void* context);

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
const unsigned char* NoteTarget(const unsigned char* p) noexcept;

// Keeps a shared object loaded until the process ends, so that what it holds stays valid; the
// executable ("") needs nothing.
void KeepLoaded(const char* object) noexcept;

// How messages name an object.
const char* ObjectName(const char* object) noexcept;

}  // namespace bx::detail

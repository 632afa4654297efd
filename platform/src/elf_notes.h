// The library's notes in the program headers of the objects of the process (the executable and
// every shared object loaded), found through the dynamic loader; their layout is elf_note.h's.
#pragma once

#include <cstdint>

#include "elf_note.h"

namespace bx::detail {

struct ElfNote {
  const char* object;         // the object's file name, or "" for the executable
  const unsigned char* desc;  // the description, 4-byte aligned
  std::uint32_t desc_size;
};

// Calls `visit` for every "BxRes" note of `type` in the objects loaded, in load order (the
// executable first); stops early when it returns false.
void ForEachNote(std::uint32_t type, bool (*visit)(const ElfNote& note, void* context),
                 void* context);

// Keeps a shared object loaded until the process ends, so that what it holds stays valid; the
// executable ("") needs nothing.
void KeepLoaded(const char* object) noexcept;

// How messages name an object.
const char* ObjectName(const char* object) noexcept;

}  // namespace bx::detail

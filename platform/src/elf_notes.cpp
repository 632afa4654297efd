#include "elf_notes.h"

#include <dlfcn.h>  // Required for: dlopen, to keep objects loaded
#include <link.h>   // Required for: dl_iterate_phdr

#include <cstring>

// Weak, so that a static executable, which can load nothing it could unload, does not link the
// dynamic loader's dlopen (and get the linker's warning about it): there it is null.
#pragma weak dlopen

namespace bx::detail {
namespace {

constexpr std::size_t kHeaderSize = 12;  // name size, description size, type
constexpr char kName[8] = "BxRes";       // with its zero, padded to 4 bytes

struct Search {
  std::uint32_t type;
  bool (*visit)(const ElfNote&, void*);
  void* context;
  bool stopped = false;
};

void SearchSegment(const unsigned char* p, const unsigned char* end, std::size_t align,
                   const char* object, Search& search) {
  const auto padded = [align](std::uint32_t n) {
    return (std::size_t{n} + align - 1) & ~(align - 1);
  };
  while (!search.stopped && end - p >= static_cast<std::ptrdiff_t>(kHeaderSize)) {
    const std::uint32_t name_size = NoteWord(p);
    const std::uint32_t desc_size = NoteWord(p + 4);
    const std::size_t size = kHeaderSize + padded(name_size) + padded(desc_size);
    if (size > static_cast<std::size_t>(end - p)) return;
    if (name_size == 6 && NoteWord(p + 8) == search.type &&
        std::memcmp(p + kHeaderSize, kName, 6) == 0) {
      const ElfNote note{object, p + kHeaderSize + padded(name_size), desc_size};
      search.stopped = !search.visit(note, search.context);
    }
    p += size;
  }
}

int SearchObject(dl_phdr_info* info, std::size_t, void* data) {
  auto& search = *static_cast<Search*>(data);
  for (int i = 0; i < info->dlpi_phnum && !search.stopped; ++i) {
    const auto& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* p = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
    SearchSegment(p, p + segment.p_memsz, segment.p_align == 8 ? 8 : 4, info->dlpi_name, search);
  }
  return search.stopped ? 1 : 0;
}

}  // namespace

void ForEachNote(std::uint32_t type, bool (*visit)(const ElfNote&, void*), void* context) {
  Search search{type, visit, context};
  dl_iterate_phdr(SearchObject, &search);
}

std::uint32_t NoteWord(const unsigned char* p) noexcept {
  std::uint32_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

const unsigned char* NoteTarget(const unsigned char* p) noexcept {
  return p + static_cast<std::int32_t>(NoteWord(p));
}

void KeepLoaded(const char* object) noexcept {
  if (object[0] != '\0' && dlopen != nullptr)
    dlopen(object, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

const char* ObjectName(const char* object) noexcept {
  return object[0] == '\0' ? "the executable" : object;
}

}  // namespace bx::detail

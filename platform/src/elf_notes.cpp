#include "elf_notes.h"

#include <dlfcn.h>  // Required for: dlopen, to keep objects loaded
#include <link.h>   // Required for: dl_iterate_phdr

#include <cstring>

// Weak, so that a static executable, which can load nothing it could unload, does not link the
// dynamic loader's dlopen (and get the linker's warning about it): there it is null.
#pragma weak dlopen

namespace bx::detail {
namespace {

struct Search {
  std::uint32_t type;
  bool (*visit)(const ElfNote&, void*);
  void* context;
  bool stopped = false;
};

int SearchObject(dl_phdr_info* info, std::size_t, void* data) {
  auto& search = *static_cast<Search*>(data);
  for (int i = 0; i < info->dlpi_phnum && !search.stopped; ++i) {
    const auto& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* p = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
    search.stopped = !ForEachNoteIn(
        p, p + segment.p_memsz, segment.p_align == 8 ? 8 : 4, search.type,
        [&](const unsigned char* desc, std::uint32_t desc_size) {
          return search.visit(ElfNote{info->dlpi_name, desc, desc_size}, search.context);
        });
  }
  return search.stopped ? 1 : 0;
}

}  // namespace

void ForEachNote(std::uint32_t type, bool (*visit)(const ElfNote&, void*), void* context) {
  Search search{type, visit, context};
  dl_iterate_phdr(SearchObject, &search);
}

void KeepLoaded(const char* object) noexcept {
  if (object[0] != '\0' && dlopen != nullptr)
    dlopen(object, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

const char* ObjectName(const char* object) noexcept {
  return object[0] == '\0' ? "the executable" : object;
}

}  // namespace bx::detail

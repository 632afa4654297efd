// The process-wide block on ELF targets. Every object (the executable, a shared library, a
// module) that links the library holds a block of its own and a note in its program headers
// that says where that block is. The first object in the process's load order that has such a
// note holds the block that all of them use: the executable when it links the library, else the
// first shared object loaded that does. Notes are found through the program headers of the
// objects loaded, not through symbols, so hidden visibility, a library's cut-down exports or an
// executable that exports nothing (linked with plain `g++`) make no second block.
#include <dlfcn.h>  // Required for: dlopen, to keep objects loaded
#include <link.h>   // Required for: dl_iterate_phdr

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "process_wide.h"

// Weak, so that a static executable, which can load nothing it could unload, does not link the
// dynamic loader's dlopen (and get the linker's warning about it): there it is null.
#pragma weak dlopen

// This object's own block and its note: hidden, so that each object has one and the note's
// offset is fixed when the object is linked.
extern "C" {
[[gnu::visibility("hidden")]] constinit bx::detail::ProcessWide bx_res_process_wide{};
[[gnu::visibility("hidden")]] extern const unsigned char bx_res_process_wide_note[];
}

// The note: name "BxRes", type 0x42785257; its description is the offset from itself to the
// object's block, and the block's layout (raise it whenever ProcessWide changes, so that two
// builds that disagree on it refuse to share).
asm(R"(
  .pushsection .note.bxres,"a",%note
  .balign 4
  .globl bx_res_process_wide_note
  .hidden bx_res_process_wide_note
bx_res_process_wide_note:
  .long 6, 8, 0x42785257
  .asciz "BxRes"
  .balign 4
  .long bx_res_process_wide - .
  .long 1
  .popsection
)");

namespace bx::detail {
namespace {

constexpr std::size_t kHeaderSize = 12;  // name size, description size, type
constexpr std::size_t kNameSize = 8;     // "BxRes" and its zero, padded to 4 bytes

std::uint32_t Word(const unsigned char* p) {
  std::uint32_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

const unsigned char* Description(const unsigned char* note) { return note + kHeaderSize + kNameSize; }

// Whether `note` has the name, type and description size of this object's note.
bool IsBlockNote(const unsigned char* note) {
  return std::memcmp(note, bx_res_process_wide_note, kHeaderSize + kNameSize) == 0;
}

struct Search {
  const unsigned char* first = nullptr;  // the first block note in load order
  const char* first_object = nullptr;
  const char* own_object = nullptr;      // set once this object's own note is seen
};

void SearchSegment(const unsigned char* p, const unsigned char* end, std::size_t align,
                   const char* object, Search& search) {
  const auto padded = [align](std::uint32_t n) { return (std::size_t{n} + align - 1) & ~(align - 1); };
  while (end - p >= static_cast<std::ptrdiff_t>(kHeaderSize)) {
    const std::size_t size = kHeaderSize + padded(Word(p)) + padded(Word(p + 4));
    if (size > static_cast<std::size_t>(end - p)) return;
    if (size == kHeaderSize + kNameSize + 8 && IsBlockNote(p)) {
      if (search.first == nullptr) {
        search.first = p;
        search.first_object = object;
      }
      if (p == bx_res_process_wide_note) search.own_object = object;
    }
    p += size;
  }
}

int SearchObject(dl_phdr_info* info, std::size_t, void* data) {
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const auto& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* p = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
    SearchSegment(p, p + segment.p_memsz, segment.p_align == 8 ? 8 : 4, info->dlpi_name,
                  *static_cast<Search*>(data));
  }
  return 0;
}

const char* ObjectName(const char* name) { return name[0] == '\0' ? "the executable" : name; }

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "BxRes: %s\n", why.c_str());
  std::abort();
}

// Keeps a shared object loaded until the process ends; the executable needs nothing.
void KeepLoaded(const char* object) {
  if (object[0] != '\0' && dlopen != nullptr) dlopen(object, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

ProcessWide* FindBlock() {
  Search search;
  dl_iterate_phdr(SearchObject, &search);
  if (search.own_object == nullptr) {
    Fail("an object's process-wide note (section .note.bxres) is not in its program headers "
         "(left out by a linker script?), so it cannot share the process's registry and cursor");
  }
  const unsigned char* desc = Description(search.first);
  if (Word(desc + 4) != Word(Description(bx_res_process_wide_note) + 4)) {
    Fail(std::string("two builds of the library that cannot share one registry and one cursor "
                     "are loaded, in ") +
         ObjectName(search.first_object) + " and in " + ObjectName(search.own_object));
  }
  KeepLoaded(search.first_object);
  KeepLoaded(search.own_object);
  const auto offset = static_cast<std::int32_t>(Word(desc));
  return reinterpret_cast<ProcessWide*>(const_cast<unsigned char*>(desc) + offset);
}

}  // namespace

ProcessWide& TheProcessWide() noexcept {
  static ProcessWide* const block = FindBlock();
  return *block;
}

}  // namespace bx::detail

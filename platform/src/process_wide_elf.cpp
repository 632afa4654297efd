// The process-wide block on ELF targets. Every object (the executable, a shared library, a
// module) that links the library holds a block of its own and a note in its program headers
// that says where that block is. The first object in the process's load order that has such a
// note holds the block that all of them use: the executable when it links the library, else the
// first shared object loaded that does. Notes are found through the program headers of the
// objects loaded, not through symbols, so hidden visibility, a library's cut-down exports or an
// executable that exports nothing (linked with plain `g++`) make no second block.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bxres/embedded_resource.h"
#include "elf_notes.h"
#include "platform.h"

// The shared layout as BX_PROCESS_WIDE_LAYOUT has it (see platform.h): a change here is a new
// layout, and these fail until the number is raised and they are brought up to date.
static_assert(BX_PROCESS_WIDE_LAYOUT == 2, "the checks below are of layout 2");
namespace bx::detail {
inline constexpr std::size_t kWord = sizeof(void*);
static_assert(sizeof(ProcessWide) == 2 * kWord && offsetof(ProcessWide, module_stream) == kWord);
static_assert(sizeof(ResourceName) == 2 * kWord && offsetof(ResourceName, name) == kWord);
static_assert(sizeof(EmbeddedResource) == 8 * kWord &&
              offsetof(EmbeddedResource, type) == 2 * kWord &&
              offsetof(EmbeddedResource, language) == 4 * kWord &&
              offsetof(EmbeddedResource, begin) == 5 * kWord &&
              offsetof(EmbeddedResource, next) == 7 * kWord);
}  // namespace bx::detail

// This object's own block and its note: hidden, so that each object has one and the note's
// offset is fixed when the object is linked; kept by link-time optimization although only the
// note refers to the block.
extern "C" {
[[gnu::visibility("hidden"), gnu::used]] constinit bx::detail::ProcessWide bx_res_process_wide{};
[[gnu::visibility("hidden")]] extern const unsigned char bx_res_process_wide_note[];
}

// The note (elf_note.h): name "BxRes"; its description is the offset from itself to the
// object's block, and the block's layout, so that two builds that disagree on it refuse to
// share.
#define BX_STRINGIFY(x) #x
#define BX_TEXT_OF(x) BX_STRINGIFY(x)
asm(R"(
  .pushsection .note.bxres,"a",%note
  .balign 4
  .globl bx_res_process_wide_note
  .hidden bx_res_process_wide_note
bx_res_process_wide_note:
  .long 6, 8, )" BX_TEXT_OF(BX_PROCESS_WIDE_NOTE) R"(
  .asciz "BxRes"
  .balign 4
  .long bx_res_process_wide - .
  .long )" BX_TEXT_OF(BX_PROCESS_WIDE_LAYOUT) R"(
  .popsection
)");

namespace bx::detail {
namespace {

struct Search {
  const ElfNote* own = nullptr;  // this object's own note, once seen
  ElfNote first{};               // the first block note in load order
  ElfNote own_found{};
};

bool Visit(const ElfNote& note, void* context) {
  auto& search = *static_cast<Search*>(context);
  if (note.desc_size != kProcessWideNoteSize) return true;
  if (search.first.desc == nullptr) search.first = note;
  if (note.desc == search.own->desc) search.own_found = note;
  return search.own_found.desc == nullptr;
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "BxRes: %s\n", why.c_str());
  std::abort();
}

ProcessWide* FindBlock() {
  // This object's note, as the search sees it: the description after the 12-byte header and
  // the padded name.
  const ElfNote own{"", bx_res_process_wide_note + 20, 8};
  Search search{&own};
  ForEachNote(kProcessWideNote, Visit, &search);
  if (search.own_found.desc == nullptr) {
    Fail(
        "an object's process-wide note (section .note.bxres) is not in its program headers "
        "(left out by a linker script?), so it cannot share the process's registry and cursor");
  }
  if (NoteWord(search.first.desc + 4) != NoteWord(own.desc + 4)) {
    Fail(std::string("two builds of the library that cannot share one registry and one cursor "
                     "are loaded, in ") +
         ObjectName(search.first.object) + " and in " + ObjectName(search.own_found.object));
  }
  KeepLoaded(search.first.object);
  KeepLoaded(search.own_found.object);
  return reinterpret_cast<ProcessWide*>(const_cast<unsigned char*>(NoteTarget(search.first.desc)));
}

}  // namespace

ProcessWide& TheProcessWide() noexcept {
  static ProcessWide* const block = FindBlock();
  return *block;
}

}  // namespace bx::detail

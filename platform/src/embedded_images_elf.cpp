// The embedded images on ELF targets: each object lists its own in notes (see elf_note.h), which
// the build writes beside the image. Nothing runs at start-up, so the images are there for any
// code of the process, static constructors included, whatever the order they run in.
#include <link.h>  // Required for: dl_iterate_phdr

#include <atomic>
#include <cstddef>

#include "elf_notes.h"
#include "platform.h"

namespace bx::detail {
namespace {

struct Visitor {
  bool (*visit)(const EmbeddedImage&, void*);
  void* context;
};

bool VisitNote(const ElfNote& note, void* context) {
  const auto& visitor = *static_cast<const Visitor*>(context);
  if (note.desc_size != kResourcesNoteSize) {
    const EmbeddedImage other{{}, nullptr, 0, nullptr, 0, ObjectName(note.object), note.object,
                              "its resources were embedded by a build of another layout"};
    return visitor.visit(other, visitor.context);
  }
  const EmbeddedImage image{{NoteTarget(note.desc), NoteWord(note.desc + 4)},
                            NoteTarget(note.desc + 12),
                            NoteWord(note.desc + 16),
                            NoteTarget(note.desc + 20),
                            NoteWord(note.desc + 24),
                            reinterpret_cast<const char*>(NoteTarget(note.desc + 8)),
                            note.object,
                            nullptr};
  return visitor.visit(image, visitor.context);
}

// The dynamic loader's counts of objects loaded and unloaded, which only grow: their sum
// changes whenever either does. Any object's entry carries them.
int ReadGeneration(dl_phdr_info* info, std::size_t size, void* data) {
  if (size >= offsetof(dl_phdr_info, dlpi_subs) + sizeof info->dlpi_subs) {
    *static_cast<std::uint64_t*>(data) = info->dlpi_adds + info->dlpi_subs;
  }
  return 1;
}

}  // namespace

void ForEachEmbeddedImage(bool (*visit)(const EmbeddedImage&, void*), void* context) {
  Visitor visitor{visit, context};
  ForEachNote(kResourcesNote, VisitNote, &visitor);
}

std::uint64_t ImagesGeneration() noexcept {
  std::uint64_t generation = 0;
  dl_iterate_phdr(ReadGeneration, &generation);
  if (generation != 0) return generation;
  static std::atomic<std::uint64_t> calls{0};  // a loader that does not count
  return (std::uint64_t{1} << 63) | ++calls;
}

void KeepImageLoaded(const EmbeddedImage& image) noexcept { KeepLoaded(image.object); }

}  // namespace bx::detail

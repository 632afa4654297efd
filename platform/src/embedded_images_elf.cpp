// The embedded images on ELF targets: each object lists its own in notes (see elf_notes.h), which
// the build writes beside the image. Nothing runs at start-up, so the images are there for any
// code of the process, static constructors included, whatever the order they run in.
#include "elf_notes.h"
#include "embedded_images.h"

namespace bx::detail {
namespace {

struct Visitor {
  bool (*visit)(const EmbeddedImage&, void*);
  void* context;
};

bool VisitNote(const ElfNote& note, void* context) {
  if (note.desc_size != 12) return true;
  const auto& visitor = *static_cast<const Visitor*>(context);
  const EmbeddedImage image{{NoteTarget(note.desc), NoteWord(note.desc + 4)},
                            reinterpret_cast<const char*>(NoteTarget(note.desc + 8)),
                            note.object};
  return visitor.visit(image, visitor.context);
}

}  // namespace

void ForEachEmbeddedImage(bool (*visit)(const EmbeddedImage&, void*), void* context) {
  Visitor visitor{visit, context};
  ForEachNote(kResourcesNote, VisitNote, &visitor);
}

void KeepImageLoaded(const EmbeddedImage& image) noexcept { KeepLoaded(image.object); }

}  // namespace bx::detail

// Where the build's resources are found when the platform has no resource section to search (ELF
// targets, and any other but Windows): in the compiled resource images that the build embedded
// in the objects of the process. Where one identifier and type exist in several languages, the
// one that suits the user's language best is taken, as Windows takes it (languages.h).
//
// The images of the process are listed once, and the list kept until an object is loaded or
// unloaded; nothing of them is read for it. Each image comes with a directory of its entries,
// which the build wrote beside it (res_directory.h): a lookup is a search of each image's hash
// table, which reads a slot or two and the header of what it finds, then a choice among the
// languages of what it found.
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bxres/errors.h"
#include "languages.h"
#include "platform.h"
#include "res_directory.h"

namespace bx {
namespace {

struct Images {
  std::mutex lock;               // streams may be opened on several threads at once
  std::uint64_t generation = 0;  // of the list; none is 0, so 0 is "not listed yet"
  std::vector<detail::EmbeddedImage> list;
  std::vector<bool> kept;  // whether an image's object is kept loaded already

  void Build() {
    list.clear();
    detail::ForEachEmbeddedImage(
        [](const detail::EmbeddedImage& image, void* images) {
          static_cast<Images*>(images)->list.push_back(image);
          return true;
        },
        this);
    kept.assign(list.size(), false);
  }
};

Images& TheImages() {
  static Images images;
  return images;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type,
                                                          std::optional<std::uint16_t> language,
                                                          const ReadValue& ResID,
                                                          const ReadValue& ResType) {
  Images& images = TheImages();
  const std::lock_guard hold(images.lock);
  const std::uint64_t generation = detail::ImagesGeneration();
  if (generation != images.generation) {
    images.Build();
    images.generation = generation;
  }
  const auto damaged = [&](const detail::EmbeddedImage& image, const std::string& what) {
    return DamagedResourcesError(std::string(image.origin) + ", " + what + " (looking up " +
                                 DescribeResource(ResID, ResType) + ")");
  };
  // Where images hold the same resource, the first found (the executable's) is taken.
  const std::uint16_t user = language.value_or(detail::UserLanguage());
  std::optional<detail::ResEntry> best;
  std::size_t best_image = 0;
  for (std::size_t i = 0; i < images.list.size(); ++i) {
    const detail::EmbeddedImage& image = images.list[i];
    if (image.unreadable != nullptr) throw damaged(image, image.unreadable);
    const detail::ResDirectory directory(image.bytes, image.directory, image.entries, image.table,
                                         image.slots);
    try {
      const auto [first, last] = directory.Find(type, id);
      for (std::uint32_t position = first; position < last; ++position) {
        const detail::ResEntry candidate = directory.At(position);
        if (Matches(candidate.type, type) && Matches(candidate.id, id) &&
            (!best || detail::BetterLanguage(candidate.language, best->language, user))) {
          best = candidate;
          best_image = i;
        }
      }
    } catch (const detail::DamagedResFile& e) {
      throw damaged(image, e.what());
    }
  }
  if (!best) return std::nullopt;
  if (!images.kept[best_image]) {  // once: it asks the dynamic loader, under its lock
    detail::KeepImageLoaded(images.list[best_image]);
    images.kept[best_image] = true;
  }
  return best->data;
}

}  // namespace bx

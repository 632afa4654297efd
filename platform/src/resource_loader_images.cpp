// Where the build's resources are found when the platform has no resource section to search (ELF
// targets, and any other but Windows): in the compiled resource images that the build embedded
// in the objects of the process. Where one identifier and type exist in several languages, the
// one that suits the user's language best is taken, as Windows takes it (languages.h).
//
// The images are walked once into an index of their entries, sorted by type and identifier as a
// resource directory is, which is kept until an object is loaded or unloaded; a lookup is a
// binary search of the index, then a choice among the languages of what it found.
#include <algorithm>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "bxres/errors.h"
#include "languages.h"
#include "platform.h"
#include "res_file.h"

namespace bx {
namespace {

struct IndexEntry {
  detail::ResEntry entry;
  std::size_t image;  // in Index::images
};

struct Index {
  std::mutex lock;               // streams may be opened on several threads at once
  std::uint64_t generation = 0;  // of the images read; none is 0, so 0 is "not read yet"
  std::vector<detail::EmbeddedImage> images;
  std::vector<bool> kept;  // whether an image's object is kept loaded already
  std::vector<IndexEntry> entries;
  std::string damaged;  // where an image could not be read, if one could not

  void Build() {
    images.clear();
    entries.clear();
    damaged.clear();
    detail::ForEachEmbeddedImage(
        [](const detail::EmbeddedImage& image, void* index) {
          static_cast<Index*>(index)->images.push_back(image);
          return true;
        },
        this);
    kept.assign(images.size(), false);
    for (std::size_t i = 0; i < images.size(); ++i) {
      detail::ResFile file(images[i].bytes);
      try {
        while (const auto entry = file.Next()) entries.push_back({*entry, i});
      } catch (const detail::DamagedResFile& e) {
        damaged = std::string(images[i].origin) + ", " + e.what();
        return;
      }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
      const int type = detail::CompareNames(a.entry.type, b.entry.type);
      return type != 0 ? type < 0 : detail::CompareNames(a.entry.id, b.entry.id) < 0;
    });
  }

  // The entries of this type and identifier, in every language.
  std::span<const IndexEntry> Find(const NameQuery& type, const NameQuery& id) const {
    const auto order = [&](const IndexEntry& e) {
      const int by_type = detail::CompareNames(e.entry.type, type);
      return by_type != 0 ? by_type : detail::CompareNames(e.entry.id, id);
    };
    const auto first = std::partition_point(entries.begin(), entries.end(),
                                            [&](const IndexEntry& e) { return order(e) < 0; });
    const auto last = std::partition_point(first, entries.end(),
                                           [&](const IndexEntry& e) { return order(e) == 0; });
    return {first, last};
  }
};

Index& TheIndex() {
  static Index index;
  return index;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type,
                                                          const ReadValue& ResID,
                                                          const ReadValue& ResType) {
  Index& index = TheIndex();
  const std::lock_guard hold(index.lock);
  const std::uint64_t generation = detail::ImagesGeneration();
  if (generation != index.generation) {
    index.Build();
    index.generation = generation;
  }
  if (!index.damaged.empty()) {
    throw DamagedResourcesError(index.damaged + " (looking up " + DescribeResource(ResID, ResType) +
                                ")");
  }
  const std::uint16_t user = detail::UserLanguage();
  const IndexEntry* best = nullptr;
  for (const IndexEntry& candidate : index.Find(type, id)) {
    if (Matches(candidate.entry.type, type) && Matches(candidate.entry.id, id) &&
        (best == nullptr ||
         detail::BetterLanguage(candidate.entry.language, best->entry.language, user))) {
      best = &candidate;
    }
  }
  if (best == nullptr) return std::nullopt;
  if (!index.kept[best->image]) {  // once: it asks the dynamic loader, under its lock
    detail::KeepImageLoaded(index.images[best->image]);
    index.kept[best->image] = true;
  }
  return best->entry.data;
}

}  // namespace bx

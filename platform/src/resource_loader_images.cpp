// The resource loader where the platform has no resource section to search (ELF targets, and
// any other but Windows): resources registered at run time first, then the compiled resource
// images that the build embedded in the objects of the process. Where one identifier and type
// exist in several languages, the one that suits the user's language best is taken, as Windows
// takes it (languages.h).
#include <string>

#include "bxres/errors.h"
#include "bxres/platform.h"
#include "embedded_images.h"
#include "languages.h"
#include "resource_names.h"

namespace bx {
namespace {

struct Search {
  Search(const Wanted& id_, const Wanted& type_) : id(id_), type(type_) {}
  const Wanted& id;
  const Wanted& type;
  std::uint16_t user = detail::UserLanguage();
  bool have = false;
  std::span<const std::uint8_t> found;
  std::uint16_t language = 0;
  detail::EmbeddedImage image{};
  std::string damaged;  // where an image could not be read
};

bool SearchImage(const detail::EmbeddedImage& image, void* context) {
  auto& search = *static_cast<Search*>(context);
  detail::ResFile file(image.bytes);
  try {
    while (const auto entry = file.Next()) {
      if (!Matches(entry->type, search.type) || !Matches(entry->id, search.id)) continue;
      if (!search.have || detail::BetterLanguage(entry->language, search.language, search.user)) {
        search.have = true;
        search.found = entry->data;
        search.language = entry->language;
        search.image = image;
      }
    }
  } catch (const detail::DamagedResFile& e) {
    search.damaged = std::string(image.origin) + ", " + e.what();
    return false;
  }
  return true;
}

}  // namespace

ReadValue LoadResourceData(const ReadValue& ResID, const ReadValue& ResType) {
  const Wanted id = ToWanted(ResID, "identifier");
  const Wanted type = ToWanted(ResType, "type");
  if (const EmbeddedResource* found = FindRegistered(id, type)) {
    return ByteArray::View({found->begin, found->end});
  }
  Search search(id, type);
  detail::ForEachEmbeddedImage(SearchImage, &search);
  if (!search.damaged.empty()) {
    throw DamagedResourcesError(search.damaged + " (looking up " + DescribeResource(ResID, ResType) +
                                ")");
  }
  if (!search.have) ThrowNotFound(ResID, ResType);
  detail::KeepImageLoaded(search.image);
  return ByteArray::View(search.found);
}

}  // namespace bx

// The resource loader, but for where each platform keeps what the build embedded (FindEmbedded,
// in a file of each platform's): the registry of resources that were registered at run time,
// which comes first. Identifiers and types are formats/resource_names.h's.
#include <optional>

#include "bxres/embedded_resource.h"
#include "bxres/errors.h"
#include "languages.h"
#include "platform.h"
#include "resource_names.h"

namespace bx {
namespace {

// The list of resources registered at run time, one for the process (see platform.h);
// nothing here is locked.
EmbeddedResource*& Registered() noexcept { return detail::TheProcessWide().resources; }

}  // namespace

void RegisterResource(EmbeddedResource& resource) noexcept {
  EmbeddedResource*& head = Registered();
  for (EmbeddedResource* r = head; r != nullptr; r = r->next) {
    if (r == &resource) return;
  }
  resource.next = head;
  head = &resource;
}

void UnregisterResource(EmbeddedResource& resource) noexcept {
  for (EmbeddedResource** link = &Registered(); *link != nullptr; link = &(*link)->next) {
    if (*link == &resource) {
      *link = resource.next;
      resource.next = nullptr;
      return;
    }
  }
}

namespace {

// The registered resource with this identifier and type, in the language that suits a user of
// `user` best (languages.h); null if there is none.
const EmbeddedResource* FindRegistered(const NameQuery& id, const NameQuery& type,
                                       std::uint16_t user) {
  const EmbeddedResource* best = nullptr;
  for (const EmbeddedResource* r = Registered(); r != nullptr; r = r->next) {
    if (Matches(r->id, id) && Matches(r->type, type) &&
        (best == nullptr || detail::BetterLanguage(r->language, best->language, user))) {
      best = r;
    }
  }
  return best;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResourceData(
    const ReadValue& ResID, const ReadValue& ResType, std::optional<std::uint16_t> language) {
  const NameQuery id = ToNameQuery(ResID, "identifier");
  const NameQuery type = ToNameQuery(ResType, "type");
  if (const EmbeddedResource* found =
          FindRegistered(id, type, language.value_or(detail::UserLanguage()))) {
    return std::span<const std::uint8_t>(found->begin, found->end);
  }
  return FindEmbedded(id, type, language, ResID, ResType);
}

std::span<const std::uint8_t> LoadResourceData(const ReadValue& ResID, const ReadValue& ResType) {
  if (const auto bytes = FindResourceData(ResID, ResType)) return *bytes;
  throw ResourceNotFoundError(DescribeResource(ResID, ResType) +
                              " is not embedded in this program");
}

}  // namespace bx

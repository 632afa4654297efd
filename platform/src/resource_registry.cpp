// The resource loader, but for where each platform keeps what the build embedded (FindEmbedded,
// in a file of each platform's): identifiers and types, and the registry of resources that were
// registered at run time, which comes first.
#include <limits>
#include <optional>

#include "bxres/embedded_resource.h"
#include "bxres/errors.h"
#include "bxres/value_text.h"
#include "languages.h"
#include "platform.h"
#include "resource_names.h"

namespace bx {
namespace {

// The list of resources registered at run time, one for the process (see platform.h);
// nothing here is locked.
EmbeddedResource*& Registered() noexcept { return detail::TheProcessWide().resources; }

std::string NameText(const ReadValue& v);

std::uint16_t CheckedNumber(std::int64_t n, const ReadValue& v, const char* role) {
  if (n < 1 || n > std::numeric_limits<std::uint16_t>::max()) {
    throw ConversionError("resource " + std::string(role) + " " + NameText(v) +
                          " is outside the numbers 1 to 65535");
  }
  return static_cast<std::uint16_t>(n);
}

// "#123" names the number 123, as resource scripts write it.
std::optional<std::int64_t> HashNumber(const std::u16string& s) {
  if (s.size() < 2 || s.size() > 7 || s[0] != u'#') return std::nullopt;
  std::int64_t n = 0;
  for (char16_t c : s.substr(1)) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  return n;
}

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

std::string NameText(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
      return ToUtf8(ToText(v));
    case VT_BSTR: {
      std::string quoted(1, '"');
      quoted += ToUtf8(v.String());
      quoted += '"';
      return quoted;
    }
  }
  return Describe(v);
}

}  // namespace

NameQuery ToNameQuery(const ReadValue& v, const char* role) {
  switch (v.Kind()) {
    case VT_UI1:
      return {CheckedNumber(v.Byte(), v, role)};
    case VT_I2:
      return {CheckedNumber(v.Integer(), v, role)};
    case VT_I4:
      return {CheckedNumber(v.Long(), v, role)};
    case VT_BSTR:
      if (auto n = HashNumber(v.String())) return {CheckedNumber(*n, v, role)};
      return {std::nullopt, &v.String()};
  }
  throw ConversionError("a resource " + std::string(role) +
                        " is a number from 1 to 65535 or a name, not " +
                        (v.IsEmpty() ? std::string("the Empty value") : Describe(v)));
}

// An empty name names no resource, as on Windows: an entry with a number holds no name, and the
// resource compiler stores nothing under an empty one.
bool Matches(const detail::ResName& have, const NameQuery& want) {
  if (want.number) return have.name.empty() && have.number == *want.number;
  if (want.name->empty()) return false;
  if (have.name.size() != want.name->size() * 2) return false;
  for (std::size_t i = 0; i < want.name->size(); ++i) {
    const auto unit = static_cast<char16_t>(have.name[2 * i] | have.name[2 * i + 1] << 8);
    if (FoldAscii(unit) != FoldAscii((*want.name)[i])) return false;
  }
  return true;
}

bool Matches(const ResourceName& have, const NameQuery& want) {
  if (want.number) return have.name == nullptr && have.number == *want.number;
  if (have.name == nullptr || want.name->empty()) return false;
  const char16_t* p = have.name;
  for (char16_t c : *want.name) {
    if (*p == u'\0' || FoldAscii(*p) != FoldAscii(c)) return false;
    ++p;
  }
  return *p == u'\0';
}

std::string DescribeResource(const ReadValue& ResID, const ReadValue& ResType) {
  return "resource " + NameText(ResID) + " of type " + NameText(ResType);
}

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

// The registered resource with this identifier and type, in the language that suits the user
// best (languages.h); null if there is none.
const EmbeddedResource* FindRegistered(const NameQuery& id, const NameQuery& type) {
  const EmbeddedResource* best = nullptr;
  const std::uint16_t user = detail::UserLanguage();
  for (const EmbeddedResource* r = Registered(); r != nullptr; r = r->next) {
    if (Matches(r->id, id) && Matches(r->type, type) &&
        (best == nullptr || detail::BetterLanguage(r->language, best->language, user))) {
      best = r;
    }
  }
  return best;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResourceData(const ReadValue& ResID,
                                                              const ReadValue& ResType) {
  const NameQuery id = ToNameQuery(ResID, "identifier");
  const NameQuery type = ToNameQuery(ResType, "type");
  if (const EmbeddedResource* found = FindRegistered(id, type)) {
    return std::span<const std::uint8_t>(found->begin, found->end);
  }
  return FindEmbedded(id, type, ResID, ResType);
}

std::span<const std::uint8_t> LoadResourceData(const ReadValue& ResID, const ReadValue& ResType) {
  if (const auto bytes = FindResourceData(ResID, ResType)) return *bytes;
  throw ResourceNotFoundError(DescribeResource(ResID, ResType) +
                              " is not embedded in this program");
}

}  // namespace bx

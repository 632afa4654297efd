// The resource loader on ELF targets: every resource that the build embedded registers itself at
// start-up, so the registry is all there is to search.
#include "bxres/platform.h"
#include "resource_names.h"

namespace bx {

ReadValue LoadResourceData(const ReadValue& ResID, const ReadValue& ResType) {
  const EmbeddedResource* found =
      FindRegistered(ToWanted(ResID, "identifier"), ToWanted(ResType, "type"));
  if (found == nullptr) ThrowNotFound(ResID, ResType);
  return ByteArray::View({found->begin, found->end});
}

}  // namespace bx

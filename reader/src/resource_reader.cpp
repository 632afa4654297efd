// BxRes: the module's one process-wide stream, and the operations on it that are not inline in
// the header.
#include "bxres/resource_reader.h"

#include "platform.h"  // Required for: TheProcessWide

namespace BxRes {

namespace detail {
namespace {
// This object's candidate for the process-wide stream; the first object to use the module puts
// its own in the process-wide block, and every object uses that one.
constinit bx::ResourceStream g_own_stream;
}  // namespace

bx::ResourceStream& FindTheStream() noexcept {
  void*& stream = bx::detail::TheProcessWide().module_stream;
  if (stream == nullptr) stream = &g_own_stream;
  return *static_cast<bx::ResourceStream*>(stream);
}

}  // namespace detail

void Load(const ReadValue& ResID, const ReadValue& ResType) {
  // The new stream is made first, so that a failed Load leaves the previous one as it was.
  detail::TheStream() = bx::ResourceStream(ResID, ResType);
}

std::int32_t ReadBlock(void* Address, std::int32_t Length) {
  return detail::TheStream().ReadBlock(Address, Length);
}

ReadValue ReadToken() { return detail::TheStream().ReadToken(); }
bool ReadToken(std::u16string& into) { return detail::TheStream().ReadToken(into); }
bool ReadToken(std::string& into) { return detail::TheStream().ReadToken(into); }

}  // namespace BxRes

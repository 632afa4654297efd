// BxRes: the module's one process-wide stream, and the operations on it that are not inline in
// the header.
#include "bxres/resource_reader.h"

#include <cstddef>

#include "platform.h"  // Required for: TheProcessWide, BX_PROCESS_WIDE_LAYOUT

// The module's stream is shared by every copy of the library in the process, in the layout that
// BX_PROCESS_WIDE_LAYOUT numbers (see platform.h): a change to the stream is a new layout, and
// this fails until the number is raised and the check brought up to date.
static_assert(BX_PROCESS_WIDE_LAYOUT == 2 &&
                  sizeof(bx::ResourceStream) ==
                      (4 * sizeof(void*) + 3 * sizeof(std::int32_t) + alignof(void*) - 1) /
                          alignof(void*) * alignof(void*),
              "the module's stream changed: raise BX_PROCESS_WIDE_LAYOUT");

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

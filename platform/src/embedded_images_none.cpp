// Targets where the build embeds no images: there are none to search.
#include "platform.h"

namespace bx::detail {

void ForEachEmbeddedImage(bool (*)(const EmbeddedImage&, void*), void*) {}

std::uint64_t ImagesGeneration() noexcept { return 1; }

void KeepImageLoaded(const EmbeddedImage&) noexcept {}

}  // namespace bx::detail

// Targets where the build embeds no images: there are none to search.
#include "embedded_images.h"

namespace bx::detail {

void ForEachEmbeddedImage(bool (*)(const EmbeddedImage&, void*), void*) {}

void KeepImageLoaded(const EmbeddedImage&) noexcept {}

}  // namespace bx::detail

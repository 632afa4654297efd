// The compiled resource images (.res) that the build embedded in the objects of the process,
// where the platform has no resource section of its own to search.
#pragma once

#include <cstdint>
#include <span>

namespace bx::detail {

struct EmbeddedImage {
  std::span<const std::uint8_t> bytes;
  const char* origin;  // for messages: the target and the file the image was built from
  const char* object;  // the object that holds it, for KeepImageLoaded
};

// Calls `visit` for every image of every object loaded, the executable's first; stops early
// when it returns false.
void ForEachEmbeddedImage(bool (*visit)(const EmbeddedImage& image, void* context), void* context);

// A number, never 0, that changes whenever the images may have (an object was loaded or
// unloaded since), so that what was read of them can be kept until then. Where nothing tells, it
// changes on every call.
std::uint64_t ImagesGeneration() noexcept;

// Keeps the object that holds `image` loaded until the process ends: a view of its bytes has
// been handed out.
void KeepImageLoaded(const EmbeddedImage& image) noexcept;

}  // namespace bx::detail

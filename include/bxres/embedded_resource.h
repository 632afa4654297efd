// Bytes that a program (or a test) makes known to the loader as a resource at run time. What the
// build embeds needs none of this: it is found where the build put it. Programs rarely need this
// header.
#pragma once

#include <cstdint>

namespace bx {

// A resource identifier or type: a number, or a name when `name` is not null.
struct ResourceName {
  std::uint16_t number = 0;
  const char16_t* name = nullptr;
};

struct EmbeddedResource {
  ResourceName id;
  ResourceName type;
  std::uint16_t language = 0;
  const std::uint8_t* begin = nullptr;
  const std::uint8_t* end = nullptr;
  EmbeddedResource* next = nullptr;  // owned by the registry
};

// Makes `resource` visible to LoadResourceData. It must stay alive until it is unregistered or
// the process ends. Registering one already registered does nothing.
void RegisterResource(EmbeddedResource& resource) noexcept;

// Removes `resource` again; unknown ones are ignored.
void UnregisterResource(EmbeddedResource& resource) noexcept;

}  // namespace bx

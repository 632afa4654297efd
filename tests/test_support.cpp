// Test resources registered at run time, and a whole resource as text.
#include "test_support.h"

#include <bxres/resource_reader.h>

#include "stream_state.h"

ScopedResource::ScopedResource(std::uint16_t id, const char16_t* type,
                               std::vector<std::uint8_t> bytes, std::uint16_t language)
    : bytes_(std::move(bytes)),
      entry_{{id, nullptr}, {0, type}, language, bytes_.data(), bytes_.data() + bytes_.size()} {
  bx::RegisterResource(entry_);
}

ScopedResource::~ScopedResource() { bx::UnregisterResource(entry_); }

void ResetReader() { BxRes::detail::TheStream() = {}; }

std::string LoadedText(std::int32_t id, const char* type) {
  BxRes::Load(id, type);
  std::string text(static_cast<std::size_t>(BxRes::Size()), '\0');
  BxRes::ReadBlock(text.data(), BxRes::Size());
  return text;
}

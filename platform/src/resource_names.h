// Resource identifiers and types as the loader compares them, and what each platform's file of
// the loader provides.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "bxres/embedded_resource.h"
#include "bxres/read_value.h"
#include "res_file.h"

namespace bx {

// What an identifier or type asks for: a number, or a name (the text held by the ReadValue).
struct NameQuery {
  std::optional<std::uint16_t> number;
  const std::u16string* name = nullptr;
};

// Reads an identifier or type ("identifier" or "type" is its `role` in messages): integers from
// 1 to 65535, "#123" as the number 123, other strings as names. Raises ConversionError for
// anything else.
NameQuery ToNameQuery(const ReadValue& v, const char* role);

// Whether a registered name is the one wanted: the same number, or the same name without
// regard to ASCII case.
bool Matches(const ResourceName& have, const NameQuery& want);
bool Matches(const detail::ResName& have, const NameQuery& want);

// The bytes of the resource with this identifier and type that the build embedded, in the
// language that suits the user best, as a view of the image; nothing if there is none. ResID
// and ResType, as the caller gave them, are for messages. Each platform has its own.
std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type,
                                                          const ReadValue& ResID,
                                                          const ReadValue& ResType);

}  // namespace bx

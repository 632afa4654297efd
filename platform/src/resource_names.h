// Resource identifiers and types as the loader compares them.
#pragma once

#include "bxres/embedded_resource.h"
#include "bxres/read_value.h"
#include "platform.h"
#include "res_file.h"

namespace bx {

// Reads an identifier or type ("identifier" or "type" is its `role` in messages): integers from
// 1 to 65535, "#123" as the number 123, other strings as names. Raises ConversionError for
// anything else.
NameQuery ToNameQuery(const ReadValue& v, const char* role);

// Whether a registered name is the one wanted: the same number, or the same name without
// regard to ASCII case.
bool Matches(const ResourceName& have, const NameQuery& want);
bool Matches(const detail::ResName& have, const NameQuery& want);

}  // namespace bx

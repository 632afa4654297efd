// The memory move that every copy of more than one byte goes through. Not part of the library's
// interface: it is here because the stream's typed readers, inline in resource_stream.h, use it.
#pragma once

#include <cstddef>
#include <cstring>

namespace bx::detail {

// Copies `Length` bytes from `Source` to `Destination`; the two ranges may overlap. Inline, so
// that a copy of a constant size compiles to a plain load and store. The name is in
// parentheses because <windows.h> defines RtlMoveMemory as a function-like macro; after that
// header, call it as (bx::detail::RtlMoveMemory)(...).
inline void(RtlMoveMemory)(void* Destination, const void* Source, std::size_t Length) noexcept {
  // memmove wants valid pointers even for a count of 0; a zero-length move touches nothing.
  if (Length != 0) std::memmove(Destination, Source, Length);
}

}  // namespace bx::detail

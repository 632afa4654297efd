// The memory-move routine.
#include <cstring>

#include "bxres/platform.h"

namespace bx {

void RtlMoveMemory(void* Destination, const void* Source, std::size_t Length) noexcept {
  // memmove with a count of 0 still wants valid pointers; a zero-length move touches nothing.
  if (Length != 0) std::memmove(Destination, Source, Length);
}

}  // namespace bx

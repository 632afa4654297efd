// The process-wide block where each module (a Windows executable or DLL, or any target without
// ELF's program headers) keeps its own: a DLL that links the library has a registry and a
// stream of its own.
#include "platform.h"

namespace bx::detail {

ProcessWide& TheProcessWide() noexcept {
  static constinit ProcessWide block{};
  return block;
}

}  // namespace bx::detail

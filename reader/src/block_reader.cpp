// ReadBlock: raw bytes at the cursor into the caller's memory; the stream's and, beside it, the
// module's.
#include <string>

#include "bxres/platform.h"
#include "bxres/resource_reader.h"
#include "bxres/resource_stream.h"
#include "res_state.h"

namespace bx {

std::int32_t ResourceStream::ReadBlock(void* Address, std::int32_t Length) {
  constexpr const char* kOperation = "ReadBlock";
  // A negative count would be a huge copy, and a null destination a crash: refuse both before
  // anything moves.
  if (Length < 0) {
    throw BoundsError(Where(kOperation) + ": negative length " + std::to_string(Length));
  }
  if (Address == nullptr && Length != 0) {
    throw BoundsError(Where(kOperation) + ": null destination for " + std::to_string(Length) +
                      " bytes");
  }
  std::int32_t n = Length;
  if (CheckedAdd(n, kOperation) >= ResSize) {
    n = ResSize - ResPos;  // both are non-negative, so this cannot overflow
  }
  CheckCursorInside(kOperation);
  RtlMoveMemory(Address, ResData.data() + ResPos, static_cast<std::size_t>(n));
  ResPos += n;
  return n;
}

}  // namespace bx

std::int32_t BxRes::ReadBlock(void* Address, std::int32_t Length) {
  return detail::TheStream().ReadBlock(Address, Length);
}

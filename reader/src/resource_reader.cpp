// The module's functions: the operations of the one process-wide stream.
#include "bxres/resource_reader.h"

#include "res_state.h"

namespace BxRes {

void Load(const ReadValue& ResID, const ReadValue& ResType) {
  // The new stream is made first, so that a failed Load leaves the previous one as it was.
  TheStream = bx::ResourceStream(ResID, ResType);
}

std::int32_t Position() noexcept { return TheStream.Position(); }
std::int32_t Size() noexcept { return TheStream.Size(); }

ReadValue ReadByte() { return TheStream.ReadByte(); }
ReadValue ReadInteger() { return TheStream.ReadInteger(); }
ReadValue ReadLong() { return TheStream.ReadLong(); }
ReadValue ReadSingle() { return TheStream.ReadSingle(); }
ReadValue ReadDouble() { return TheStream.ReadDouble(); }
std::int32_t ReadBlock(void* Address, std::int32_t Length) { return TheStream.ReadBlock(Address, Length); }
ReadValue ReadToken() { return TheStream.ReadToken(); }

}  // namespace BxRes

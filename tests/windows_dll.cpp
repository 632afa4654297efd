// A DLL that links the library and reads the program's resources with its own cursor.
#include <bxres/resource_reader.h>
#include <bxres/resource_stream.h>

#include <exception>

extern "C" __declspec(dllexport) std::int32_t DllFirstByte(std::int32_t id, const char* type) {
  BxRes::Load(id, type);
  return BxRes::ReadByte().Byte();
}

extern "C" __declspec(dllexport) std::int32_t DllPosition() { return BxRes::Position(); }

// Read while the DLL's static objects are constructed, before the program's: the program's
// resource 101, of 28 bytes.
namespace {
std::int32_t SizeAtStart() {
  try {
    return bx::ResourceStream(101, "CUSTOM").Size();
  } catch (const std::exception&) {
    return -1;
  }
}
const std::int32_t size_at_start = SizeAtStart();
}  // namespace

extern "C" __declspec(dllexport) std::int32_t DllSizeAtStart() { return size_at_start; }

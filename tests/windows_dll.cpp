// A DLL that links the library and reads the program's resources with its own cursor.
#include <bxres/resource_reader.h>

extern "C" __declspec(dllexport) std::int32_t DllFirstByte(std::int32_t id, const char* type) {
  BxRes::Load(id, type);
  return BxRes::ReadByte().Byte();
}

extern "C" __declspec(dllexport) std::int32_t DllPosition() { return BxRes::Position(); }

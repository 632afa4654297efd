// A module, opened with dlopen, that declares a resource and reads with the library's cursor.
#include <bxres/resource_reader.h>

extern "C" void ModuleLoad(std::int32_t id, const char* type) { BxRes::Load(id, type); }
extern "C" bx::ReadValue ModuleReadLong() { return BxRes::ReadLong(); }

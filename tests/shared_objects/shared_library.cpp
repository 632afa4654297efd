// A shared library that declares a resource and reads with the library's cursor.
#include <bxres/resource_reader.h>

extern "C" void SharedLoad(std::int32_t id, const char* type) { BxRes::Load(id, type); }
extern "C" bx::ReadValue SharedReadInteger() { return BxRes::ReadInteger(); }

// A shared library that declares a resource and reads with the library's cursor.
#include <bxres/resource_reader.h>

#define BX_EXPORT [[gnu::visibility("default")]]

extern "C" BX_EXPORT void SharedLoad(std::int32_t id, const char* type) { BxRes::Load(id, type); }
// The value through a pointer: a function of C linkage returns no C++ class.
extern "C" BX_EXPORT void SharedReadInteger(bx::ReadValue* value) { *value = BxRes::ReadInteger(); }

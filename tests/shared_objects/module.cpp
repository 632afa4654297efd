// A module, opened with dlopen, that declares a resource and reads with the library's cursor.
#include <bxres/resource_reader.h>

#define BX_EXPORT [[gnu::visibility("default")]]

extern "C" BX_EXPORT void ModuleLoad(std::int32_t id, const char* type) { BxRes::Load(id, type); }
// The value through a pointer: a function of C linkage returns no C++ class.
extern "C" BX_EXPORT void ModuleReadLong(bx::ReadValue* value) { *value = BxRes::ReadLong(); }
extern "C" BX_EXPORT std::int32_t ModulePosition() { return BxRes::Position(); }

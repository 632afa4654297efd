// A shared library that declares a resource and reads with the library's cursor.
#include <bxres/resource_reader.h>
#include <bxres/resource_stream.h>

#include <string>

#define BX_EXPORT [[gnu::visibility("default")]]

extern "C" BX_EXPORT void SharedLoad(std::int32_t id, const char* type) { BxRes::Load(id, type); }
// The value through a pointer: a function of C linkage returns no C++ class.
extern "C" BX_EXPORT void SharedReadInteger(bx::ReadValue* value) { *value = BxRes::ReadInteger(); }

// Read while the library's static objects are constructed, before the program's: a resource of
// the library and one of the program.
namespace {
std::string TextAtStart(const char* type) {
  try {
    bx::ResourceStream stream(type[0] == 'S' ? 1 : 101, type);
    return std::to_string(stream.Size()) + " bytes";
  } catch (const std::exception& e) {
    return e.what();
  }
}
const std::string text_at_start = TextAtStart("SharedLibrary") + ", " + TextAtStart("CUSTOM");
}  // namespace

extern "C" BX_EXPORT const char* SharedTextAtStart() { return text_at_start.c_str(); }

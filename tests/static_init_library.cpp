// A static library that opens a stream while its static objects are constructed.
#include "static_init.h"

namespace {
const std::string library_text = TextAtStart([] { return bx::ResourceStream(1, "OnlyResources"); });
}  // namespace

const std::string& LibraryTextAtStart() { return library_text; }

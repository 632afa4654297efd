// Streams opened while static objects are constructed, before main: by the test program and by
// a static library it links (static_init_library.cpp). Each is the text of the resource, or the
// error that opening it raised.
#pragma once

#include <bxres/resource_stream.h>

#include <string>

// The whole stream as text, or "error: ..." where opening it raised.
template <class Open>
std::string TextAtStart(Open open) {
  try {
    bx::ResourceStream stream = open();
    std::string text(static_cast<std::size_t>(stream.Size()), '\0');
    if (!text.empty()) stream.ReadBlock(text.data(), stream.Size());
    return text;
  } catch (const std::exception& e) {
    return std::string("error: ") + e.what();
  }
}

// What the static library read at start-up.
extern const std::string& LibraryTextAtStart();

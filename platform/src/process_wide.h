// What a process holds once, however many of its shared objects link the library: the registry
// of resources and the module's stream. Every copy of the library in the process finds the same
// block, whatever the visibility of the objects' symbols and however they were linked.
#pragma once

namespace bx {
struct EmbeddedResource;

namespace detail {

// Process-wide and not thread-safe: the registry of resources registered at run time is the
// program's to keep to one thread at a time, as is the module's stream.
struct ProcessWide {
  EmbeddedResource* resources;  // the registry, newest first
  void* module_stream;          // BxRes's stream, placed by the first object that uses it
};

// The process's one block, found on first use. An object that uses it stays loaded until the
// process ends (it may hold resources in the registry or the stream), as does the object that
// holds the block. Where the block cannot be found safely, this reports why on standard error
// and aborts rather than let an object go on with a second, silent copy.
ProcessWide& TheProcessWide() noexcept;

}  // namespace detail
}  // namespace bx

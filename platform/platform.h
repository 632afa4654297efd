// What the library asks of the platform underneath it: the one header between the reader
// (reader/) and the code that differs by platform (platform/src/). It also answers the core's
// one question (core/user_locale.h). Nothing here is part of the library's interface; no public
// header includes it.
//
// The first half is what the code above calls. The second half is what each platform's files
// provide to the loader; platform/CMakeLists.txt picks the files:
//   Windows:            resource_loader_windows, user_locale_windows, process_wide_single
//   ELF (Linux, BSDs):  resource_loader_images, embedded_images_elf, elf_notes,
//                       user_locale_posix, process_wide_elf
//   any other target:   resource_loader_images, embedded_images_none, user_locale_posix,
//                       process_wide_single
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "bxres/read_value.h"
#include "resource_names.h"  // Required for: NameQuery, DescribeResource (formats/)
#include "user_locale.h"     // Required for: UserDecimalSeparator, which user_locale_* answer

namespace bx {
struct EmbeddedResource;

// --- Called by the code above the platform ---

// The exact bytes of the resource with this identifier and type that is embedded in the running
// program: a view of them where the program keeps them, valid until the process ends (nothing
// copied, added or stripped). Identifiers and types are integers (any integer kind, 1 to
// 65535) or strings; strings compare without regard to ASCII case, and "#123" names the number
// 123. Resources registered at run time (bxres/embedded_resource.h) come first, then those the
// build embedded. Where one identifier and type exist in several languages, the one that suits
// the user's language best is taken, as Windows' FindResource takes it.
// Raises ResourceNotFoundError when there is no such resource, ConversionError when an
// identifier or type is of another kind or out of range, and DamagedResourcesError when an
// embedded image cannot be read. (resource_registry.cpp)
std::span<const std::uint8_t> LoadResourceData(const ReadValue& ResID, const ReadValue& ResType);

// The same, but nothing where LoadResourceData raises ResourceNotFoundError; the other errors
// are raised as it raises them. Given a `language`, the languages of a resource are chosen among
// as for a user of that language. (resource_registry.cpp)
std::optional<std::span<const std::uint8_t>> FindResourceData(
    const ReadValue& ResID, const ReadValue& ResType,
    std::optional<std::uint16_t> language = std::nullopt);

namespace detail {

// What a process holds once, however many of its shared objects link the library: the registry
// of resources and the module's stream. On ELF systems every copy of the library in the process
// finds the same block, whatever the visibility of the objects' symbols and however they were
// linked; on Windows each DLL that links the library has a block of its own
// (process_wide_single), as a DLL has its own resources.
// Process-wide and not thread-safe: the registry of resources registered at run time is the
// program's to keep to one thread at a time, as is the module's stream.
struct ProcessWide {
  EmbeddedResource* resources;  // the registry, newest first
  void* module_stream;          // BxRes's stream, placed by the first object that uses it
};

// The layout of what the block shares: ProcessWide, the registry's EmbeddedResource and the
// module's bx::ResourceStream. Copies of the library share the block only when their numbers
// agree, so it is raised with every change to any of them; checks beside the code that shares
// each (process_wide_elf.cpp, reader/src/resource_reader.cpp) stop the build until it is.
// A macro, for the note that carries it is written in assembler.
#define BX_PROCESS_WIDE_LAYOUT 2

// The process's one block, found on first use. An object that uses it stays loaded until the
// process ends (it may hold resources in the registry or the stream), as does the object that
// holds the block. Where the block cannot be found safely, this reports why on standard error
// and aborts rather than let an object go on with a second, silent copy. (process_wide_*)
ProcessWide& TheProcessWide() noexcept;

// --- Provided by each platform to the loader ---

// The user's language as Windows numbers it (LANGID): on POSIX systems from the locale
// environment (LC_ALL, LC_MESSAGES, then LANG, the first that is set and not empty), on Windows
// the user's interface language; 0 for none. Read once. (user_locale_*)
std::uint16_t UserLanguage() noexcept;

}  // namespace detail

// The bytes of the resource with this identifier and type that the build embedded, in the
// language that suits the user best (or a user of `language`, when given), as a view of the
// image; nothing if there is none. ResID and ResType, as the caller gave them, are for
// messages. (resource_loader_*)
std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type,
                                                          std::optional<std::uint16_t> language,
                                                          const ReadValue& ResID,
                                                          const ReadValue& ResType);

namespace detail {

// Where the platform has no resource section of its own to search, the build embeds compiled
// resource images (.res) in the objects of the process. (embedded_images_*)
struct EmbeddedImage {
  std::span<const std::uint8_t> bytes;
  // The image's directory (res_directory.h): its offsets, how many, its table, how many slots.
  const std::uint8_t* directory;
  std::uint32_t entries;
  const std::uint8_t* table;
  std::uint32_t slots;
  const char* origin;  // for messages: the program or library the image was built for
  const char* object;  // the object that holds it, for KeepImageLoaded
  // Why the image cannot be read (written by a build of another layout), or null.
  const char* unreadable;
};

// Calls `visit` for every image of every object loaded, the executable's first; stops early
// when it returns false.
void ForEachEmbeddedImage(bool (*visit)(const EmbeddedImage& image, void* context), void* context);

// A number, never 0, that changes whenever the images may have (an object was loaded or
// unloaded since), so that what was read of them can be kept until then. Where nothing tells, it
// changes on every call.
std::uint64_t ImagesGeneration() noexcept;

// Keeps the object that holds `image` loaded until the process ends: a view of its bytes has
// been handed out.
void KeepImageLoaded(const EmbeddedImage& image) noexcept;

}  // namespace detail
}  // namespace bx

// How resources go into a program, one run for all of a target's resources: on ELF, one C++
// source that assembles compiled resource entries into read-only data, with the notes that tell
// the loader where they are; for Windows, one compiled resource file (.res) that the toolchain
// links into the image's resource section. `bxres embed` writes either for builds that do not
// use CMake, and bx_add_resource and bx_add_resource_script run that command for the builds
// that do. Either way the same resource declared twice stops the build, naming both places.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bxres {

// A file to embed as it is, under an identifier and a type written as bx_add_resource takes
// them: numbers from 1 to 65535 (also "#123"), RCDATA and the other kept types by name, or
// names of letters, digits and _ (not starting with a digit), stored in upper case.
struct FileResource {
  std::string id;
  std::string type;
  std::string file;
  std::uint16_t language = 0;
  // Where it was declared, for messages (a CMakeLists.txt, say); the file's path when empty.
  std::string origin;
};

// A compiled resource file (.res) to embed with all its resources, or, when `check_only`, one
// that goes into the program another way (the resource compiler's own object, on Windows), read
// only so that a resource it shares with the others is refused.
struct ResInput {
  std::string file;
  std::string origin;  // the script it was compiled from, for messages; the file when empty
  bool check_only = false;
};

// An input that cannot be embedded; what() says which and why.
class EmbedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class EmbedFormat {
  kElfSource,  // a C++ source for an ELF target
  kResFile,    // a compiled resource file for a Windows target
};

struct Embedding {
  std::string contents;             // the source, or the bytes of the .res file
  std::vector<std::string> inputs;  // every file it reads
};

struct EmbedOptions {
  // The output's path: a source's labels are named after it, so that the sources of one
  // program (which link-time optimization may assemble as one) never share a label.
  std::string output;
  // The program or library that the output goes into, which names each image in the loader's
  // messages as "<owner> (<origin>)"; "bxres embed" when empty.
  std::string owner;
  EmbedFormat format = EmbedFormat::kElfSource;
};

// The output for `files` and the compiled resource files `res_files`. Raises EmbedError for a
// name or number out of range, a type that only a resource script can declare, the same
// resource (type, identifier and language) twice among all the inputs, a file that cannot be
// read or is too large, or a .res file that is damaged.
Embedding Embed(const std::vector<FileResource>& files, const std::vector<ResInput>& res_files,
                const EmbedOptions& options);

// A depfile in Make's syntax: `target` depends on every one of `inputs`.
std::string Depfile(const std::string& target, const std::vector<std::string>& inputs);

}  // namespace bxres

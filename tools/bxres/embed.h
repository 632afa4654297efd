// How resources go into an ELF program: one C++ source that assembles compiled resource entries
// into read-only data, with the notes that tell the loader where they are. `bxres embed` writes
// it for builds that do not use CMake, and bx_add_resource and bx_add_resource_script run that
// command for the builds that do.
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
};

// An input that cannot be embedded; what() says which and why.
class EmbedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Embedding {
  std::string source;               // the C++ source
  std::vector<std::string> inputs;  // every file it assembles, absolute
};

struct EmbedOptions {
  // The source's path: its labels are named after it, so that the sources of one program (which
  // link-time optimization may assemble as one) never share a label.
  std::string output;
  // The program or library that the source goes into, which names each image in the loader's
  // messages as "<owner> (<file>)"; "bxres embed" when empty.
  std::string owner;
};

// The source for `files` and the compiled resource files (.res) `res_files`. Raises EmbedError
// for a name or number out of range, a type that only a resource script can declare, the same
// resource twice, a file that cannot be read, or a .res file that is damaged.
Embedding Embed(const std::vector<FileResource>& files, const std::vector<std::string>& res_files,
                const EmbedOptions& options);

// A depfile in Make's syntax: `target` depends on every one of `inputs`.
std::string Depfile(const std::string& target, const std::vector<std::string>& inputs);

}  // namespace bxres

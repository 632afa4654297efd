// What a build that does not use CMake runs to embed resources in an ELF program: one C++ source
// that assembles compiled resource entries into read-only data, with the notes that tell the
// loader where they are, as bx_add_resource and bx_add_resource_script write them.
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

// The source for `files` and the compiled resource files (.res) `res_files`; `comment` says in
// its first line what generated it. Raises EmbedError for a name or number out of range, a type
// that only a resource script can declare, the same resource twice, a file that cannot be read,
// or a .res file that is damaged.
Embedding Embed(const std::vector<FileResource>& files, const std::vector<std::string>& res_files,
                const std::string& comment);

// A depfile in Make's syntax: `target` depends on every one of `inputs`.
std::string Depfile(const std::string& target, const std::vector<std::string>& inputs);

}  // namespace bxres

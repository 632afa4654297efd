// The resources that an executable or shared object holds, read from its file: an ELF object
// built with this library (the compiled resource images its notes point to), or a PE one (its
// resource section). For the command-line tool; the program itself finds its resources through
// the loader.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "res_file.h"

namespace bxres {

struct Resource {
  // As the loader holds them: a number, or a name of UTF-16 code units viewing the file.
  bx::detail::ResName type;
  bx::detail::ResName id;
  std::uint16_t language = 0;
  std::span<const std::uint8_t> data;  // a view of the file's bytes
  std::uint64_t offset = 0;            // where the data starts in the file
};

// A file that is no executable, or one that is cut off or malformed; what() says what and
// where ("at byte 64: ...").
class BadExecutable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Format { kElf, kPe };

struct Contents {
  Format format;
  // In the order of the resource directories (by type, identifier and language), which a PE
  // file holds and an ELF image lists beside it.
  std::vector<Resource> resources;
};

// Bytes to write over a file's, at `offset`.
struct Patch {
  std::uint64_t offset;
  std::vector<std::uint8_t> bytes;
};

// What puts the entries of every resource directory table of a PE file (the whole of it) in the
// order the format requires, names by their code units before numbers by value: Windows and
// Wine find a resource by a binary search of each table. GNU ld, merging the resource sections
// of several objects, orders names without regard to case, so that one with _ and one with a
// letter in the same place (A_, AB) come out the other way round, and one of them is not found.
// Nothing where all is in order. The patches only move whole entries of 8 bytes, so the file's
// checksum (a sum of its 16-bit words) stays right. Raises BadExecutable.
std::vector<Patch> ResourceOrder(std::span<const std::uint8_t> file);

// Reads the resources of `file`, the whole of an executable or shared object. Every offset and
// size is checked against the file before it is used, so any bytes at all are safe to read.
// Raises BadExecutable.
Contents ReadResources(std::span<const std::uint8_t> file);

}  // namespace bxres

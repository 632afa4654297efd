// Compiled resource files (.res), as the Windows resource compiler writes them: one entry after
// another, each a header that names the resource (type, identifier, language) followed by its
// bytes, every entry starting on a 4-byte boundary. A file begins with an empty entry, which
// names nothing and is skipped. This is how resources are embedded where the platform has no
// resource section of its own: the resource compiler's output goes into the image as it is.
// The reader (the loader, bxres) and the writer (bxres embed) are both here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "resource_names.h"

namespace bx::detail {

struct ResEntry {
  ResName type;
  ResName id;
  std::uint16_t language = 0;
  std::span<const std::uint8_t> header;  // the whole header, as the image holds it
  std::span<const std::uint8_t> data;
};

// A .res image that is not as the format has it; what() says where ("at byte 40: ...").
class DamagedResFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The entry at `offset` of an image, and where the next one starts. Raises DamagedResFile where
// the header or its data does not fit in the image, or a size is not a multiple of 4 as the
// format requires.
struct ResEntryAt {
  ResEntry entry;
  std::size_t next = 0;
};
ResEntryAt ReadResEntry(std::span<const std::uint8_t> image, std::size_t offset);

// Walks the entries of a .res image. Nothing is copied: entries view the image. Every size is
// checked against the image before it is used, so any bytes at all are safe to walk.
class ResFile {
 public:
  explicit ResFile(std::span<const std::uint8_t> image) noexcept : image_(image) {}

  // The next resource, or nothing at the end of the image. Raises DamagedResFile where a header
  // or its data does not fit in the image, or a size is not a multiple of 4 as the format
  // requires; the walk cannot go on after that.
  std::optional<ResEntry> Next();

 private:
  std::span<const std::uint8_t> image_;
  std::size_t offset_ = 0;
};

// The header of one entry, everything before its `data_size` bytes of data, as the resource
// compiler writes it: moveable, pure and discardable, data version, version and characteristics
// 0. The data follows it, padded to a multiple of 4 before the next entry.
std::vector<std::uint8_t> ResEntryHeader(const ResNameText& type, const ResNameText& id,
                                         std::uint16_t language, std::uint32_t data_size);

// The empty entry that every .res file starts with.
std::vector<std::uint8_t> ResFileStart();

}  // namespace bx::detail

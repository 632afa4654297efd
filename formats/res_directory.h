// The directory of an embedded image, which the build writes beside the image (bxres embed), so
// that finding a resource reads a few words and the headers of what it finds, never a walk of
// the image. Two parts:
// - the offsets of the image's entries from its start, one 32-bit little-endian word each, in
//   the order of a resource directory (CompareResEntries);
// - a hash table of the types and identifiers: a power of two of slots of three such words, the
//   key's hash (ResKeyHash), the position among the offsets of its first entry, and how many
//   entries (languages) it has, 0 in an empty slot. A key is looked for from slot
//   hash & (slots - 1) on, one slot after another, up to an empty one.
// Each entry read is checked against the image as a walk checks it, and the table against the
// offsets; their order and hashes are trusted as the build wrote them: a wrong one finds a
// wrong resource or none, but never reads outside the image or the directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "res_file.h"
#include "resource_names.h"

namespace bx::detail {

inline constexpr std::size_t kResOffsetSize = 4;
inline constexpr std::size_t kResSlotSize = 12;

// The order of a resource directory, which the linker gives a Windows program's resources: by
// type, then identifier (CompareNames: names before numbers), then language. Negative, zero or
// positive as `a` comes before, with or after `b`.
int CompareResEntries(const ResEntry& a, const ResEntry& b) noexcept;

// The hash of a type and identifier, the same for the names that match (ASCII case aside).
std::uint32_t ResKeyHash(const ResName& type, const ResName& id) noexcept;
std::uint32_t ResKeyHash(const NameQuery& type, const NameQuery& id) noexcept;

struct ResSlot {
  std::uint32_t hash = 0;
  std::uint32_t first = 0;
  std::uint32_t count = 0;  // 0: empty
};

// The hash table of `entries`, which are in directory order: at least twice as many slots as
// keys, so that a search ends after a slot or two.
std::vector<ResSlot> ResTable(std::span<const ResEntry> entries);

class ResDirectory {
 public:
  // `offsets` holds `count` words; `table` holds `slots` slots, or none (then a lookup is a
  // binary search of the offsets).
  ResDirectory(std::span<const std::uint8_t> image, const std::uint8_t* offsets,
               std::uint32_t count, const std::uint8_t* table = nullptr,
               std::uint32_t slots = 0) noexcept
      : image_(image), offsets_(offsets), count_(count), table_(table), slots_(slots) {}

  std::uint32_t Count() const noexcept { return count_; }

  // The entry at `position` (below Count()). Raises DamagedResFile.
  ResEntry At(std::uint32_t position) const;

  // The positions [first, last) of the entries of this type and identifier, in every language.
  // Raises DamagedResFile.
  std::pair<std::uint32_t, std::uint32_t> Find(const NameQuery& type, const NameQuery& id) const;

 private:
  std::pair<std::uint32_t, std::uint32_t> Search(const NameQuery& type,
                                                 const NameQuery& id) const;
  std::pair<std::uint32_t, std::uint32_t> Hashed(const NameQuery& type,
                                                 const NameQuery& id) const;

  std::span<const std::uint8_t> image_;
  const std::uint8_t* offsets_;
  std::uint32_t count_;
  const std::uint8_t* table_;
  std::uint32_t slots_;
};

}  // namespace bx::detail

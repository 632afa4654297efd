#include "res_directory.h"

#include <string>

#include "little_endian.h"

namespace bx::detail {
namespace {

[[noreturn]] void Damaged(const std::string& what) { throw DamagedResFile(what); }

// FNV-1a over the key's 16-bit units, low byte first: a name's units in upper case and a zero,
// or 0xFFFF and a number; then mixed, so that the low bits that pick a slot depend on all.
class Hasher {
 public:
  void Unit(std::uint16_t unit) noexcept {
    hash_ = (hash_ ^ (unit & 0xFFu)) * 16777619u;
    hash_ = (hash_ ^ (unit >> 8)) * 16777619u;
  }
  void Number(std::uint16_t number) noexcept {
    Unit(0xFFFF);
    Unit(number);
  }
  std::uint32_t Done() const noexcept {
    std::uint32_t h = hash_;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    return h ^ (h >> 16);
  }

 private:
  std::uint32_t hash_ = 2166136261u;
};

void Add(Hasher& hasher, const ResName& name) noexcept {
  if (name.name.empty()) return hasher.Number(name.number);
  for (std::size_t i = 0; i + 1 < name.name.size(); i += 2) {
    hasher.Unit(FoldAscii(LittleEndian16(&name.name[i])));
  }
  hasher.Unit(0);
}

void Add(Hasher& hasher, const NameQuery& name) noexcept {
  if (name.number) return hasher.Number(*name.number);
  for (const char16_t unit : *name.name) hasher.Unit(FoldAscii(unit));
  hasher.Unit(0);
}

int CompareKeys(const ResEntry& e, const NameQuery& type, const NameQuery& id) noexcept {
  const int by_type = CompareNames(e.type, type);
  return by_type != 0 ? by_type : CompareNames(e.id, id);
}

}  // namespace

int CompareResEntries(const ResEntry& a, const ResEntry& b) noexcept {
  if (const int type = CompareNames(a.type, b.type); type != 0) return type;
  if (const int id = CompareNames(a.id, b.id); id != 0) return id;
  return a.language < b.language ? -1 : a.language > b.language ? 1 : 0;
}

std::uint32_t ResKeyHash(const ResName& type, const ResName& id) noexcept {
  Hasher hasher;
  Add(hasher, type);
  Add(hasher, id);
  return hasher.Done();
}

std::uint32_t ResKeyHash(const NameQuery& type, const NameQuery& id) noexcept {
  Hasher hasher;
  Add(hasher, type);
  Add(hasher, id);
  return hasher.Done();
}

std::vector<ResSlot> ResTable(std::span<const ResEntry> entries) {
  std::vector<ResSlot> keys;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ResEntry& e = entries[i];
    if (i > 0 && CompareNames(entries[i - 1].type, e.type) == 0 &&
        CompareNames(entries[i - 1].id, e.id) == 0) {
      ++keys.back().count;
    } else {
      keys.push_back({ResKeyHash(e.type, e.id), static_cast<std::uint32_t>(i), 1});
    }
  }
  std::size_t slots = 1;
  while (slots < 2 * keys.size()) slots *= 2;
  std::vector<ResSlot> table(slots);
  for (const ResSlot& key : keys) {
    std::size_t at = key.hash & (slots - 1);
    while (table[at].count != 0) at = (at + 1) & (slots - 1);
    table[at] = key;
  }
  return table;
}

ResEntry ResDirectory::At(std::uint32_t position) const {
  const std::size_t offset = LittleEndian32(offsets_ + std::size_t{position} * kResOffsetSize);
  ResEntry entry = ReadResEntry(image_, offset).entry;
  if (entry.type.name.empty() && entry.type.number == 0) {
    throw DamagedResFile("at byte " + std::to_string(offset) +
                         ": the directory lists an entry that names nothing");
  }
  return entry;
}

std::pair<std::uint32_t, std::uint32_t> ResDirectory::Find(const NameQuery& type,
                                                           const NameQuery& id) const {
  return slots_ == 0 ? Search(type, id) : Hashed(type, id);
}

std::pair<std::uint32_t, std::uint32_t> ResDirectory::Search(const NameQuery& type,
                                                             const NameQuery& id) const {
  // The first position not before the key, then the first after it.
  const auto bound = [&](std::uint32_t low, std::uint32_t high, bool after) {
    while (low < high) {
      const std::uint32_t middle = low + (high - low) / 2;
      const int c = CompareKeys(At(middle), type, id);
      if (c < 0 || (after && c == 0)) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low;
  };
  const std::uint32_t first = bound(0, count_, false);
  return {first, bound(first, count_, true)};
}

std::pair<std::uint32_t, std::uint32_t> ResDirectory::Hashed(const NameQuery& type,
                                                             const NameQuery& id) const {
  if ((slots_ & (slots_ - 1)) != 0) Damaged("the directory's table has no power of two of slots");
  const std::uint32_t hash = ResKeyHash(type, id);
  for (std::uint32_t probe = 0, at = hash & (slots_ - 1); probe < slots_;
       ++probe, at = (at + 1) & (slots_ - 1)) {
    const std::uint8_t* slot = table_ + std::size_t{at} * kResSlotSize;
    const std::uint32_t count = LittleEndian32(slot + 8);
    if (count == 0) break;
    if (LittleEndian32(slot) != hash) continue;
    const std::uint32_t first = LittleEndian32(slot + 4);
    if (first >= count_ || count > count_ - first) {
      Damaged("the directory's table lists entries past the end of its " +
              std::to_string(count_));
    }
    if (CompareKeys(At(first), type, id) == 0) return {first, first + count};
  }
  return {0, 0};
}

}  // namespace bx::detail

// One program of the lookup benchmark (scale_bench.cpp): it holds BX_SCALE_RESOURCES resources
// from a script, resource i of type SCALE<i / 50000> and identifier i % 50000 + 1, holding
// "r<i>". Run by the driver, it prints what it measured on one line:
//   --first <i>    the time of this process's first Load, of resource i (ns)
//   --steady       ns per Load of spread resources, then ns per lookup of the same keys in a
//                  std::unordered_map of every resource, measured back to back in the order
//                  given by --base-first
//   --verify       "found <n>" when every resource is found with its bytes
#include <bxres/read_value.h>
#include <bxres/resource_reader.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int32_t kPerType = 50000;

struct Key {
  bx::ReadValue id;
  bx::ReadValue type;
  std::uint32_t packed;  // the baseline's key: type and identifier
};

Key KeyOf(std::int32_t i) {
  const std::u16string type = u"SCALE" + std::u16string(1, static_cast<char16_t>(u'0' + i / kPerType));
  return {bx::ReadValue(i % kPerType + 1), bx::ReadValue(type),
          static_cast<std::uint32_t>(i / kPerType) << 16 | static_cast<std::uint32_t>(i % kPerType + 1)};
}

double NsSince(Clock::time_point start, std::size_t n) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
         static_cast<double>(n);
}

int Steady(bool base_first) {
  constexpr std::size_t kSpread = 4096;
  constexpr int kPasses = 64;
  std::mt19937 random(20261211);
  std::uniform_int_distribution<std::int32_t> pick(0, BX_SCALE_RESOURCES - 1);
  std::vector<Key> keys;
  for (std::size_t k = 0; k < kSpread; ++k) keys.push_back(KeyOf(pick(random)));
  std::unordered_map<std::uint32_t, std::span<const std::uint8_t>> map;
  for (std::int32_t i = 0; i < BX_SCALE_RESOURCES; ++i) {
    const Key key = KeyOf(i);
    map.emplace(key.packed, bx::LoadResourceData(key.id, key.type));
  }
  std::size_t sink = 0;
  const auto ours = [&] {
    const auto start = Clock::now();
    for (int pass = 0; pass < kPasses; ++pass) {
      for (const Key& key : keys) {
        BxRes::Load(key.id, key.type);
        sink += static_cast<std::size_t>(BxRes::Size());
      }
    }
    return NsSince(start, kSpread * kPasses);
  };
  const auto base = [&] {
    const auto start = Clock::now();
    for (int pass = 0; pass < kPasses; ++pass) {
      for (const Key& key : keys) sink += map.find(key.packed)->second.size();
    }
    return NsSince(start, kSpread * kPasses);
  };
  ours();  // untimed: pages and caches
  base();
  double ours_ns = 0, base_ns = 0;
  if (base_first) {
    base_ns = base();
    ours_ns = ours();
  } else {
    ours_ns = ours();
    base_ns = base();
  }
  std::printf("%.2f %.2f %zu\n", ours_ns, base_ns, sink % 10);
  return 0;
}

int Verify() {
  std::int32_t found = 0;
  for (std::int32_t i = 0; i < BX_SCALE_RESOURCES; ++i) {
    const Key key = KeyOf(i);
    const auto bytes = bx::FindResourceData(key.id, key.type);
    const std::string want = "r" + std::to_string(i);
    if (bytes && bytes->size() == want.size() &&
        std::memcmp(bytes->data(), want.data(), want.size()) == 0) {
      ++found;
    } else {
      std::printf("resource %d of %d is not found with its bytes\n", i, BX_SCALE_RESOURCES);
      return 1;
    }
  }
  std::printf("found %d\n", found);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--first" && argc > 2) {
    const Key key = KeyOf(std::atoi(argv[2]));
    const auto start = Clock::now();
    BxRes::Load(key.id, key.type);
    const double ns = NsSince(start, 1);
    std::printf("%.0f %d\n", ns, BxRes::Size());
    return 0;
  }
  if (mode == "--steady") return Steady(argc > 2 && std::strcmp(argv[2], "--base-first") == 0);
  if (mode == "--verify") return Verify();
  std::fprintf(stderr, "usage: %s --first <i> | --steady [--base-first] | --verify\n", argv[0]);
  return 2;
}

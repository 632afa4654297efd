// libFuzzer target: arbitrary bytes as a compiled resource image (.res). The walk either ends or
// raises DamagedResFile; every entry it gives lies inside the image, after the one before.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "res_file.h"

namespace {

void Check(bool ok, const char* promise) {
  if (!ok) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

bool Inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> image(data, size);
  bx::detail::ResFile file(image);
  const std::uint8_t* last = nullptr;
  try {
    while (const auto entry = file.Next()) {
      Check(Inside(entry->data, image), "an entry's data lies inside the image");
      Check(Inside(entry->type.name, image) && Inside(entry->id.name, image),
            "an entry's names lie inside the image");
      Check(entry->type.name.size() % 2 == 0 && entry->id.name.size() % 2 == 0,
            "names are whole code units");
      Check(last == nullptr || entry->data.data() > last, "entries come in order");
      last = entry->data.data();
    }
  } catch (const bx::detail::DamagedResFile&) {
  }
  return 0;
}

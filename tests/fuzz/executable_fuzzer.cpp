// libFuzzer target: arbitrary bytes as an executable (ELF or PE) for the tool's readers. They
// either list resources or raise BadExecutable; every resource they give lies inside the file,
// at the offset they give, with a type and an identifier.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "executable.h"

namespace {

void Check(bool ok, const char* promise) {
  if (!ok) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  try {
    for (const bxres::Resource& r : bxres::ReadResources(file).resources) {
      Check(r.offset <= size && r.data.size() <= size - r.offset, "the data lies in the file");
      Check(r.data.empty() || r.data.data() == data + r.offset, "the data is at its offset");
      Check(!bx::detail::TypeText(r.type).empty() && !bx::detail::IdText(r.id).empty(),
            "a type and an identifier");
    }
  } catch (const bxres::BadExecutable&) {
  }
  return 0;
}

// A program compiled and linked by the compiler alone, with none of the library's build options.
// It registers a resource of its own and opens a module built with hidden visibility; the two
// must find each other's resources and read with one cursor. Prints what differs, if anything.
#include <bxres/embedded_resource.h>
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("not so: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  static const std::uint8_t bytes[] = {1, 0x34, 0x12, 0xAB, 0xCD, 0xEF, 0x00};
  bx::EmbeddedResource resource{{5, nullptr}, {0, u"ByHand"}, 0, bytes, bytes + sizeof bytes};
  bx::RegisterResource(resource);

  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::printf("%s\n", dlerror());
    return 1;
  }
  const auto load =
      reinterpret_cast<void (*)(std::int32_t, const char*)>(dlsym(module, "ModuleLoad"));
  const auto read_long =
      reinterpret_cast<void (*)(bx::ReadValue*)>(dlsym(module, "ModuleReadLong"));
  const auto position = reinterpret_cast<std::int32_t (*)()>(dlsym(module, "ModulePosition"));
  if (load == nullptr || read_long == nullptr || position == nullptr) return 1;

  load(5, "ByHand");
  Expect(BxRes::Size() == 7, "the module's Load of the program's resource is the program's too");
  Expect(BxRes::ReadByte() == bx::ReadValue(std::uint8_t{1}), "the program reads the first byte");
  Expect(BxRes::ReadInteger() == bx::ReadValue(std::int16_t{0x1234}), "then the Integer");
  bx::ReadValue value;
  read_long(&value);
  Expect(value == bx::ReadValue(std::int32_t{0x00EFCDAB}), "the module reads on from there");
  Expect(BxRes::Position() == 7, "and the program sees where the module left the cursor");
  BxRes::Load(1, "Module");
  Expect(position() == 0 && BxRes::Size() == 13, "the program finds the module's resource");
  if (failures == 0) std::printf("one registry and one cursor\n");
  return failures == 0 ? 0 : 1;
}

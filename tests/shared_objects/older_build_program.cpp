// A program that holds the process-wide block of an older build of the library, one laid out
// otherwise (layout 1), and links a shared library built with this one. The program is first in
// the load order, so its block is the one offered to the library, which must refuse it and stop
// with a message rather than read a registry and a stream of another shape.
#include <cstdint>

extern "C" {
[[gnu::used]] alignas(8) unsigned char bx_older_process_wide[64];
void SharedLoad(std::int32_t id, const char* type);
}

asm(R"(
  .pushsection .note.bxres,"a",%note
  .balign 4
  .long 6, 8, 0x42785257
  .asciz "BxRes"
  .balign 4
  .long bx_older_process_wide - .
  .long 1
  .popsection
)");

int main() { SharedLoad(1, "SharedLibrary"); }

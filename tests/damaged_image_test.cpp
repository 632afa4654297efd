// A compiled resource image that is damaged (here one whose entry claims 100 bytes of data that
// are not there) gives one error that names it and the byte where it breaks, whatever resource
// is looked up, and the loaded resource stays as it was.
#include <bxres/errors.h>
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include "test_support.h"

asm(R"bx(
  .pushsection .rodata.bx_damaged_image,"a",%progbits
  .balign 4
bx_damaged_image:
  .long 100, 32
  .short 0xFFFF, 10, 0xFFFF, 1
  .long 0
  .short 0x1030, 0
  .long 0, 0
bx_damaged_image_end:
bx_damaged_image_directory:
  .long 0
bx_damaged_image_origin:
  .asciz "damaged_image_test (a hand-made image)"
  .popsection

  .pushsection .note.bxres,"a",%note
  .balign 4
  .long 6, 28, 0x42785253
  .asciz "BxRes"
  .balign 4
  .long bx_damaged_image - .
  .long bx_damaged_image_end - bx_damaged_image
  .long bx_damaged_image_origin - .
  .long bx_damaged_image_directory - .
  .long 1
  .long 0, 0
  .popsection
)bx");

namespace {

using DamagedImageTest = FreshReaderTest;

TEST_F(DamagedImageTest, NamesTheImageAndWhereItBreaks) {
  try {
    BxRes::Load(101, "CUSTOM");
    FAIL() << "no error";
  } catch (const bx::DamagedResourcesError& e) {
    EXPECT_STREQ(e.what(),
                 "Damaged resources: damaged_image_test (a hand-made image), at byte 0: the data "
                 "(100 bytes) runs past the end of the file (looking up resource 101 of type "
                 "\"CUSTOM\")");
  }
  EXPECT_EQ(BxRes::Size(), 0);
}

}  // namespace

// An image whose note is of another size than this build's (here one of 20 bytes, as an
// earlier layout wrote them, without the hash table) is not skipped, which would lose its
// resources without a word: every lookup says which object holds it and why it cannot be read.
#include <bxres/errors.h>
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

asm(R"bx(
  .pushsection .rodata.bx_other_layout_image,"a",%progbits
  .balign 4
bx_other_layout_image:
  .long 0, 32
  .short 0xFFFF, 0, 0xFFFF, 0
  .long 0
  .short 0, 0
  .long 0, 0
bx_other_layout_image_end:
bx_other_layout_origin:
  .asciz "other_layout_image_test"
  .popsection

  .pushsection .note.bxres,"a",%note
  .balign 4
  .long 6, 20, 0x42785253
  .asciz "BxRes"
  .balign 4
  .long bx_other_layout_image - .
  .long bx_other_layout_image_end - bx_other_layout_image
  .long bx_other_layout_origin - .
  .long bx_other_layout_image - .
  .long 0
  .popsection
)bx");

namespace {

using OtherLayoutImageTest = FreshReaderTest;

TEST_F(OtherLayoutImageTest, EveryLookupSaysWhichObjectCannotBeRead) {
  try {
    BxRes::Load(101, "CUSTOM");
    FAIL() << "no error";
  } catch (const bx::DamagedResourcesError& e) {
    EXPECT_STREQ(e.what(),
                 "Damaged resources: the executable, its resources were embedded by a build of "
                 "another layout (looking up resource 101 of type \"CUSTOM\")");
  }
  EXPECT_EQ(BxRes::Size(), 0);
}

}  // namespace

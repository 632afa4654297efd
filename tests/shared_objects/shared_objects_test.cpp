// One registry and one cursor per process, whichever shared objects link the library: the
// program, a shared library it links and a module it opens each hold resources and a copy of
// the library's code. Built once with every object of default visibility, and once with the
// program, the shared library and the module of hidden visibility.
#include <bxres/errors.h>
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "test_support.h"

#ifdef BX_TEST_SHARED_LIBRARY
extern "C" void SharedLoad(std::int32_t id, const char* type);
extern "C" void SharedReadInteger(bx::ReadValue* value);
extern "C" const char* SharedTextAtStart();
#endif

namespace {

using ReadValue = bx::ReadValue;

class SharedObjects : public FreshReaderTest {
 protected:
  void SetUp() override {
    FreshReaderTest::SetUp();
    module_ = dlopen(BX_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    module_load_ =
        reinterpret_cast<void (*)(std::int32_t, const char*)>(dlsym(module_, "ModuleLoad"));
    module_read_long_ = reinterpret_cast<void (*)(ReadValue*)>(dlsym(module_, "ModuleReadLong"));
    ASSERT_NE(module_load_, nullptr);
    ASSERT_NE(module_read_long_, nullptr);
  }

  void* module_ = nullptr;
  void (*module_load_)(std::int32_t, const char*) = nullptr;
  void (*module_read_long_)(ReadValue*) = nullptr;

  ReadValue ModuleReadLong() const {
    ReadValue value;
    module_read_long_(&value);
    return value;
  }
};

TEST_F(SharedObjects, TheProgramAndAModuleFindEachOthersResourcesAndShareOneCursor) {
  EXPECT_EQ(LoadedText(1, "Module"), "from a module");
  module_load_(102, "CUSTOM");
  EXPECT_EQ(BxRes::Size(), 136);
  BxRes::Load(101, "CUSTOM");
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
  EXPECT_EQ(BxRes::ReadInteger(), ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(ModuleReadLong(), ReadValue(std::int32_t{0x00EFCDAB}));
  EXPECT_EQ(BxRes::Position(), 7);
}

#ifdef BX_TEST_SHARED_LIBRARY
// The images are listed anew whenever an object is loaded or unloaded: a lookup sees the
// objects loaded at its time, and reads nothing of a module that is gone. (The module of
// default visibility is never unloaded: its inline functions' statics are unique symbols,
// which keep it loaded.)
TEST(ModuleOpenedAndClosed, LookupsSeeTheObjectsLoadedAtTheirTime) {
  ResetReader();
  EXPECT_THROW(BxRes::Load(1, "Module"), bx::ResourceNotFoundError);
  void* module = dlopen(BX_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  EXPECT_EQ(LoadedText(102, "CUSTOM").size(), 136u);  // searches the module's directory too
  ASSERT_EQ(dlclose(module), 0);
  ASSERT_EQ(dlopen(BX_TEST_MODULE, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the module stayed";
  EXPECT_EQ(LoadedText(102, "CUSTOM").size(), 136u);
  EXPECT_THROW(BxRes::Load(1, "Module"), bx::ResourceNotFoundError);
  module = dlopen(BX_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  EXPECT_EQ(LoadedText(1, "Module"), "from a module");
  ResetReader();
}

TEST_F(SharedObjects, ASharedLibraryFindsTheResourcesOfAllAndSharesTheCursor) {
  EXPECT_EQ(LoadedText(1, "SharedLibrary"), "from a shared library");
  SharedLoad(1, "Module");
  EXPECT_EQ(BxRes::Size(), 13);
  module_load_(1, "SharedLibrary");
  EXPECT_EQ(BxRes::Size(), 21);
  BxRes::Load(101, "CUSTOM");
  EXPECT_EQ(BxRes::ReadByte(), ReadValue(std::uint8_t{1}));
  ReadValue integer;
  SharedReadInteger(&integer);
  EXPECT_EQ(integer, ReadValue(std::int16_t{0x1234}));
  EXPECT_EQ(ModuleReadLong(), ReadValue(std::int32_t{0x00EFCDAB}));
  EXPECT_EQ(BxRes::Position(), 7);
}

TEST(SharedLibraryStart, FindsItsOwnAndTheProgramsResourcesBeforeEitherStarts) {
  EXPECT_STREQ(SharedTextAtStart(), "21 bytes, 28 bytes");
}
#endif

}  // namespace

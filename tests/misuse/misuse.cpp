// Uses of the C++ face that must not compile, one per CASE; each `expect` line gives the start
// of the message the build must stop with (tests/cmake/expect_compile_errors.cmake).
#include <bxres/resource_reader.h>

#include <span>
#include <string_view>
#include <vector>

void Misuse(bx::ResourceStream& stream) {
#if CASE == 1
  // expect 1: BxRes fills an object, not what a pointer points to
  int* pointer = nullptr;
  stream.ReadBlock(pointer);
#elif CASE == 2
  // expect 2: BxRes would copy over the view object, not the memory it shows
  std::string_view view;
  stream.ReadBlock(view);
#elif CASE == 3
  // expect 3: BxRes cannot fill a const or volatile object
  const std::vector<int> numbers(4);
  stream.ReadBlock(std::span(numbers));
#elif CASE == 4
  // expect 4: BxRes fills only trivially copyable records and arrays from bytes
  std::vector<int> numbers(4);
  stream.ReadBlock(numbers);
#elif CASE == 5
  // expect 5: BxRes does not read a bool
  (void)stream.Read<bool>();
#elif CASE == 6
  // expect 6: BxRes fills an object, not what a pointer points to
  (void)stream.TryRead<const char*>();
#elif CASE == 7
  // expect 7: BxRes fills an object, not what a pointer points to
  char* pointer = nullptr;
  BxRes::ReadBlock(pointer);
#elif CASE == 8
  // expect 8: Tokens are read into a std::u16string (UTF-16) or a std::string (UTF-8)
  (void)stream.Tokens<std::wstring>();
#elif CASE == 9
  // expect 9 in c++17: BxRes needs C++20: compile with -std=c++20
  // (the headers say so before anything of C++20 fails)
#endif
}

// What the tests take from the platform they run on: its own code page 932 conversion to
// compare with, and memory reserved without being used. One source file per platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bx::test {

// The platform's character for one code page 932 code of one or two bytes (the C library's
// converter on Linux, MultiByteToWideChar on Windows), or U+FFFD where it has none.
char16_t PlatformCp932Character(const std::uint8_t* code, std::size_t n);

// `size` bytes of address space that are never touched, but for `tail` written at their end;
// the first 4 KiB read as zeros. Null where the process cannot reserve that much (a 32-bit
// process and 2 GiB).
std::uint8_t* ReserveUntouched(std::size_t size, std::string_view tail);
void ReleaseUntouched(std::uint8_t* bytes, std::size_t size);

// Whether the program runs in the locale named (de_DE.UTF-8), which the tests set in the
// environment: on Linux, whether the system has that locale; on Windows, whether the user's
// regional settings are that locale (Wine takes them from the environment).
bool PlatformHasLocale(const char* name);

}  // namespace bx::test

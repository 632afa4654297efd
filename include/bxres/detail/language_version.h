// Stops a compilation in an older language mode with a message that says so, before the
// library's headers fail deep inside on what they use of C++20 (std::span, concepts).
#pragma once

#if !(__cplusplus >= 202002L || (defined(_MSVC_LANG) && _MSVC_LANG >= 202002L))
// clang-format off
#error "BxRes needs C++20: compile with -std=c++20 (or /std:c++20), or link bx::res in CMake"
// clang-format on
#endif

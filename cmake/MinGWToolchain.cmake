# Cross-building for Windows with MinGW-w64 from Debian's packages, shared by the toolchain
# files toolchain-mingw-x86_64.cmake and toolchain-mingw-i686.cmake, which set BX_MINGW_TRIPLE
# first. Programs link the C and C++ runtimes statically, so they need no DLL beside them.
# Where Wine is installed, programs that the build runs (tests) run under it, in a Wine prefix
# of the build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER "${BX_MINGW_TRIPLE}-gcc-posix")
set(CMAKE_CXX_COMPILER "${BX_MINGW_TRIPLE}-g++-posix")
set(CMAKE_RC_COMPILER "${BX_MINGW_TRIPLE}-windres")
# Packages built for the target are looked for under the toolchain's root, and under any root
# given with -DCMAKE_FIND_ROOT_PATH (an install prefix of BxRes, say).
list(APPEND CMAKE_FIND_ROOT_PATH "/usr/${BX_MINGW_TRIPLE}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(BX_WINE wine)
  if(BX_WINE)
    # No display and no debug output; no installers for .NET or a browser engine.
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;--unset=DISPLAY;--unset=WAYLAND_DISPLAY;WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;LANG=en_US.UTF-8;${BX_WINE}")
  endif()
endif()

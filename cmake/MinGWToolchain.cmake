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

# What the emulator below prints, for every program, where the machine cannot run them.
set(BX_CANNOT_RUN_MESSAGE "cannot run on this machine")
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  # Each program runs with the Wine loader of its own width. Debian's `wine` script starts the
  # 32-bit loader whenever it is installed, even for a 64-bit program, and that fails on a
  # kernel that runs no 32-bit programs; 64-bit programs therefore run with `wine64` (a loader
  # that Debian keeps in /usr/lib/wine), or with `wine` where that is the only one.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    find_program(BX_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine)
  else()
    find_program(BX_WINE_LOADER wine)
  endif()
  # The loader also starts Wine's own programs (wineboot, services) with WINELOADER; Debian's
  # script sets it only where it falls back to wine64 itself.
  set(loader_env WINEDEBUG=-all)
  if(BX_WINE_LOADER MATCHES "wine64$")
    list(APPEND loader_env "WINELOADER=${BX_WINE_LOADER}")
  endif()
  if(BX_WINE_LOADER)
    # No display and no debug output; no installers for .NET or a browser engine.
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix" ${loader_env}
        "WINEDLLOVERRIDES=mscoree,mshtml=" LANG=en_US.UTF-8 "${BX_WINE_LOADER}")
    # A 32-bit loader that cannot start (a kernel without 32-bit support) cannot run a program
    # either: the emulator then says so for every program, and tests that see that message
    # report themselves as skipped (BX_CANNOT_RUN_MESSAGE). A 64-bit one that cannot start is
    # a broken installation, which the tests show by failing.
    if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
      execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${loader_env} "${BX_WINE_LOADER}" --version
                      RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE why TIMEOUT 60)
      if(NOT status EQUAL 0)
        string(REGEX REPLACE "[;\n]+" " " why "${why} (${status})")
        string(CONCAT message "${CMAKE_SYSTEM_PROCESSOR} Windows programs "
                              "${BX_CANNOT_RUN_MESSAGE}: ${BX_WINE_LOADER} --version failed: ${why}")
        set(CMAKE_CROSSCOMPILING_EMULATOR
            sh "${CMAKE_CURRENT_LIST_DIR}/cannot_run.sh" "${message}")
      endif()
    endif()
  endif()
endif()

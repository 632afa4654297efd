# 32-bit Windows with MinGW-w64: cmake -DCMAKE_TOOLCHAIN_FILE=<this file>
# (see MinGWToolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(BX_MINGW_TRIPLE i686-w64-mingw32)
# Floating-point values in SSE registers, as every processor that runs Windows 8 or later has:
# the x87 registers would turn a signalling NaN read from data into a quiet one.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include("${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake")

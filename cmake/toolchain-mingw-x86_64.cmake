# Windows x64 with MinGW-w64: cmake -DCMAKE_TOOLCHAIN_FILE=<this file> (see MinGWToolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BX_MINGW_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake")

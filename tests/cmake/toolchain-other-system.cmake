# A target that is neither ELF nor Windows, macOS by its name and executable format, compiled
# with this machine's compiler: enough to configure for it and compile the library, not to link
# or run a program.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_EXECUTABLE_FORMAT MACHO)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Configures, builds and runs a consumer project (see CMakeLists.txt beside this file) and
# compares the example's output with EXPECTED; as a subdirectory, also installs it.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")  # how the test runs a program it built, if not directly
set(build "${WORK_DIR}/${MODE}")
file(REMOVE_RECURSE "${build}")
set(args -S "${CMAKE_CURRENT_LIST_DIR}" -B "${build}" -G "${GENERATOR}" -DMODE=${MODE}
         "-DBXRES_SOURCE_DIR=${BXRES_SOURCE_DIR}" -DCMAKE_BUILD_TYPE=Release
         "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
if(MODE STREQUAL "package")
  list(APPEND args "-DCMAKE_PREFIX_PATH=${PREFIX}")
endif()
if(TOOLCHAIN)
  # A cross build looks for packages under its roots only: the prefix is one.
  list(APPEND args "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-DCMAKE_FIND_ROOT_PATH=${PREFIX}")
elseif(CXX_COMPILER)
  list(APPEND args "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}")  # the build's own: GCC or Clang
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${status}):\n${out}")
  endif()
endfunction()

run("${CMAKE_COMMAND}" ${args})
run("${CMAKE_COMMAND}" --build "${build}")
if(MODE STREQUAL "subdirectory")
  # A project that builds the library as part of itself does not install it (BXRES_INSTALL is
  # off below the top level).
  run("${CMAKE_COMMAND}" --install "${build}" --prefix "${build}/installed")
  file(GLOB_RECURSE installed RELATIVE "${build}/installed" "${build}/installed/*")
  if(installed)
    message(FATAL_ERROR "installing the project installed the library's files: ${installed}")
  endif()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C
                        ${EMULATOR} "${build}/example/bxres_example${EXECUTABLE_SUFFIX}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
file(READ "${EXPECTED}" expected)
if(NOT status EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "exit status ${status}\noutput:\n${out}${err}\nexpected:\n${expected}")
endif()

# Builds a small program that embeds a file, edits the file, builds again, and checks that the
# program now holds the new bytes.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")  # how the test runs a program it built, if not directly
set(project "${WORK_DIR}/rebuild")
file(REMOVE_RECURSE "${project}")
file(WRITE "${project}/data.txt" "before")
file(WRITE "${project}/main.cpp" [=[
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <iostream>
int main() {
  BxRes::Load(std::int16_t{1}, u"DATA");
  std::cout << bx::ToUtf8(BxRes::ReadToken().String());
}
]=])
file(WRITE "${project}/CMakeLists.txt" "
cmake_minimum_required(VERSION 3.25)
project(rebuild LANGUAGES CXX)
add_subdirectory(\"${BXRES_SOURCE_DIR}\" bxres)
add_executable(show main.cpp)
target_link_libraries(show PRIVATE bx::res)
bx_add_resource(show ID 1 TYPE DATA FILE data.txt)
")

function(build_and_expect text)
  foreach(step IN ITEMS configure build)
    if(step STREQUAL "configure")
      set(command "${CMAKE_COMMAND}" -S "${project}" -B "${project}/build" -G "${GENERATOR}")
      if(TOOLCHAIN)
        list(APPEND command "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
      endif()
    else()
      set(command "${CMAKE_COMMAND}" --build "${project}/build")
    endif()
    execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${step} failed:\n${out}")
    endif()
  endforeach()
  execute_process(COMMAND ${EMULATOR} "${project}/build/show${EXECUTABLE_SUFFIX}" OUTPUT_VARIABLE shown
                  TIMEOUT 120)
  if(NOT shown STREQUAL text)
    message(FATAL_ERROR "the program holds \"${shown}\", not \"${text}\"")
  endif()
endfunction()

build_and_expect("before")
# A newer modification time than the object built from the old bytes.
execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 1)
file(WRITE "${project}/data.txt" "after")
build_and_expect("after")

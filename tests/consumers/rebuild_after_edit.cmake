# Builds a small program that embeds a file and a resource script, edits the file, the file the
# script names, the header that names it, and then the script, builds again after each, and
# checks that the program holds the new bytes each time. The file is declared in a folder of its
# own, apart from the program, as a project that keeps its assets apart does.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")  # how the test runs a program it built, if not directly
set(project "${WORK_DIR}/rebuild")
file(REMOVE_RECURSE "${project}")
file(WRITE "${project}/data.txt" "before")
file(WRITE "${project}/script_data.txt" "before")
file(WRITE "${project}/other_data.txt" "other")
file(WRITE "${project}/third_data.txt" "third")
file(WRITE "${project}/ids.h" "#define SCRIPT_DATA \"script_data.txt\"\n")
file(WRITE "${project}/script.rc" "#include \"ids.h\"\n2 DATA SCRIPT_DATA\n")
file(WRITE "${project}/main.cpp" [=[
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>
#include <iostream>
int main() {
  BxRes::Load(std::int16_t{1}, u"DATA");
  std::cout << bx::ToUtf8(BxRes::ReadToken().String()) << "|";
  BxRes::Load(std::int16_t{2}, u"DATA");
  std::cout << bx::ToUtf8(BxRes::ReadToken().String());
}
]=])
file(WRITE "${project}/CMakeLists.txt" "
cmake_minimum_required(VERSION 3.25)
project(rebuild LANGUAGES CXX)
add_subdirectory(\"${BXRES_SOURCE_DIR}\" bxres)
add_executable(show main.cpp)
target_link_libraries(show PRIVATE bx::res)
add_subdirectory(assets)
bx_add_resource_script(show FILE script.rc)
")
file(WRITE "${project}/assets/CMakeLists.txt"
     "bx_add_resource(show ID 1 TYPE DATA FILE ../data.txt)\n")

function(build_and_expect text)
  foreach(step IN ITEMS configure build)
    if(step STREQUAL "configure")
      set(command "${CMAKE_COMMAND}" -S "${project}" -B "${project}/build" -G "${GENERATOR}")
      if(TOOLCHAIN)
        list(APPEND command "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
      elseif(CXX_COMPILER)
        list(APPEND command "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}")
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

# Each edit has a newer modification time than what was built before it.
function(edit file content)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 1)
  file(WRITE "${project}/${file}" "${content}")
endfunction()

build_and_expect("before|before")
edit(data.txt "after")
build_and_expect("after|before")
edit(script_data.txt "after")
build_and_expect("after|after")
edit(ids.h "#define SCRIPT_DATA \"other_data.txt\"\n")
build_and_expect("after|other")
edit(script.rc "2 DATA \"third_data.txt\"\n")
build_and_expect("after|third")

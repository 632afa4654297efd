# Builds the example, with the library as a subdirectory, from two copies of the source tree in
# folders of different names and depths, and checks that the two programs are the same byte for
# byte: nothing of the build machine's folders goes into a program. Windows programs are linked
# without the linker's timestamp (-Wl,--no-insert-timestamp), which would differ by itself.
# Both are Release builds with the compiler's default flags, not the suite's: debug information
# and sanitizers write the source's folders into a program by design (-ffile-prefix-map is
# there for those who want them out).
set(linker_flags "")
if(EXECUTABLE_SUFFIX STREQUAL ".exe")
  set(linker_flags "-Wl,--no-insert-timestamp")
endif()
set(programs "")
foreach(copy IN ITEMS first "second checkout/deeper")
  set(tree "${WORK_DIR}/${copy}")
  file(REMOVE_RECURSE "${tree}")
  foreach(part IN ITEMS CMakeLists.txt cmake include core formats platform reader tools resources
                       examples demo)
    file(COPY "${BXRES_SOURCE_DIR}/${part}" DESTINATION "${tree}/bxres")
  endforeach()
  file(COPY "${CMAKE_CURRENT_LIST_DIR}/CMakeLists.txt" DESTINATION "${tree}/consumer")
  set(args -S "${tree}/consumer" -B "${tree}/build" -G "${GENERATOR}" -DMODE=subdirectory
           "-DBXRES_SOURCE_DIR=${tree}/bxres" -DCMAKE_BUILD_TYPE=Release
           "-DCMAKE_EXE_LINKER_FLAGS=${linker_flags}")
  if(TOOLCHAIN)
    list(APPEND args "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
  elseif(CXX_COMPILER)
    list(APPEND args "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}")
  endif()
  foreach(step IN ITEMS configure build)
    set(command "${CMAKE_COMMAND}" ${args})
    if(step STREQUAL "build")
      set(command "${CMAKE_COMMAND}" --build "${tree}/build" --target bxres_example)
    endif()
    execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE out TIMEOUT 600)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${step} in ${tree} failed:\n${out}")
    endif()
  endforeach()
  set(program "${tree}/build/example/bxres_example${EXECUTABLE_SUFFIX}")
  # The folders do not appear in the program.
  file(STRINGS "${program}" found REGEX "consumers/reproducible/" LIMIT_COUNT 1)
  if(found)
    message(FATAL_ERROR "${program} holds the build machine's folder: ${found}")
  endif()
  list(APPEND programs "${program}")
endforeach()
list(GET programs 0 first)
list(GET programs 1 second)
file(SHA256 "${first}" first_hash)
file(SHA256 "${second}" second_hash)
if(NOT first_hash STREQUAL second_hash)
  execute_process(COMMAND cmp -l "${first}" "${second}" OUTPUT_VARIABLE differences)
  string(SUBSTRING "${differences}" 0 2000 differences)
  message(FATAL_ERROR "the two programs differ (offset, then the bytes in octal):\n${differences}")
endif()
message(STATUS "${first} and ${second}: the same ${first_hash}")

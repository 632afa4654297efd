# Builds the example with Make or Meson (BUILD) against the package installed in PREFIX, through
# pkg-config and `bxres embed`, runs it and compares its output with EXPECTED. Then edits a
# resource and checks that building again embeds the new bytes.
set(work "${WORK_DIR}/${BUILD}")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
file(COPY "${BXRES_SOURCE_DIR}/examples/main.cpp" "${BXRES_SOURCE_DIR}/examples/level.bin"
          "${BXRES_SOURCE_DIR}/examples/party.txt" "${CMAKE_CURRENT_LIST_DIR}/${BUILD}/"
     DESTINATION "${work}")
file(GLOB_RECURSE pc_file "${PREFIX}/bxres.pc")
if(NOT pc_file)
  message(FATAL_ERROR "no bxres.pc under ${PREFIX}")
endif()
cmake_path(GET pc_file PARENT_PATH pc_dir)
set(env "${CMAKE_COMMAND}" -E env "PKG_CONFIG_PATH=${pc_dir}" "CXX=${CXX_COMPILER}"
        "CXXFLAGS=${CXX_FLAGS}" "LDFLAGS=${LINKER_FLAGS}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out
                  TIMEOUT 300)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${status}):\n${out}")
  endif()
endfunction()

function(build)
  if(BUILD STREQUAL "make")
    run(${env} make -C "${work}")
  else()
    if(NOT EXISTS "${work}/build")
      run(${env} meson setup "${work}/build" "${work}")
    endif()
    run(${env} meson compile -C "${work}/build")
  endif()
endfunction()

function(run_example out_var)
  set(program "${work}/bxres_example")
  if(BUILD STREQUAL "meson")
    set(program "${work}/build/bxres_example")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C "${program}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the example failed (${status}):\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# Without the package where pkg-config looks, Make stops with a message that says what to do.
if(BUILD STREQUAL "make")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env "PKG_CONFIG_PATH=${work}" make -C "${work}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
  if(status EQUAL 0 OR NOT out MATCHES "pkg-config knows no bxres: install BxRes, or point")
    message(FATAL_ERROR "make without the package (${status}):\n${out}")
  endif()
endif()

build()
run_example(out)
file(READ "${EXPECTED}" expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "output:\n${out}\nexpected:\n${expected}")
endif()

# An edited resource: the depfile makes the build embed it again.
execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 1)
file(WRITE "${work}/party.txt" "Alice Bob")
build()
run_example(out)
if(NOT out MATCHES "party: \\[Alice\\] \\[Bob\\]")
  message(FATAL_ERROR "after party.txt was edited, the example still shows:\n${out}")
endif()

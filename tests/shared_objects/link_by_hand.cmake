# Compiles and links SOURCE with the compiler CXX alone (FLAGS are the build's own, for the
# sanitizers), against the static library LIBRARY and nothing of its build options, then runs it
# with MODULE.
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
list(TRANSFORM INCLUDES PREPEND "-I")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(program "${WORK_DIR}/linked_by_hand")
execute_process(COMMAND "${CXX}" ${flags} -std=c++20 ${INCLUDES} "${SOURCE}" "${LIBRARY}" -ldl
                        -o "${program}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 100)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building the program failed (${status}):\n${out}")
endif()
execute_process(COMMAND "${program}" "${MODULE}" RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE out TIMEOUT 60)
message("${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the program failed (${status})")
endif()

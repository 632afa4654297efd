# Configures the project in SOURCE with -DCASE=<CASE> and passes only if that fails with a
# message matching EXPECTED.
set(build "${WORK_DIR}/${CASE}")
file(REMOVE_RECURSE "${build}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${build}" -G "${GENERATOR}" "-DCASE=${CASE}"
          "-DBXRES_SOURCE_DIR=${BXRES_SOURCE_DIR}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
if(status EQUAL 0)
  message(FATAL_ERROR "the configure step passed:\n${out}")
endif()
string(REGEX REPLACE "[ \t\r\n]+" " " flat "${out}")  # CMake wraps long messages
if(NOT flat MATCHES "${EXPECTED}")
  message(FATAL_ERROR "the configure step failed without \"${EXPECTED}\":\n${out}")
endif()

# Runs PROGRAM as a user without a display would and compares its standard output with EXPECTED.
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          "${PROGRAM}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 60)
file(READ "${EXPECTED}" expected)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}; standard error:\n${err}")
endif()
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "standard output:\n${out}\nexpected:\n${expected}")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "unexpected standard error:\n${err}")
endif()

# Runs PROGRAM (with ARGS, if any) as a user without a display would, in the locale LOCALE,
# and compares its standard output with EXPECTED. A locale the system lacks skips the test.
if(NOT LOCALE STREQUAL "C.UTF-8")
  execute_process(COMMAND locale -a OUTPUT_VARIABLE locales TIMEOUT 30)
  string(REPLACE "UTF-8" "utf8" wanted "${LOCALE}")
  if(NOT locales MATCHES "(^|\n)${wanted}(\n|$)")
    message("SKIPPED: this system lacks the locale ${LOCALE} (localedef -i ${LOCALE} makes it)")
    return()
  endif()
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          --unset=LANG --unset=LC_NUMERIC LC_ALL=${LOCALE} "${PROGRAM}" ${ARGS}
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

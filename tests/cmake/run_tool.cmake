# Runs the command-line tool, or another program (under EMULATOR, a list joined with "|", where
# it is built for another platform) with ARGS (joined with "|") and checks its exit status
# (STATUS, or "failure" for any but 0, a signal included), its standard output against the file
# EXPECTED or the regular expression OUTPUT when given, and its standard error against the
# regular expression ERROR when given.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${EMULATOR} "${TOOL}" ${ARGS}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 120)
if(STATUS STREQUAL "failure" AND NOT status STREQUAL "0")
  set(status failure)
endif()
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "bxres ${ARGS}: exit status ${status}, not ${STATUS}\n"
                      "output:\n${out}\nerror:\n${err}")
endif()
string(REPLACE "\r\n" "\n" out "${out}")
if(DEFINED EXPECTED)
  file(READ "${EXPECTED}" expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "bxres ${ARGS}: the output differs from ${EXPECTED}:\n${out}")
  endif()
endif()
if(DEFINED OUTPUT AND NOT out MATCHES "${OUTPUT}")
  message(FATAL_ERROR "bxres ${ARGS}: the output does not match \"${OUTPUT}\":\n${out}")
endif()
if(DEFINED ERROR AND NOT err MATCHES "${ERROR}")
  message(FATAL_ERROR "bxres ${ARGS}: the error does not match \"${ERROR}\":\n${err}")
endif()

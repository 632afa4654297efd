# ACTION=start makes the Wine prefix that the test programs run in, and starts one Wine server for
# all of them that stays 60 seconds after the last program ends. Its output goes nowhere: a server
# that a test program started would hold the test's output open, and ctest would wait for it
# every time. ACTION=stop stops that server.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
foreach(item IN LISTS EMULATOR)
  if(item MATCHES "^WINEPREFIX=(.+)$")
    set(prefix "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(ACTION STREQUAL "stop")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env "WINEPREFIX=${prefix}" wineserver -k
                  OUTPUT_FILE /dev/null ERROR_FILE /dev/null TIMEOUT 60)
  return()
endif()
file(MAKE_DIRECTORY "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "WINEPREFIX=${prefix}" wineserver -p60
                OUTPUT_FILE /dev/null ERROR_FILE /dev/null TIMEOUT 60)
execute_process(COMMAND ${EMULATOR} wineboot --init
                OUTPUT_FILE /dev/null ERROR_FILE "${prefix}.log" RESULT_VARIABLE status TIMEOUT 240)
if(NOT status EQUAL 0)
  file(READ "${prefix}.log" log)
  message(FATAL_ERROR "wineboot failed (${status}):\n${log}")
endif()

# ACTION=start starts a virtual X display (Xvfb) on a free display number and writes the number
# (":93") to DISPLAY_FILE, waiting at most 20 seconds for the display; ACTION=stop stops it.
if(ACTION STREQUAL "stop")
  if(EXISTS "${DISPLAY_FILE}.pid")
    file(READ "${DISPLAY_FILE}.pid" pid)
    string(STRIP "${pid}" pid)
    execute_process(COMMAND kill ${pid} TIMEOUT 10)
    file(REMOVE "${DISPLAY_FILE}" "${DISPLAY_FILE}.pid")
  endif()
  return()
endif()

find_program(XVFB Xvfb REQUIRED)
foreach(candidate RANGE 90 119)
  if(NOT EXISTS "/tmp/.X${candidate}-lock" AND NOT EXISTS "/tmp/.X11-unix/X${candidate}")
    set(number ${candidate})
    break()
  endif()
endforeach()
if(NOT number)
  message(FATAL_ERROR "no free X display number from :90 to :119")
endif()
execute_process(
  COMMAND sh -c "\"$0\" :$1 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null & echo $! > \"$2\""
          "${XVFB}" ${number} "${DISPLAY_FILE}.pid"
  TIMEOUT 10)
foreach(tenth RANGE 200)
  if(EXISTS "/tmp/.X11-unix/X${number}")
    file(WRITE "${DISPLAY_FILE}" ":${number}")
    return()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 0.1)
endforeach()
message(FATAL_ERROR "Xvfb did not open display :${number} within 20 seconds")

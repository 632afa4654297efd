# ACTION=start starts a virtual X display (Xvfb) on a free display number and writes the number
# (":93") to DISPLAY_FILE, waiting at most 20 seconds for the display; ACTION=stop stops it.
if(ACTION STREQUAL "stop")
  if(EXISTS "${DISPLAY_FILE}.pid")
    file(READ "${DISPLAY_FILE}.pid" pid)
    string(STRIP "${pid}" pid)
    execute_process(COMMAND kill ${pid} TIMEOUT 10)
    file(REMOVE "${DISPLAY_FILE}" "${DISPLAY_FILE}.pid" "${DISPLAY_FILE}.number")
  endif()
  return()
endif()

find_program(XVFB Xvfb REQUIRED)
# Xvfb picks the number itself (-displayfd) and writes it once the display takes connections: a
# number is free only if no server anywhere on the machine listens on it, which lock files in
# this /tmp cannot tell (a container or chroot beside this one may hold it).
set(number_file "${DISPLAY_FILE}.number")
file(REMOVE "${number_file}")
execute_process(
  COMMAND sh -c "\"$0\" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>\"$1\" >/dev/null 2>&1 </dev/null & echo $! > \"$2\""
          "${XVFB}" "${number_file}" "${DISPLAY_FILE}.pid"
  TIMEOUT 10)
foreach(tenth RANGE 200)
  if(EXISTS "${number_file}")
    file(READ "${number_file}" number)
    string(STRIP "${number}" number)
    if(number MATCHES "^[0-9]+$")
      file(WRITE "${DISPLAY_FILE}" ":${number}")
      return()
    endif()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 0.1)
endforeach()
message(FATAL_ERROR "Xvfb did not open a display within 20 seconds")

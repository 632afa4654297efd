# Runs PROBE on PROGRAM for CASE (listing or error) under the test emulator (Wine), with the
# display that the xvfb fixture wrote to DISPLAY_FILE and in Japanese, so that the window draws
# the text as a Japanese system does; at DPI dots per inch if given. It has a Wine prefix of its own, made with that display: a prefix made without one
# would give every window Wine's null display driver. Output goes through files, which the Wine
# processes that outlive the probe may hold open without holding up the test; the Wine server is
# stopped at the end.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
file(READ "${DISPLAY_FILE}" display)
set(prefix "${CMAKE_CURRENT_BINARY_DIR}/wine-prefix-form1${DPI}")
list(REMOVE_ITEM EMULATOR "--unset=DISPLAY")
list(TRANSFORM EMULATOR REPLACE "^LANG=.*$" "LC_ALL=ja_JP.UTF-8")  # whatever the caller's locale
list(TRANSFORM EMULATOR REPLACE "^WINEPREFIX=.*$" "WINEPREFIX=${prefix}")
list(FIND EMULATOR "-E" at)
if(at GREATER_EQUAL 0)  # not where the emulator only says that it cannot run anything
  math(EXPR at "${at} + 2")  # after `cmake -E env`
  list(INSERT EMULATOR ${at} "DISPLAY=${display}")
endif()

set(log "${CMAKE_CURRENT_BINARY_DIR}/form1_probe_${CASE}${DPI}.log")
set(server "${CMAKE_COMMAND}" -E env "WINEPREFIX=${prefix}" wineserver)
if(NOT EXISTS "${prefix}/system.reg")
  execute_process(COMMAND ${EMULATOR} wineboot --init OUTPUT_FILE "${log}" ERROR_FILE "${log}.err"
                  TIMEOUT 240)
  if(DPI)
    execute_process(COMMAND ${EMULATOR} reg add "HKCU\\Control Panel\\Desktop" /v LogPixels
                            /t REG_DWORD /d ${DPI} /f
                    OUTPUT_FILE "${log}" ERROR_FILE "${log}.err" RESULT_VARIABLE status TIMEOUT 60)
    if(NOT status EQUAL 0)
      file(READ "${log}.err" err)
      message(FATAL_ERROR "could not set ${DPI} dpi in the Wine prefix (${status}):\n${err}")
    endif()
  endif()
  # The probe starts in a settled prefix: the processes that set it up have ended and the
  # registry is on disk.
  execute_process(COMMAND ${server} -w OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
endif()
# The probe reports every step as it goes; a run that printed nothing never started (Wine
# failed to start it), and is tried once more, saying so.
foreach(attempt 1 2)
  execute_process(COMMAND ${EMULATOR} "${PROBE}" "${PROGRAM}" ${CASE}
                  OUTPUT_FILE "${log}" ERROR_FILE "${log}.err" RESULT_VARIABLE status TIMEOUT 150)
  execute_process(COMMAND ${server} -k OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
  file(READ "${log}" out)
  if(status EQUAL 0 OR NOT out STREQUAL "")
    break()
  endif()
  file(READ "${log}.err" err)
  message("the probe printed nothing and ended with ${status}: Wine did not start it\n${err}")
endforeach()
message("${out}")
if(NOT status EQUAL 0)
  file(READ "${log}.err" err)
  message(FATAL_ERROR "the probe failed (${status}):\n${err}")
endif()

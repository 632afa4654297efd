# Turns the compiled resource file that `bxres embed` wrote for a Windows target into an object
# for the linker, with windres; where it holds no resource (a target whose resources all come
# from its scripts, which are objects of their own), into an empty object, which windres does
# not make.
#
#   cmake -DRES=<file.res> -DOBJECT=<file.obj> -DWINDRES=<windres> -DCC=<MinGW-w64 gcc>
#         -P BxResourceObject.cmake
file(SIZE "${RES}" size)
if(size GREATER 32)  # more than the empty entry that every .res starts with
  set(command "${WINDRES}" -J res -O coff -i "${RES}" -o "${OBJECT}")
else()
  file(WRITE "${OBJECT}.c" "/* No resource of its own: its scripts' objects hold them. */\n")
  set(command "${CC}" -c -o "${OBJECT}" "${OBJECT}.c")
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${command} failed (${status})")
endif()

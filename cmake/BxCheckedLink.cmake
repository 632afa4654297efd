# Runs a link, the arguments after --, and fails it where the linker could not merge the
# resources of two objects: GNU ld for Windows then says ".rsrc merge failure: duplicate leaf"
# and links all the same, keeping one of the two. Then puts the program's resource directories
# in the order Windows searches them (bxres order): GNU ld, merging the resources of several
# objects, orders names its own way, and some are not found. bx_add_resource makes it the
# linker launcher of the Windows programs it embeds resources in, built with GNU ld.
#
#   cmake -DBXRES_PATH_FILE=<a file that holds bxres' path> -P BxCheckedLink.cmake
#         -- <linker> <arguments>...
set(command "")
set(in_command FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(in_command)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(in_command TRUE)
  endif()
endforeach()
set(ENV{LC_ALL} C)  # the linker's message is read below
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE out ECHO_OUTPUT_VARIABLE ECHO_ERROR_VARIABLE)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the link failed (${status})")
endif()
if(out MATCHES "rsrc merge failure")
  message(FATAL_ERROR "the linker kept one of two resources of the same type, identifier and "
                      "language (the message above names them), from two objects of the "
                      "program: declare each resource once")
endif()
list(FIND command "-o" at)
if(at GREATER_EQUAL 0)
  math(EXPR at "${at} + 1")
  list(GET command ${at} program)
  file(READ "${BXRES_PATH_FILE}" bxres)
  execute_process(COMMAND "${bxres}" order "${program}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "bxres could not put the resources of ${program} in order (${status})")
  endif()
endif()

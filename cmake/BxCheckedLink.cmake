# Runs a link, the arguments after --, and fails it where the linker could not merge the
# resources of two objects: GNU ld for Windows then says ".rsrc merge failure: duplicate leaf"
# and links all the same, keeping one of the two. bx_add_resource makes it the linker launcher
# of the Windows programs it embeds resources in, built with GNU ld.
#
#   cmake -P BxCheckedLink.cmake -- <linker> <arguments>...
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

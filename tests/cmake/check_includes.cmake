# Fails if a header in HEADERS includes anything but standard headers and bxres/ headers.
foreach(header IN LISTS HEADERS)
  file(STRINGS "${header}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "[<\"](bxres/([a-z_]+/)?[a-z_]+\\.h|[a-z_]+)[>\"]")
      message(SEND_ERROR "${header}: ${line}")
    endif()
  endforeach()
endforeach()

# Configures the project in SOURCE with the cache entries in ARGS and passes only if that ends
# as SHOULD says (fail or succeed) with a message matching EXPECTED; then builds the target
# BUILD, if given, which must succeed (with a message matching BUILD_SAYS, when given), or with
# BUILD_EXPECTED fail with a message matching it.
set(build "${WORK_DIR}/${NAME}")
file(REMOVE_RECURSE "${build}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${build}" -G "${GENERATOR}" ${ARGS}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
if(SHOULD STREQUAL "fail" AND status EQUAL 0)
  message(FATAL_ERROR "the configure step passed:\n${out}")
elseif(SHOULD STREQUAL "succeed" AND NOT status EQUAL 0)
  message(FATAL_ERROR "the configure step failed:\n${out}")
endif()
string(REGEX REPLACE "[ \t\r\n]+" " " flat "${out}")  # CMake wraps long messages
if(NOT flat MATCHES "${EXPECTED}")
  message(FATAL_ERROR "the configure step said nothing like \"${EXPECTED}\":\n${out}")
endif()
if(BUILD)
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${build}" --target "${BUILD}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 300)
  string(REGEX REPLACE "[ \t\r\n]+" " " flat "${out}")
  if(BUILD_EXPECTED AND status EQUAL 0)
    message(FATAL_ERROR "building ${BUILD} passed:\n${out}")
  elseif(BUILD_EXPECTED AND NOT flat MATCHES "${BUILD_EXPECTED}")
    message(FATAL_ERROR "building ${BUILD} said nothing like \"${BUILD_EXPECTED}\":\n${out}")
  elseif(NOT BUILD_EXPECTED AND NOT status EQUAL 0)
    message(FATAL_ERROR "building ${BUILD} failed:\n${out}")
  elseif(BUILD_SAYS AND NOT flat MATCHES "${BUILD_SAYS}")
    message(FATAL_ERROR "building ${BUILD} said nothing like \"${BUILD_SAYS}\":\n${out}")
  endif()
endif()

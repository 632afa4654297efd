# Installs bx::res as a CMake package: find_package(BxRes) gives the target, bx_add_resource and
# bx_add_resource_script.
include(CMakePackageConfigHelpers)

set(BX_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/BxRes")
install(TARGETS bx_res EXPORT BxResTargets)
install(EXPORT BxResTargets NAMESPACE bx:: DESTINATION "${BX_PACKAGE_DIR}")
configure_package_config_file(
  "${CMAKE_CURRENT_LIST_DIR}/BxResConfig.cmake.in" "${CMAKE_CURRENT_BINARY_DIR}/BxResConfig.cmake"
  INSTALL_DESTINATION "${BX_PACKAGE_DIR}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/BxResConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${CMAKE_CURRENT_BINARY_DIR}/BxResConfig.cmake"
  "${CMAKE_CURRENT_BINARY_DIR}/BxResConfigVersion.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/BxResources.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/BxResourceScript.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/BxCompileResourceScript.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/BxCheckedLink.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/BxResourceObject.cmake"
  "${PROJECT_SOURCE_DIR}/formats/standard_types.def"
  DESTINATION "${BX_PACKAGE_DIR}")

# The same for pkg-config (Make, Meson, ...): the library, what it links (BX_LINK_FLAGS: the
# dynamic loader's library on ELF systems), and where the tool is (BX_HOST_TOOL_INSTALL_PATH),
# all relative to the file's own place, so that the installed tree can move.
list(JOIN BX_LINK_FLAGS " " BX_PC_LIBS)
file(RELATIVE_PATH BX_PC_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" BX_PC_PREFIX "${BX_PC_PREFIX}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/bxres.pc.in" "${CMAKE_CURRENT_BINARY_DIR}/bxres.pc"
               @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/bxres.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")

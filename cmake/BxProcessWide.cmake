# One registry of resources and one cursor per process, however many shared objects link the
# static bx_res. Its process-wide variables are inline variables, which GCC makes unique
# symbols that the dynamic linker binds once for all shared objects; an executable keeps its
# own copy private unless it exports it, so every executable that links bx_res exports them
# (with their initialization guards, so that they are constructed once).
if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
  set(_bx_process_wide
    _ZN2bx6detail11g_resourcesE                # the registry of resources
    _ZN5BxRes9TheStreamE _ZGVN5BxRes9TheStreamE)  # the module's stream
  list(TRANSFORM _bx_process_wide PREPEND "--export-dynamic-symbol=")
  list(JOIN _bx_process_wide "," _bx_process_wide)
  target_link_options(bx_res INTERFACE
    "$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:LINKER:${_bx_process_wide}>")
endif()

# Form1 on Windows, driven from outside by a probe program: the real demonstration runs under
# Wine on a virtual X display (Xvfb) in Japanese, once with the samples and once without
# resource 102, for the error path.
add_executable(form1_probe form1_probe_windows.cpp)
target_compile_definitions(form1_probe PRIVATE UNICODE _UNICODE)
target_link_options(form1_probe PRIVATE -municode)
target_compile_features(form1_probe PRIVATE cxx_std_20)
bx_set_warnings(form1_probe)

add_executable(bxres_demo_without_102 WIN32)
target_link_libraries(bxres_demo_without_102 PRIVATE bx_demo_form1_windows)
bx_add_resource(bxres_demo_without_102 ID 101 TYPE CUSTOM LANGUAGE 1041
                FILE "${BX_SAMPLE_RESOURCE_DIR}/101.bin")

set(display_file "${CMAKE_CURRENT_BINARY_DIR}/xvfb-display")
foreach(action IN ITEMS start stop)
  add_test(NAME xvfb_${action} COMMAND "${CMAKE_COMMAND}" -DACTION=${action}
                                       "-DDISPLAY_FILE=${display_file}"
                                       -P "${PROJECT_SOURCE_DIR}/tests/cmake/xvfb.cmake")
endforeach()
set_tests_properties(xvfb_start PROPERTIES FIXTURES_SETUP xvfb TIMEOUT 60)
set_tests_properties(xvfb_stop PROPERTIES FIXTURES_CLEANUP xvfb TIMEOUT 60)

# The listing, the error path, and the listing at 144 dpi, where every size is half as large
# again.
foreach(run IN ITEMS listing error listing@144)
  string(REPLACE "@" ";" run "${run}")
  list(GET run 0 case)
  list(LENGTH run parts)
  set(dpi "")
  set(name form1_windows_${case})
  if(parts EQUAL 2)
    list(GET run 1 dpi)
    string(APPEND name _at_${dpi}_dpi)
  endif()
  if(case STREQUAL "listing")
    set(program bxres_demo)
  else()
    set(program bxres_demo_without_102)
  endif()
  add_test(NAME ${name}
    COMMAND "${CMAKE_COMMAND}" "-DEMULATOR=${emulator}" "-DDISPLAY_FILE=${display_file}"
            -DPROBE=$<TARGET_FILE:form1_probe> -DPROGRAM=$<TARGET_FILE:${program}> -DCASE=${case}
            -DDPI=${dpi} -P "${CMAKE_CURRENT_SOURCE_DIR}/run_form1_probe.cmake")
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine;xvfb" TIMEOUT 300)
endforeach()
bx_skip_tests_where_programs_cannot_run()

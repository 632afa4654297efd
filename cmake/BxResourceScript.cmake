# bx_add_resource_script(): builds the resources of a Windows resource script (.rc) into a target,
# on every platform, with the resource compiler that the Windows builds use.
#
#   bx_add_resource_script(<target> FILE <script.rc> [CODE_PAGE <n>])
#
# The script is compiled at build time by binutils' windres, with the MinGW-w64 C preprocessor
# and Windows headers, so that <windows.h>, "winres.h", RT_*, LANG_* and WS_* mean what they mean
# on Windows, and _WIN32 (and _WIN64 for a 64-bit target) are defined as for a Windows target of
# the same bitness. Whatever windres compiles works, every resource of the script (string
# tables, version information, dialogs, icons, manifests and raw data alike), and whatever it
# refuses stops the build with its message and the script's line. The target's include
# directories and compile definitions apply. What windres does not do on a POSIX host, the build
# does first, as Windows would (cmake/BxCompileResourceScript.cmake): it reads scripts and headers
# saved in UTF-16 or UTF-8 with a byte-order mark, and finds files and headers named with
# backslashes or in another letter case than on disk.
#
# The script's 8-bit text is read in the code page that CODE_PAGE or a #pragma code_page in the
# script names, as the resource compiler's /c option and the pragma do on Windows. Without
# either, text that is valid UTF-8 is read as UTF-8, and any other text outside ASCII in code
# page 1252 with a warning that names the line.
#
# The same resource in two scripts of a target, or in a script and a bx_add_resource
# declaration, stops the build naming both.
#
# On ELF targets the compiled resource file (.res) goes into the image as it is, with a note
# that tells the loader where it is (as bx_add_resource's resources). On Windows, built with
# MinGW-w64, the same command makes an object that the linker puts in the image's resource
# section; with another toolchain (MSVC) the script is a source of the target, compiled by that
# toolchain's resource compiler (CODE_PAGE is then for the toolchain's options to say).
#
# Editing the script, a header it includes or a file it names rebuilds the target.

# Finds windres and the preprocessor it runs, for a target of this build's bitness. Sets
# BX_WINDRES and BX_RC_PREPROCESSOR in the cache, or stops the configure step saying what to
# install.
function(_bx_find_resource_compiler)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(triplet i686-w64-mingw32)
    set(packages "binutils-mingw-w64-i686 gcc-mingw-w64-i686")
  else()
    set(triplet x86_64-w64-mingw32)
    set(packages "binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64")
  endif()
  set(compiler_names ${triplet}-gcc ${triplet}-gcc-posix ${triplet}-gcc-win32)
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # The toolchain's own: its resource compiler, and its compiler driver as the preprocessor.
    set(windres_hint "${CMAKE_RC_COMPILER}")
    set(compiler_names "${CMAKE_CXX_COMPILER}" ${compiler_names})
  endif()
  find_program(BX_WINDRES NAMES ${windres_hint} ${triplet}-windres windres
               DOC "binutils' windres, which compiles resource scripts")
  find_program(BX_RC_PREPROCESSOR NAMES ${compiler_names}
               DOC "The MinGW-w64 C compiler that windres runs as its preprocessor")
  foreach(tool BX_WINDRES BX_RC_PREPROCESSOR)
    if(NOT ${tool} OR NOT EXISTS "${${tool}}")
      message(FATAL_ERROR "bx_add_resource_script: cannot find ${triplet}'s windres and C "
                          "compiler, which compile resource scripts; on Debian install the "
                          "packages ${packages}, or point the cache variables BX_WINDRES and "
                          "BX_RC_PREPROCESSOR at them")
    endif()
  endforeach()
endfunction()

function(bx_add_resource_script target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FILE;CODE_PAGE" "")
  _bx_check_declaration(script bx_add_resource_script "${target}" "${arg_UNPARSED_ARGUMENTS}"
                        "${arg_FILE}" FALSE)
  if(DEFINED arg_CODE_PAGE AND NOT arg_CODE_PAGE MATCHES "^[1-9][0-9]*$")
    message(FATAL_ERROR "bx_add_resource_script: CODE_PAGE ${arg_CODE_PAGE} is not a code page "
                        "number (932 for Shift-JIS, 1252, 65001 for UTF-8)")
  endif()
  _bx_resource_emitter(emitter bx_add_resource_script)
  if(emitter STREQUAL "windows" AND NOT CMAKE_RC_COMPILER MATCHES "windres")
    # Another toolchain's resource compiler builds the script as a source of the target.
    _bx_resource_holder(owner ${target} bx_add_resource_script)
    _bx_add_holder_source(${owner} "${script}" "${script}")
    cmake_path(GET script PARENT_PATH folder)
    set_property(SOURCE "${script}" TARGET_DIRECTORY ${owner} APPEND PROPERTY
                 INCLUDE_DIRECTORIES "${folder}")
    return()
  endif()
  _bx_find_resource_compiler()

  string(SHA1 hash "${target}|${script}")
  string(SUBSTRING "${hash}" 0 16 hash)
  set(work "${CMAKE_CURRENT_BINARY_DIR}/bx_resources/script_${hash}")
  set(output "${work}.res")
  set(outputs "${output}")
  set(object_arg "")
  if(emitter STREQUAL "windows")
    # The resource compiler's own object goes into the image; the .res beside it is read for
    # duplicates only (windres does not read back every .res it writes: version information).
    list(APPEND outputs "${work}.res.obj")
    set(object_arg "-DOBJECT=${work}.res.obj")
  endif()
  cmake_path(GET script FILENAME script_name)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  get_property(templates GLOBAL PROPERTY BX_RESOURCE_TEMPLATES)
  set(includes "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
  set(defines "$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>")
  file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/bx_resources")
  add_custom_command(OUTPUT ${outputs}
    COMMAND "${CMAKE_COMMAND}" "-DSCRIPT=${script}" "-DOUTPUT=${output}" ${object_arg}
            "-DWORK_DIR=${work}" "-DDEPFILE=${work}.d" "-DBITS=${bits}"
            "-DWINDRES=${BX_WINDRES}" "-DPREPROCESSOR=${BX_RC_PREPROCESSOR}"
            "-DINCLUDES=$<JOIN:${includes},|>" "-DDEFINES=$<JOIN:${defines},|>"
            "-DCODE_PAGE=${arg_CODE_PAGE}" -P "${templates}/BxCompileResourceScript.cmake"
    DEPENDS "${script}" "${templates}/BxCompileResourceScript.cmake"
    DEPFILE "${work}.d"
    COMMENT "Compiling the resource script ${script_name} for ${target}"
    VERBATIM COMMAND_EXPAND_LISTS)
  set_source_files_properties(${outputs} PROPERTIES GENERATED TRUE)
  _bx_shown_path(origin "${script}")
  if(emitter STREQUAL "windows")
    _bx_embed(${target} bx_add_resource_script "${output}" --check "${output}" --origin "${origin}")
    _bx_resource_holder(owner ${target} bx_add_resource_script)
    set_source_files_properties("${work}.res.obj" PROPERTIES EXTERNAL_OBJECT TRUE)
    _bx_add_holder_source(${owner} "${work}.res.obj" "${work}.res.obj" GENERATED)
    _bx_write_here_first(writer ${owner} "${work}.res.obj")
  else()
    _bx_embed(${target} bx_add_resource_script "${output}" --res "${output}" --origin "${origin}")
  endif()
endfunction()

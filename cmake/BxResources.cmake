# bx_add_resource(): builds a file into an executable's image as a resource that the loader
# finds by identifier and type.
#
#   bx_add_resource(<target> ID <id> TYPE <type> FILE <path> [LANGUAGE <code>])
#
# <id> and <type> are numbers from 1 to 65535 (also written "#123") or names of letters, digits
# and _ (not starting with a digit), stored in upper case and matched without regard to ASCII
# case, as the resource compiler has them. A TYPE that the resource compiler keeps byte for byte
# (RCDATA, HTML, MANIFEST, ...) is its standard number on every platform; one whose file it
# transforms (BITMAP, ICON, ...) is refused. LANGUAGE (default 0, neutral) takes part in the
# choice among languages as on Windows. FILE is relative to the calling directory and may be the
# output of a custom command in that directory. The bytes go into the image exactly as they are
# in the file, and the loader hands out a view of them, not a copy. Editing the file rebuilds
# the target.
#
# <target> may be an executable, a shared or module library, an object library or a static
# library (also one with no sources of its own); a static library's resources are linked into
# every program that links the library. All resources of a process, whichever of its shared
# objects declares them, are found by every one of them.
#
# Each declaration is written out for the target's platform:
#   - ELF (Linux, GCC or Clang): `bxres embed`, run at build time by the bxres of this build's
#     host (bx::bxres), writes a C++ source that assembles an entry of a compiled resource file
#     (.res), its header and the file's bytes with `.incbin`, into read-only data, and a note
#     that tells the loader where it is; nothing runs at start-up. Builds that do not use CMake
#     run the same command;
#   - Windows: a resource-script statement that the toolchain's resource compiler builds into
#     the image's resource section like any Windows resource (BxResource.windows.rc.in). A DLL's
#     resources belong to the DLL there, out of the program's reach, so DLLs are refused.
# For any other target the library still builds; bx_add_resource and bx_add_resource_script
# stop the configure step there, saying which platform the build targets.

if(WIN32)
  enable_language(RC)  # at file scope, as CMake requires
endif()

# Sets <out> to how this build's target embeds resources: windows, elf (ELF built with GCC or
# Clang, whose assembler the template needs), or empty where it cannot. Known once the C++
# language is enabled, which fixes the executable format.
function(_bx_embedding out)
  set(${out} "" PARENT_SCOPE)
  if(WIN32)
    set(${out} windows PARENT_SCOPE)
  elseif(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF" AND CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
    set(${out} elf PARENT_SCOPE)
  endif()
endfunction()

# Sets <out> to the emitter for this build's target, or stops the configure step, on behalf of
# <command>, for a target that has none. Asked when a resource is declared.
function(_bx_resource_emitter out command)
  _bx_embedding(emitter)
  if(emitter)
    set(${out} ${emitter} PARENT_SCOPE)
    return()
  endif()
  set(format "executables of a format that CMake does not know")
  if(CMAKE_EXECUTABLE_FORMAT AND NOT CMAKE_EXECUTABLE_FORMAT STREQUAL "Unknown")
    set(format "${CMAKE_EXECUTABLE_FORMAT} executables")
  endif()
  set(compiler "")
  if(CMAKE_CXX_COMPILER_ID)
    set(compiler " with ${CMAKE_CXX_COMPILER_ID}")
  endif()
  message(FATAL_ERROR "${command}: BxRes embeds resources for ELF targets (Linux) built with "
                      "GCC or Clang, and for Windows; this build targets ${CMAKE_SYSTEM_NAME} "
                      "(${format})${compiler}. The library itself builds for it: open streams "
                      "over bytes you own (bx::ResourceStream) there.")
endfunction()
set_property(GLOBAL PROPERTY BX_RESOURCE_TEMPLATES "${CMAKE_CURRENT_LIST_DIR}")

# Reads a resource identifier or type (<role> ID or TYPE) as the resource compiler does: a number
# from 1 to 65535 ("#123" also), a standard type name as its number, or a name, which it stores
# in upper case. Sets <out> to what a resource script writes (the number, or the name). Checked
# here so that a mistake stops the configure step; `bxres embed` applies the same rules.
function(_bx_resource_name out role value)
  # Types that the resource compiler keeps byte for byte, by their standard numbers; and those
  # whose files it transforms (a bitmap loses its file header, an icon becomes a group of
  # images), which only a resource script can declare.
  set(kept_types MESSAGETABLE=11 PLUGPLAY=19 VXD=20 ANICURSOR=21 ANIICON=22 HTML=23 MANIFEST=24
      RCDATA=10)
  set(transformed_types CURSOR BITMAP ICON MENU MENUEX DIALOG DIALOGEX STRING STRINGTABLE FONTDIR
      FONT ACCELERATOR ACCELERATORS GROUP_CURSOR GROUP_ICON VERSION VERSIONINFO DLGINCLUDE DLGINIT
      TOOLBAR)
  string(TOUPPER "${value}" upper)
  if(role STREQUAL "TYPE" AND "${upper}" IN_LIST transformed_types)
    message(FATAL_ERROR "bx_add_resource: TYPE ${value} is a type whose file the resource "
                        "compiler transforms, not bytes to embed as they are; declare it in a "
                        "resource script with bx_add_resource_script()")
  endif()
  foreach(kept IN LISTS kept_types)
    if(role STREQUAL "TYPE" AND kept MATCHES "^${upper}=([0-9]+)$")
      set(value ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(value MATCHES "^#?([0-9]+)$")
    string(LENGTH "${CMAKE_MATCH_1}" digits)
    if(digits GREATER 5 OR CMAKE_MATCH_1 LESS 1 OR CMAKE_MATCH_1 GREATER 65535)
      message(FATAL_ERROR "bx_add_resource: ${role} ${value} is outside the numbers 1 to 65535")
    endif()
    math(EXPR number "${CMAKE_MATCH_1}")  # no leading zeros, which would read as octal
    set(${out} "${number}" PARENT_SCOPE)
  elseif(value STREQUAL "")
    message(FATAL_ERROR "bx_add_resource: ${role} is missing")
  elseif(value MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    set(${out} "${upper}" PARENT_SCOPE)
  else()
    message(FATAL_ERROR "bx_add_resource: ${role} ${value} is not a name that the resource "
                        "compiler takes (letters, digits and _, not starting with a digit)")
  endif()
endfunction()

# Adds the generated source to <target>, or, for a static library, to an object library whose
# objects every consumer links (an archive member that nothing refers to would be left out).
# `file` is what the source's object depends on: the resource's file, or the files a resource
# script names.
function(_bx_attach_resource target source file)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "STATIC_LIBRARY")
    set(holder "${target}_bx_resources")
    if(NOT TARGET ${holder})
      add_library(${holder} OBJECT)
      target_link_libraries(${holder} PRIVATE bx::res)
      target_link_libraries(${target} INTERFACE "$<TARGET_OBJECTS:${holder}>"
                            bx::res)
      # A library of nothing but resources still needs a source to be an archive.
      get_target_property(sources ${target} SOURCES)
      if(NOT sources)
        set(anchor "${CMAKE_CURRENT_BINARY_DIR}/bx_resources/${target}_resources_only.cpp")
        file(CONFIGURE OUTPUT "${anchor}" CONTENT
             "// Generated by bx_add_resource(): ${target} holds resources only.\n")
        target_sources(${target} PRIVATE "${anchor}")
      endif()
    endif()
    set(owner ${holder})
  elseif(kind MATCHES "^(SHARED_LIBRARY|MODULE_LIBRARY)$" AND WIN32)
    message(FATAL_ERROR "bx_add_resource: ${target} is a DLL, and on Windows a DLL's resources "
                        "belong to the DLL, where the program does not look; declare them on the "
                        "executable or on a static library it links")
  elseif(kind MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    set(owner ${target})
    target_link_libraries(${target} PRIVATE bx::res)
  else()
    message(FATAL_ERROR "bx_add_resource: ${target} (${kind}) cannot hold resources; declare them "
                        "on an executable, or a shared, module, object or static library")
  endif()
  target_sources(${owner} PRIVATE "${source}")
  # Source properties belong to the directory that made the target. A source that
  # bx_add_resource wrote is generated; a resource script of the caller's (ARGV3 FALSE) is not.
  set(generated TRUE)
  if(ARGC GREATER 3)
    set(generated ${ARGV3})
  endif()
  if(generated)
    set_source_files_properties("${source}" TARGET_DIRECTORY ${owner} PROPERTIES GENERATED TRUE)
  endif()
  set_source_files_properties("${source}" TARGET_DIRECTORY ${owner} PROPERTIES
                              OBJECT_DEPENDS "${file}")
  # The build writes a source by the rule of the directory that declares it, which only that
  # directory's targets follow: a target made elsewhere waits for a target of this directory.
  get_target_property(owner_dir ${owner} SOURCE_DIR)
  if(NOT owner_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    cmake_path(GET source STEM LAST_ONLY writer)
    add_custom_target(${writer} DEPENDS "${source}")
    add_dependencies(${owner} ${writer})
  endif()
  set_property(GLOBAL PROPERTY _BX_ATTACHED_TO ${owner})
endfunction()

function(bx_add_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ID;TYPE;LANGUAGE;FILE" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "bx_add_resource: unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "bx_add_resource: ${target} is not a target")
  endif()
  if(NOT arg_FILE)
    message(FATAL_ERROR "bx_add_resource: FILE is missing")
  endif()
  if(NOT DEFINED arg_LANGUAGE)
    set(arg_LANGUAGE 0)
  elseif(NOT arg_LANGUAGE MATCHES "^[0-9]+$" OR arg_LANGUAGE GREATER 65535)
    message(FATAL_ERROR "bx_add_resource: LANGUAGE ${arg_LANGUAGE} is not a number from 0 to 65535")
  endif()
  cmake_path(ABSOLUTE_PATH arg_FILE BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
             OUTPUT_VARIABLE file)
  get_source_file_property(generated "${file}" GENERATED)
  if(NOT generated AND (NOT EXISTS "${file}" OR IS_DIRECTORY "${file}"))
    message(FATAL_ERROR "bx_add_resource: ${file} is not a file "
                        "(nor the output of a custom command)")
  endif()
  _bx_resource_name(id "ID" "${arg_ID}")
  _bx_resource_name(type "TYPE" "${arg_TYPE}")

  math(EXPR arg_LANGUAGE "${arg_LANGUAGE}")
  set(key "${target}|${id}|${type}|${arg_LANGUAGE}")
  get_property(declared GLOBAL PROPERTY BX_DECLARED_RESOURCES)
  if(key IN_LIST declared)
    message(FATAL_ERROR "bx_add_resource: ${target} declares resource ${arg_ID} of type "
                        "${arg_TYPE}, language ${arg_LANGUAGE} twice")
  endif()
  set_property(GLOBAL APPEND PROPERTY BX_DECLARED_RESOURCES "${key}")
  string(SHA1 hash "${key}")
  string(SUBSTRING "${hash}" 0 16 hash)
  set(symbol "bx_resource_${hash}")
  _bx_resource_emitter(emitter bx_add_resource)
  cmake_language(CALL _bx_emit_${emitter})
  _bx_attach_resource(${target} "${source}" "${file}")
endfunction()

# The emitters: each writes, or has the build write, the declaration's source from the variables
# of bx_add_resource, and sets source.

# Has the build write <source> with `bxres embed --for <target>` and the embed arguments after
# <what> (<inputs> are the files it reads), run by the bxres of this build's host.
function(_bx_embed_source source target inputs what)
  get_property(tool_built_by GLOBAL PROPERTY BX_HOST_TOOL_BUILT_BY)
  cmake_path(GET source PARENT_PATH folder)
  file(MAKE_DIRECTORY "${folder}")  # which Make, unlike Ninja, does not make for an output
  add_custom_command(OUTPUT "${source}"
    COMMAND "$<TARGET_FILE:bx::bxres>" embed -o "${source}" --for "${target}" ${ARGN}
    DEPENDS ${inputs} "$<TARGET_FILE:bx::bxres>" ${tool_built_by}
    COMMENT "Embedding ${what} in ${target}"
    VERBATIM)
endfunction()

macro(_bx_emit_elf)
  set(source "${CMAKE_CURRENT_BINARY_DIR}/bx_resources/${symbol}.cpp")
  _bx_embed_source("${source}" ${target} "${file}"
                   "resource ${arg_ID} of type ${arg_TYPE}, language ${arg_LANGUAGE}"
                   --id ${id} --type ${type} --language ${arg_LANGUAGE} --file "${file}")
endmacro()

macro(_bx_emit_windows)
  if(file MATCHES "\"")
    message(FATAL_ERROR "bx_add_resource: the path ${file} has a quote, "
                        "which a resource script cannot hold")
  endif()
  math(EXPR rc_primary "${arg_LANGUAGE} & 0x3FF" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR rc_sub "${arg_LANGUAGE} >> 10" OUTPUT_FORMAT HEXADECIMAL)
  set(source "${CMAKE_CURRENT_BINARY_DIR}/bx_resources/${symbol}.rc")
  get_property(templates GLOBAL PROPERTY BX_RESOURCE_TEMPLATES)
  configure_file("${templates}/BxResource.windows.rc.in" "${source}" @ONLY)
endmacro()

include("${CMAKE_CURRENT_LIST_DIR}/BxResourceScript.cmake")

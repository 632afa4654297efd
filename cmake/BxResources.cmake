# bx_add_resource(): builds a file into an executable's image as a resource that the loader
# finds by identifier and type.
#
#   bx_add_resource(<target> ID <id> TYPE <type> FILE <path> [LANGUAGE <code>])
#
# <id> and <type> are numbers from 1 to 65535 (also written "#123") or names of letters, digits
# and _ (not starting with a digit), stored in upper case and matched without regard to ASCII
# case, as the resource compiler has them. A TYPE that the resource compiler keeps byte for byte
# (RCDATA, HTML, MANIFEST, ...) is its standard number on every platform; one whose file it
# transforms (BITMAP, ICON, ...) is refused. LANGUAGE (default 0, neutral; decimal, or
# hexadecimal as 0x0411) takes part in the choice among languages as on Windows. FILE is
# relative to the calling directory and may be the output of a custom command in any directory
# of the project. The bytes go into the image exactly as they are
# in the file, and the loader hands out a view of them, not a copy. Editing the file rebuilds
# the target.
#
# <target> may be an executable, a shared or module library, an object library or a static
# library (also one with no sources of its own); a static library's resources are linked into
# every program that links the library. All resources of a process, whichever of its shared
# objects declares them, are found by every one of them.
#
# All of a target's declarations, and the compiled resource scripts of bx_add_resource_script,
# are embedded by one run of `bxres embed`, the bxres of this build's host (bx::bxres), at build
# time, for the target's platform:
#   - ELF (Linux, GCC or Clang): one C++ source that assembles each file's bytes with `.incbin`
#     after the header of a compiled resource entry (.res), into read-only data, with a note that
#     tells the loader where it is; nothing runs at start-up. Builds that do not use CMake run
#     the same command;
#   - Windows: one compiled resource file, which the resource compiler turns into an object that
#     the linker puts in the image's resource section like any Windows resource. Names are
#     written as data, never parsed as a script, so a name that is a keyword of the script
#     language (DIALOG, BEGIN, CAPTION) is a name like any other. A DLL's resources belong to the
#     DLL there, out of the program's reach, so DLLs are refused.
# The same resource (type, identifier, language) given twice to one target, by declarations or
# scripts in any mix, stops the configure step or the build, naming both places.
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
  get_property(emitter GLOBAL PROPERTY BX_EMITTER)  # known once a declaration asked
  if(NOT emitter)
    _bx_embedding(emitter)
    set_property(GLOBAL PROPERTY BX_EMITTER ${emitter})
  endif()
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

# The standard types, from the table that the library and bxres read too: beside this file where
# the package is installed, in formats/ in the source tree. The global property
# BX_STANDARD_TYPE_<NAME> holds a kept type's number, or "transformed".
function(_bx_read_standard_types)
  set(table "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/standard_types.def")
  if(NOT EXISTS "${table}")
    set(table "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../formats/standard_types.def")
  endif()
  file(STRINGS "${table}" rows REGEX "^BX_STANDARD_TYPE")
  foreach(row IN LISTS rows)
    if(NOT row MATCHES "^BX_STANDARD_TYPE[(]([0-9]+), ([A-Z_]+), (kept|transformed)[)]$")
      message(FATAL_ERROR "${table}: cannot read \"${row}\"")
    elseif(CMAKE_MATCH_3 STREQUAL "kept")
      set_property(GLOBAL PROPERTY "BX_STANDARD_TYPE_${CMAKE_MATCH_2}" ${CMAKE_MATCH_1})
    else()
      set_property(GLOBAL PROPERTY "BX_STANDARD_TYPE_${CMAKE_MATCH_2}" transformed)
    endif()
  endforeach()
endfunction()
_bx_read_standard_types()

# Reads a resource identifier or type (<role> ID or TYPE) as the resource compiler does: a number
# from 1 to 65535 ("#123" also), a standard type name as its number, or a name, which it stores
# in upper case. Sets <out> to what a resource script writes (the number, or the name). Checked
# here so that a mistake stops the configure step; `bxres embed` applies the same rules.
function(_bx_resource_name out role value)
  if(value MATCHES "^[1-9][0-9]?[0-9]?[0-9]?$")  # most identifiers: a number, as it stands
    set(${out} "${value}" PARENT_SCOPE)
    return()
  endif()
  # Types that the resource compiler keeps byte for byte, by their standard numbers; and those
  # whose files it transforms (a bitmap loses its file header, an icon becomes a group of
  # images), which only a resource script can declare.
  string(TOUPPER "${value}" upper)
  if(role STREQUAL "TYPE")
    get_property(standard GLOBAL PROPERTY "BX_STANDARD_TYPE_${upper}")
    if(standard STREQUAL "transformed")
      message(FATAL_ERROR "bx_add_resource: TYPE ${value} is a type whose file the resource "
                          "compiler transforms, not bytes to embed as they are; declare it in a "
                          "resource script with bx_add_resource_script()")
    elseif(standard)
      set(value ${standard})
    endif()
  endif()
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

# Sets <out> to the target that holds <target>'s resources: the target itself, or, for a static
# library, an object library whose objects every consumer links (an archive member that nothing
# refers to would be left out). Stops the configure step, on behalf of <command>, for a target
# that cannot hold resources. What a holder needs is set up once, at the target's first resource.
function(_bx_resource_holder out target command)
  get_target_property(holder ${target} BX_RESOURCE_HOLDER)
  if(holder)
    set(${out} ${holder} PARENT_SCOPE)
    return()
  endif()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "STATIC_LIBRARY")
    set(holder "${target}_bx_resources")
    if(NOT TARGET ${holder})
      add_library(${holder} OBJECT)
      target_link_libraries(${holder} PRIVATE bx::res)
      target_link_libraries(${target} INTERFACE "$<TARGET_OBJECTS:${holder}>" bx::res)
      add_dependencies(${target} ${holder})
      set_target_properties(${holder} PROPERTIES BX_HOLDS_FOR ${target})
      # A library of nothing but resources still needs a source to be an archive.
      get_target_property(sources ${target} SOURCES)
      if(NOT sources)
        set(anchor "${CMAKE_CURRENT_BINARY_DIR}/bx_resources/${target}_resources_only.cpp")
        file(CONFIGURE OUTPUT "${anchor}" CONTENT
             "// Generated by bx_add_resource(): ${target} holds resources only.\n")
        target_sources(${target} PRIVATE "${anchor}")
      endif()
    endif()
  elseif(kind MATCHES "^(SHARED_LIBRARY|MODULE_LIBRARY)$" AND WIN32)
    message(FATAL_ERROR "${command}: ${target} is a DLL, and on Windows a DLL's resources "
                        "belong to the DLL, where the program does not look; declare them on the "
                        "executable or on a static library it links")
  elseif(kind MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    target_link_libraries(${target} PRIVATE bx::res)
    set(holder ${target})
    # GNU ld for Windows keeps one of two resources that objects of the program share, and says
    # so only in passing: a program's link that does fails. It also orders the names of merged
    # resources its own way: each link is followed by bxres order.
    get_target_property(launcher ${target} CXX_LINKER_LAUNCHER)
    if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND kind STREQUAL "EXECUTABLE" AND
       NOT launcher)
      get_property(templates GLOBAL PROPERTY BX_RESOURCE_TEMPLATES)
      # A launcher takes no generator expression: it reads where bxres is from a file.
      set(tool_path "${CMAKE_BINARY_DIR}/bx_resources/bxres_path.txt")
      get_property(written GLOBAL PROPERTY BX_TOOL_PATH_WRITTEN)
      if(NOT written)
        file(GENERATE OUTPUT "${tool_path}" CONTENT "$<TARGET_FILE:bx::bxres>")
        set_property(GLOBAL PROPERTY BX_TOOL_PATH_WRITTEN TRUE)
      endif()
      set_target_properties(${target} PROPERTIES CXX_LINKER_LAUNCHER
        "${CMAKE_COMMAND};-DBXRES_PATH_FILE=${tool_path};-P;${templates}/BxCheckedLink.cmake;--")
    endif()
  else()
    message(FATAL_ERROR "${command}: ${target} (${kind}) cannot hold resources; declare them "
                        "on an executable, or a shared, module, object or static library")
  endif()
  set_target_properties(${target} PROPERTIES BX_RESOURCE_HOLDER ${holder})
  set(${out} ${holder} PARENT_SCOPE)
endfunction()

# Adds <source> to <owner>. <file> is what the source's object depends on. GENERATED says that
# the build writes the source, by a rule of this directory.
function(_bx_add_holder_source owner source file)
  cmake_parse_arguments(PARSE_ARGV 3 arg "GENERATED" "" "")
  target_sources(${owner} PRIVATE "${source}")
  if(arg_GENERATED)
    set_source_files_properties("${source}" TARGET_DIRECTORY ${owner} PROPERTIES GENERATED TRUE)
  endif()
  set_source_files_properties("${source}" TARGET_DIRECTORY ${owner} PROPERTIES
                              OBJECT_DEPENDS "${file}")
  # An object made by the resource compiler is no object that an object library lists among its
  # own: a static library's consumers link it by its path.
  get_source_file_property(external "${source}" EXTERNAL_OBJECT)
  get_target_property(library ${owner} BX_HOLDS_FOR)
  if(external AND library)
    target_link_libraries(${library} INTERFACE "$<BUILD_INTERFACE:${source}>")
  endif()
endfunction()

# The build writes a file by the rule of the directory that declares it, which only that
# directory's targets follow. When <waiter> was made in another directory than this one, a
# target of this directory writes <file> first. Sets <out> to the target that writes <file>:
# that one, or <waiter> itself.
function(_bx_write_here_first out waiter file)
  get_target_property(there ${waiter} SOURCE_DIR)
  set(${out} ${waiter} PARENT_SCOPE)
  if(NOT there STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    string(SHA1 writer "${waiter}|${file}")
    string(SUBSTRING "${writer}" 0 16 writer)
    add_custom_target(bx_write_${writer} DEPENDS "${file}")
    add_dependencies(${waiter} bx_write_${writer})
    set(${out} bx_write_${writer} PARENT_SCOPE)
  endif()
endfunction()

# Sets <out> to <path> as messages show it: relative to the build folder of the calling project
# when it lies there, else to the project's source folder (with ../ where it lies outside), so
# that nothing of the build machine's folders goes into a program.
function(_bx_shown_path out path)
  set(base "${PROJECT_SOURCE_DIR}")
  cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${path}" NORMALIZE in_build)
  if(in_build)
    set(base "${PROJECT_BINARY_DIR}")
  endif()
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${base}" OUTPUT_VARIABLE path)
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# Adds embed arguments (<ARGN>) for <target>'s resources, on behalf of <command>; <inputs> are
# the files they name. All of a target's resources are embedded by one `bxres embed` run, whose
# arguments the build writes to a file, so that a target with thousands costs one run and one
# compilation: on ELF into one source, on Windows into one compiled resource file that the
# resource compiler turns into an object. The first call makes that step; the same resource
# given twice, by declarations or scripts alike, stops it, naming both places.
function(_bx_embed target command inputs)
  get_target_property(owner ${target} BX_RESOURCE_HOLDER)
  if(owner)
    get_target_property(embedder ${owner} BX_EMBEDDER)
  else()  # the target's first resource
    _bx_resource_holder(owner ${target} ${command})
    _bx_make_embed_step(embedder ${target} ${owner})
    set_target_properties(${owner} PROPERTIES BX_EMBEDDER ${embedder})
  endif()
  # An input that a rule of this directory writes is written before the embedding step runs.
  foreach(input IN LISTS inputs)
    get_source_file_property(generated "${input}" GENERATED)
    if(generated)
      _bx_write_here_first(writer ${embedder} "${input}")
    endif()
  endforeach()
  set_property(TARGET ${owner} APPEND PROPERTY BX_EMBED_ARGS ${ARGN})
  set_property(TARGET ${owner} APPEND PROPERTY BX_EMBED_INPUTS ${inputs})
endfunction()

# Makes the step that embeds <owner>'s resources, in this directory; sets <out> to the target
# that runs it (<owner>, or one of this directory when <owner> was made in another).
function(_bx_make_embed_step out target owner)
  _bx_resource_emitter(emitter bx_add_resource)
  set(work "${CMAKE_CURRENT_BINARY_DIR}/bx_resources")
  file(MAKE_DIRECTORY "${work}")  # which Make, unlike Ninja, does not make for an output
  set(args_file "${work}/${owner}.args")
  file(GENERATE OUTPUT "${args_file}"
       CONTENT "$<JOIN:$<TARGET_PROPERTY:${owner},BX_EMBED_ARGS>,\n>\n")
  get_property(tool_built_by GLOBAL PROPERTY BX_HOST_TOOL_BUILT_BY)
  set(embed "$<TARGET_FILE:bx::bxres>" embed --for ${target})
  set(depends "${args_file}" "$<TARGET_PROPERTY:${owner},BX_EMBED_INPUTS>"
      "$<TARGET_FILE:bx::bxres>" ${tool_built_by})
  if(emitter STREQUAL "elf")
    set(source "${work}/${owner}.cpp")
    add_custom_command(OUTPUT "${source}"
      COMMAND ${embed} -o "${source}" "@${args_file}"
      DEPENDS ${depends}
      COMMENT "Embedding the resources of ${target}"
      VERBATIM COMMAND_EXPAND_LISTS)
  elseif(CMAKE_RC_COMPILER MATCHES "windres")
    _bx_find_resource_compiler()
    get_property(templates GLOBAL PROPERTY BX_RESOURCE_TEMPLATES)
    set(source "${work}/${owner}.res.obj")
    add_custom_command(OUTPUT "${source}"
      COMMAND ${embed} -o "${work}/${owner}.res" "@${args_file}"
      COMMAND "${CMAKE_COMMAND}" "-DRES=${work}/${owner}.res" "-DOBJECT=${source}"
              "-DWINDRES=${BX_WINDRES}" "-DCC=${BX_RC_PREPROCESSOR}"
              -P "${templates}/BxResourceObject.cmake"
      DEPENDS ${depends} "${templates}/BxResourceObject.cmake"
      BYPRODUCTS "${work}/${owner}.res"
      COMMENT "Embedding the resources of ${target}"
      VERBATIM COMMAND_EXPAND_LISTS)
    set_source_files_properties("${source}" PROPERTIES EXTERNAL_OBJECT TRUE)
  else()
    # Another toolchain's linker (MSVC's) takes the compiled resource file as it is.
    set(source "${work}/${owner}.res")
    add_custom_command(OUTPUT "${source}"
      COMMAND ${embed} -o "${source}" "@${args_file}"
      DEPENDS ${depends}
      COMMENT "Embedding the resources of ${target}"
      VERBATIM COMMAND_EXPAND_LISTS)
    set_source_files_properties("${source}" PROPERTIES EXTERNAL_OBJECT TRUE)
  endif()
  _bx_add_holder_source(${owner} "${source}" "${args_file}" GENERATED)
  _bx_write_here_first(embedder ${owner} "${source}")
  set(${out} ${embedder} PARENT_SCOPE)
endfunction()

# The checks that every declaration passes, on behalf of <command>: no <unparsed> arguments, a
# <target> that exists, and a <file> given, which is a file or (where <may_be_generated>) the
# output of a custom command. Sets <out> to the file's absolute path.
function(_bx_check_declaration out command target unparsed file may_be_generated)
  if(unparsed)
    message(FATAL_ERROR "${command}: unexpected arguments: ${unparsed}")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "${command}: ${target} is not a target")
  endif()
  if(NOT file)
    message(FATAL_ERROR "${command}: FILE is missing")
  endif()
  cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    set(nor "")
    if(may_be_generated)
      get_source_file_property(generated "${file}" GENERATED)
      set(nor " (nor the output of a custom command)")
    endif()
    if(NOT generated)
      message(FATAL_ERROR "${command}: ${file} is not a file${nor}")
    endif()
  endif()
  set(${out} "${file}" PARENT_SCOPE)
endfunction()

function(bx_add_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ID;TYPE;LANGUAGE;FILE" "")
  _bx_check_declaration(file bx_add_resource "${target}" "${arg_UNPARSED_ARGUMENTS}"
                        "${arg_FILE}" TRUE)
  set(language 0)
  if(DEFINED arg_LANGUAGE)
    if(arg_LANGUAGE MATCHES "^(0[xX][0-9A-Fa-f]+|[0-9]+)$")
      string(REGEX REPLACE "^0+([0-9])" "\\1" language "${arg_LANGUAGE}")  # not octal
      string(LENGTH "${language}" digits)
      if(digits LESS 9)
        math(EXPR language "${language}")
      endif()
    endif()
    if(NOT language MATCHES "^[0-9]+$" OR language GREATER 65535)
      message(FATAL_ERROR "bx_add_resource: LANGUAGE ${arg_LANGUAGE} is not a number from 0 to "
                          "65535 (decimal, or hexadecimal as 0x0411)")
    endif()
  endif()
  _bx_resource_name(id "ID" "${arg_ID}")
  _bx_resource_name(type "TYPE" "${arg_TYPE}")

  # The same resource declared twice stops here already, without a build.
  set(key "BX_DECLARED|${target}|${id}|${type}|${language}")
  get_property(declared GLOBAL PROPERTY "${key}")
  if(declared)
    message(FATAL_ERROR "bx_add_resource: ${target} declares resource ${arg_ID} of type "
                        "${arg_TYPE}, language ${language} twice")
  endif()
  set_property(GLOBAL PROPERTY "${key}" TRUE)
  _bx_shown_path(origin "${file}")
  _bx_embed(${target} bx_add_resource "${file}" --id ${id} --type ${type} --language ${language}
            --file "${file}" --origin "${origin}")
endfunction()

include("${CMAKE_CURRENT_LIST_DIR}/BxResourceScript.cmake")

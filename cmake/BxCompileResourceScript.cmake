# Compiles a resource script with windres at build time, doing first what Windows' resource
# compiler does and windres on a POSIX host does not (run by bx_add_resource_script()):
#   - a script saved in UTF-16 (with a byte-order mark) is read as UTF-16, and one saved in
#     UTF-8 with a byte-order mark as UTF-8: its strings keep their text;
#   - a header saved in UTF-16 is read as such;
#   - a header or a file named with backslashes, or in another letter case than on disk, is
#     found, as on a file system that ignores case.
# Everything happens in WORK_DIR: a copy of the script, converted copies of headers and links
# under the names the script uses. The script's own folder and the target's include
# directories are searched after it, in that order. DEPFILE receives every file the
# compilation read, for the build to know when to compile again.
#
# OUTPUT receives the compiled resource file (.res), and OBJECT, when given, the same compiled
# into an object for a Windows linker.
#
#   cmake -DSCRIPT=<script.rc> -DOUTPUT=<file.res> [-DOBJECT=<file.obj>] -DWORK_DIR=<dir>
#         -DDEPFILE=<file> -DBITS=32|64 -DWINDRES=<windres> -DPREPROCESSOR=<gcc>
#         -DINCLUDES=<a|b> -DDEFINES=<A=1|B> [-DCODE_PAGE=<n>]
#         -P BxCompileResourceScript.cmake
cmake_minimum_required(VERSION 3.25)

# The tools speak untranslated, whatever the user's locale: their messages are read here (a
# missing header), and the build's are the same on every machine.
set(ENV{LC_ALL} C)

string(REPLACE "|" ";" includes "${INCLUDES}")
# The host's own headers are no Windows headers: they would only hide the MinGW-w64 ones.
list(FILTER includes EXCLUDE REGEX "^/usr(/local)?/include/?$")
string(REPLACE "|" ";" defines "${DEFINES}")
cmake_path(GET SCRIPT PARENT_PATH script_dir)
cmake_path(GET SCRIPT FILENAME script_name)
set(stage "${WORK_DIR}/stage")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
set(search_dirs "${script_dir}" ${includes})

# Writes <file> to <copy> in UTF-8, after <prefix>: converted from UTF-16 when it starts with
# that byte-order mark (either order), without the mark when it starts with UTF-8's, else as it
# is. Where there was a mark, <marked_prefix> goes first.
function(copy_as_utf8 file copy prefix marked_prefix)
  file(READ "${file}" head LIMIT 3 HEX)
  if(head MATCHES "^(fffe|feff)")
    set(prefix "${marked_prefix}${prefix}")
    execute_process(COMMAND iconv -f UTF-16 -t UTF-8 "${file}" OUTPUT_VARIABLE text
                    RESULT_VARIABLE status ERROR_VARIABLE error)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${file}: cannot read it as UTF-16: ${error}")
    endif()
    string(REPLACE "\r\n" "\n" text "${text}")
  elseif(head STREQUAL "efbbbf")
    set(prefix "${marked_prefix}${prefix}")
    file(READ "${file}" text OFFSET 3)
  else()
    file(READ "${file}" text)
  endif()
  cmake_path(GET copy PARENT_PATH folder)
  file(MAKE_DIRECTORY "${folder}")
  file(WRITE "${copy}" "${prefix}${text}")
endfunction()

# Sets <out> to the file that <name>, as a Windows program writes it (either slash, any letter
# case), names under one of <bases> (the first that has it), or "" where there is none; and
# <out>_AS_WRITTEN to whether <name> names it as a POSIX system reads it too.
function(find_as_windows name out)
  set(${out} "" PARENT_SCOPE)
  set(as_written FALSE)
  if(NOT name MATCHES "\\\\")
    set(as_written TRUE)
  endif()
  string(REPLACE "\\" "/" path "${name}")
  string(REGEX REPLACE "/+" "/" path "${path}")
  string(REPLACE "/" ";" parts "${path}")
  set(bases ${ARGN})
  if(IS_ABSOLUTE "${path}")
    set(bases "/")
  endif()
  foreach(base IN LISTS bases)
    set(at "${base}")
    set(found TRUE)
    foreach(part IN LISTS parts)
      if(part STREQUAL "" OR part STREQUAL ".")
        continue()
      elseif(part STREQUAL "..")
        cmake_path(GET at PARENT_PATH at)
        continue()
      endif()
      if(EXISTS "${at}/${part}")
        set(at "${at}/${part}")
        continue()
      endif()
      string(TOLOWER "${part}" wanted)
      file(GLOB entries LIST_DIRECTORIES TRUE RELATIVE "${at}" "${at}/*")
      set(match "")
      foreach(entry IN LISTS entries)
        string(TOLOWER "${entry}" lower)
        if(lower STREQUAL wanted)
          set(match "${entry}")
          break()
        endif()
      endforeach()
      if(match STREQUAL "")
        set(found FALSE)
        break()
      endif()
      set(at "${at}/${match}")
      set(as_written FALSE)
    endforeach()
    if(found AND EXISTS "${at}" AND NOT IS_DIRECTORY "${at}")
      set(${out} "${at}" PARENT_SCOPE)
      set(${out}_AS_WRITTEN ${as_written} PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Makes <name> (relative, as the script writes it) found in the stage as <file>.
function(link_in_stage name file)
  set(link "${stage}/${name}")
  if(EXISTS "${link}" OR IS_SYMLINK "${link}")
    return()
  endif()
  cmake_path(GET link PARENT_PATH folder)
  file(MAKE_DIRECTORY "${folder}")
  file(CREATE_LINK "${file}" "${link}" SYMBOLIC)
endfunction()

# Copies <header>, if it lies under one of the folders searched, into the stage at the place it
# has under that folder, in UTF-8 (converted from UTF-16 where it is saved so), so that it and
# the headers it includes by a relative name are found there first. Sets <out> to TRUE where it
# made a copy.
function(stage_header header out)
  set(${out} FALSE PARENT_SCOPE)
  file(REAL_PATH "${SCRIPT}" script)
  if(header IN_LIST staged_headers OR header STREQUAL script)  # the script has its own copy
    return()
  endif()
  foreach(dir IN LISTS search_dirs)
    cmake_path(IS_PREFIX dir "${header}" NORMALIZE under)
    if(under)
      cmake_path(RELATIVE_PATH header BASE_DIRECTORY "${dir}" OUTPUT_VARIABLE relative)
      copy_as_utf8("${header}" "${stage}/${relative}" "#line 1 \"${header}\"\n" "")
      set(staged_headers ${staged_headers} "${header}" PARENT_SCOPE)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# The code page that the script's text is read in. A byte-order mark says it (UTF-16 or UTF-8),
# or CODE_PAGE, or a #pragma code_page in the script. Otherwise text outside ASCII that is valid
# UTF-8 is read as UTF-8: it is what editors write today, and 8-bit text in another code page
# is practically never valid UTF-8. Any other is read in windres's default, code page 1252, with
# a warning that names the line, for the build cannot know which code page it was saved in.
set(code_page_flags "")
set(unmarked_prefix "")
file(READ "${SCRIPT}" head LIMIT 3 HEX)
if(CODE_PAGE)
  set(code_page_flags "--codepage=${CODE_PAGE}")
elseif(NOT head MATCHES "^(fffe|feff|efbbbf)")
  file(READ "${SCRIPT}" text)
  string(REGEX MATCH "^[\t\n\r -~]*" ascii "${text}")
  string(LENGTH "${ascii}" ascii_length)
  string(LENGTH "${text}" length)
  if(ascii_length LESS length AND NOT text MATCHES "(^|\n)[ \t]*#[ \t]*pragma[ \t]+code_page")
    execute_process(COMMAND iconv -f UTF-8 -t UTF-8 "${SCRIPT}" RESULT_VARIABLE status
                    OUTPUT_QUIET ERROR_QUIET)
    if(status EQUAL 0)
      set(unmarked_prefix "#pragma code_page(65001)\n")
    else()
      string(REGEX MATCHALL "\n" breaks "${ascii}")
      list(LENGTH breaks line)
      math(EXPR line "${line} + 1")
      message(WARNING "${SCRIPT}:${line}: text outside ASCII that is not UTF-8 is read in code "
                      "page 1252, windres's default. If the script is saved in another code "
                      "page, say which: #pragma code_page(932) in the script, or "
                      "bx_add_resource_script(... CODE_PAGE 932), for Shift-JIS.")
    endif()
  endif()
endif()

# The script, in UTF-8 where it was in UTF-16, with its own name and lines for messages; text
# that was in UTF-16 or marked as UTF-8 says that it is UTF-8 now.
set(staged "${stage}/${script_name}")
copy_as_utf8("${SCRIPT}" "${staged}" "${unmarked_prefix}#line 1 \"${SCRIPT}\"\n"
             "#pragma code_page(65001)\n")

set(macros -DRC_INVOKED)
if(BITS EQUAL 64)
  list(APPEND macros -D_WIN64)
endif()
foreach(define IN LISTS defines)
  list(APPEND macros "-D${define}")
endforeach()
set(include_flags "-I${stage}")
foreach(dir IN LISTS search_dirs)
  list(APPEND include_flags "-I${dir}")
endforeach()

# Preprocesses until every header is found and readable. A header that is missing under the
# name written is linked in the stage under that name where it exists as Windows would find it.
# Every header read gets a copy in the stage, which is searched first, converted from UTF-16
# where it is saved so: then a header in UTF-16 is read as such wherever it is included from.
set(preprocessed "${WORK_DIR}/preprocessed.rc")
set(headers_file "${WORK_DIR}/headers.d")
set(staged_headers "")
foreach(round RANGE 200)
  execute_process(
    COMMAND "${PREPROCESSOR}" -E -xc ${macros} ${include_flags} -MMD -MF "${headers_file}"
            -MT resources -o "${preprocessed}" "${staged}"
    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    # The files that the messages name (a header in UTF-16 reads as nonsense), and those that
    # include them.
    string(REGEX MATCHALL "[^ \n][^:\n]*:[0-9]+[:,]" places "${error}")
    set(again FALSE)
    foreach(place IN LISTS places)
      string(REGEX REPLACE ":[0-9]+[:,]$" "" file "${place}")
      string(REGEX REPLACE "^(In file included )?from " "" file "${file}")
      if(EXISTS "${file}" AND NOT IS_DIRECTORY "${file}")
        file(REAL_PATH "${file}" file)
        stage_header("${file}" copied)
        if(copied)
          set(again TRUE)
        endif()
      endif()
    endforeach()
    if(again)
      continue()
    endif()
    if(error MATCHES "([^\n]*):[0-9]+:[0-9]+: fatal error: ([^\n]*): No such file or directory")
      set(includer "${CMAKE_MATCH_1}")
      set(missing "${CMAKE_MATCH_2}")
      cmake_path(GET includer PARENT_PATH includer_dir)
      find_as_windows("${missing}" header "${includer_dir}" ${search_dirs})
      if(header AND NOT IS_SYMLINK "${stage}/${missing}")
        link_in_stage("${missing}" "${header}")
        continue()
      endif()
    endif()
    message(FATAL_ERROR "${error}")
  endif()
  file(READ "${headers_file}" listed)
  string(REGEX REPLACE "\\\\\n" " " listed "${listed}")
  string(REGEX REPLACE "^resources:" "" listed "${listed}")
  string(REGEX REPLACE "([^\\\\]) +" "\\1;" listed "${listed}")
  set(again FALSE)
  set(outside "")  # headers read that have no copy: the Windows headers, say
  foreach(header IN LISTS listed)
    string(STRIP "${header}" header)
    string(REPLACE "\\ " " " header "${header}")
    if(header STREQUAL "")
      continue()
    endif()
    file(REAL_PATH "${header}" header)
    cmake_path(IS_PREFIX stage "${header}" NORMALIZE in_stage)
    if(NOT in_stage)
      stage_header("${header}" copied)
      if(copied)
        set(again TRUE)
      elseif(NOT header IN_LIST staged_headers)
        list(APPEND outside "${header}")
      endif()
    endif()
  endforeach()
  if(NOT again)
    break()
  endif()
endforeach()
set(headers ${staged_headers} ${outside})

# The files that resource statements name: every quoted string and every bare word with a dot
# that names a file, as the resource compiler finds it (the stage, the script's folder, the
# include directories); a name that only Windows would find is linked in the stage.
file(READ "${preprocessed}" text)
string(REGEX REPLACE "(^|\n)#[^\n]*" "\\1" text "${text}")  # the preprocessor's line markers
string(REGEX MATCHALL "\"([^\"\n]|\"\")*\"|[A-Za-z0-9_./\\\\:-]+\\.[A-Za-z0-9_]+" words "${text}")
list(REMOVE_DUPLICATES words)
set(files "")
foreach(word IN LISTS words)
  string(REGEX REPLACE "^\"(.*)\"$" "\\1" name "${word}")
  string(REPLACE "\\\\" "\\" name "${name}")
  string(REPLACE "\"\"" "\"" name "${name}")
  if(name STREQUAL "" OR name MATCHES "[\n*?<>|]" OR name MATCHES "^#")
    continue()
  endif()
  find_as_windows("${name}" file ${search_dirs})
  if(file)
    list(APPEND files "${file}")
    if(NOT file_AS_WRITTEN AND NOT IS_ABSOLUTE "${name}")
      link_in_stage("${name}" "${file}")
    endif()
  endif()
endforeach()

set(outputs "res=${OUTPUT}")
if(OBJECT)
  list(APPEND outputs "coff=${OBJECT}")
endif()
foreach(output IN LISTS outputs)
  string(REGEX REPLACE "=.*" "" format "${output}")
  string(REGEX REPLACE "^[a-z]*=" "" output "${output}")
  execute_process(
    COMMAND "${WINDRES}" "--preprocessor=${PREPROCESSOR}" --preprocessor-arg=-E
            --preprocessor-arg=-xc ${macros} ${include_flags} ${code_page_flags} -J rc -O ${format}
            -i "${staged}" -o "${output}"
    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    file(REMOVE "${output}")
    message(FATAL_ERROR "${error}")
  endif()
endforeach()

# Every file read, for the build to compile again when one changes.
set(depends "")
set(read "${SCRIPT}" ${headers} ${files})
list(REMOVE_DUPLICATES read)
foreach(file IN LISTS read)
  string(REPLACE " " "\\ " file "${file}")
  string(APPEND depends " \\\n  ${file}")
endforeach()
string(REPLACE " " "\\ " target "${OUTPUT}")
file(WRITE "${DEPFILE}" "${target}:${depends}\n")

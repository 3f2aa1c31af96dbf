# The library's exported C names, three ways at once: the set that nm reads
# off the shared library must equal the names that the headers declare with
# LMX_API and the names listed in exported.txt, and each must have its
# definition spelled whole at the start of a line in src/ (so that grep,
# ctags and a debugger's break on the name all find it).
# Usage: cmake -DLIB=<liblumex.so> -DROOT=<source tree> -P check_exports.cmake
cmake_policy(SET CMP0057 NEW)
execute_process(COMMAND nm -D --defined-only ${LIB} OUTPUT_VARIABLE syms RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
# C names only: mangled C++ names (weak template copies) are not interface.
string(REGEX MATCHALL "[0-9a-f]+ [TWi] [A-Za-z_][A-Za-z0-9_]*" lines "${syms}")
set(exported "")
foreach(l ${lines})
  string(REGEX REPLACE "^[0-9a-f]+ [TWi] " "" name "${l}")
  if(NOT name MATCHES "^_Z")
    list(APPEND exported ${name})
  endif()
endforeach()
list(REMOVE_DUPLICATES exported)

# The names that lines of the files match: `lead` is what stands before the
# name, whose own group is number `group`; the name follows it with "(".
function(names_at_lines out lead group)
  set(found "")
  foreach(f ${ARGN})
    file(STRINGS ${f} hits REGEX "^${lead}[A-Za-z_][A-Za-z0-9_]*\\(")
    foreach(h ${hits})
      string(REGEX REPLACE "^${lead}([A-Za-z_][A-Za-z0-9_]*)\\(.*$" "\\${group}" name "${h}")
      list(APPEND found ${name})
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Names the headers declare: LMX_API, a return type, the name.
file(GLOB_RECURSE headers ${ROOT}/include/lumex/*.h ${ROOT}/src/*.h)
names_at_lines(declared "[ \t]*LMX_API [^;(]*[ *]" 1 ${headers})
# Names defined in the sources: a line that starts with a return type (after
# extern "C", if any) and the name (a call is indented or follows other text).
file(GLOB_RECURSE sources ${ROOT}/src/*.cpp)
names_at_lines(defined "(extern \"C\" )?[A-Za-z_][A-Za-z0-9_: ]*[ *&]" 2 ${sources})

file(STRINGS ${ROOT}/tests/exports/exported.txt rows REGEX "^[^#]")
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" listed "${rows}")

set(problems "")
foreach(n ${exported})
  foreach(set declared listed defined)
    if(NOT n IN_LIST ${set})
      list(APPEND problems "${n}: exported but not ${set}")
    endif()
  endforeach()
endforeach()
foreach(set declared listed)
  foreach(n ${${set}})
    if(NOT n IN_LIST exported)
      list(APPEND problems "${n}: ${set} but not exported")
    endif()
  endforeach()
endforeach()
if(problems)
  string(REPLACE ";" "\n  " text "${problems}")
  message(FATAL_ERROR "exported names disagree:\n  ${text}")
endif()
list(LENGTH exported count)
message(STATUS "${count} exported names: declared, listed and defined by name")

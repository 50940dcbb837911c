# cmake -DOBJDUMP=... -DSTRIP=... -DZIP=... -DTOP=... -DWORK=...
#       -DBINARIES=name=built-file,... -DDOCUMENTS=path,... -P check_dist.cmake
# Unpacks the distribution zip into WORK and fails unless
# - everything sits below the folder TOP: the binaries, the documents, and
#   nothing else but the guide's pictures (docs/screenshots/*.png);
# - each binary is stripped: no symbol table, no debug sections, and strip
#   would not make it any smaller;
# - each binary imports system DLLs only;
# - each binary keeps the export table of the file it was stripped from.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/pe_common.cmake)
veldra_require_vars(check_dist OBJDUMP STRIP ZIP TOP WORK BINARIES DOCUMENTS)
if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "check_dist: ${ZIP} was not built")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "check_dist: cannot unpack ${ZIP}")
endif()

string(REPLACE "," ";" binaries "${BINARIES}")
string(REPLACE "," ";" documents "${DOCUMENTS}")
set(required)
foreach(entry IN LISTS binaries)
  string(REGEX REPLACE "=.*" "" name "${entry}")
  list(APPEND required ${TOP}/${name})
endforeach()
foreach(doc IN LISTS documents)
  list(APPEND required ${TOP}/${doc})
endforeach()

file(GLOB_RECURSE found RELATIVE ${WORK} ${WORK}/*)
foreach(member IN LISTS required)
  if(NOT member IN_LIST found)
    message(FATAL_ERROR "check_dist: ${ZIP} lacks ${member}")
  endif()
endforeach()
foreach(member IN LISTS found)
  if(NOT member IN_LIST required AND NOT member MATCHES "^${TOP}/docs/screenshots/[^/]+\\.png$")
    message(FATAL_ERROR "check_dist: ${ZIP} holds an unexpected ${member}")
  endif()
endforeach()

foreach(entry IN LISTS binaries)
  string(REGEX MATCH "^([^=]+)=(.+)$" _ "${entry}")
  set(name ${CMAKE_MATCH_1})
  set(built ${CMAKE_MATCH_2})
  set(shipped ${WORK}/${TOP}/${name})

  veldra_objdump(-t ${shipped} symbols)
  if(NOT symbols MATCHES "no symbols")
    message(FATAL_ERROR "check_dist: ${name} in ${ZIP} still has a symbol table")
  endif()
  veldra_objdump(-h ${shipped} sections)
  if(sections MATCHES "\\.debug")
    message(FATAL_ERROR "check_dist: ${name} in ${ZIP} still has debug sections")
  endif()
  execute_process(COMMAND ${STRIP} --strip-all -o ${shipped}.again ${shipped} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "check_dist: ${STRIP} failed on ${name}")
  endif()
  file(SIZE ${shipped} size)
  file(SIZE ${shipped}.again size_again)
  if(size_again LESS size)
    message(FATAL_ERROR "check_dist: strip shrinks ${name} from ${size} to ${size_again} bytes")
  endif()
  file(REMOVE ${shipped}.again)

  veldra_require_imports(${shipped} "${VELDRA_SYSTEM_DLLS}")

  veldra_exports(${built} _ built_exports)
  veldra_exports(${shipped} _ shipped_exports)
  if(NOT "${built_exports}" STREQUAL "${shipped_exports}")
    message(FATAL_ERROR "check_dist: ${name} lost exports in stripping: ${built_exports} -> ${shipped_exports}")
  endif()
  message(STATUS "check_dist: ${name}: ${size} bytes, stripped")
endforeach()

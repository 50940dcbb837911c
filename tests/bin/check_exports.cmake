# cmake -DOBJDUMP=... -DBINARY=... -DEXPORTS=Name=Ordinal,... -P check_exports.cmake
# Fails unless BINARY exports exactly the given names, each at its ordinal;
# with plain names (EXPORTS=Name,...) the ordinals are not checked.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/pe_common.cmake)
foreach(var OBJDUMP BINARY EXPORTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_exports: ${var} is not set")
  endif()
endforeach()

veldra_exports(${BINARY} names ordinals)
string(REPLACE "," ";" expected "${EXPORTS}")
list(SORT expected)
set(found ${names})
if(EXPORTS MATCHES "=")
  set(found ${ordinals})
endif()
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "check_exports: ${BINARY}\n  expected: ${expected}\n  found:    ${found}")
endif()
list(LENGTH found n)
message(STATUS "check_exports: ${BINARY}: ${n} exports match")

# cmake -DOBJDUMP=... -DBINARY=... -DEXPORTS=Name=Ordinal,... -P check_exports.cmake
# Fails unless BINARY exports exactly the given names, each at its ordinal;
# with plain names (EXPORTS=Name,...) the ordinals are not checked.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/pe_common.cmake)
veldra_require_vars(check_exports OBJDUMP BINARY EXPORTS)

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

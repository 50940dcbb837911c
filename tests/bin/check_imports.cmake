# cmake -DOBJDUMP=... -DBINARY=... [-DALLOWED=A.DLL,B.DLL] -P check_imports.cmake
# Fails when BINARY imports a DLL outside ALLOWED (default: the system DLLs
# every Windows NT machine has). A MinGW runtime DLL (libstdc++, libgcc,
# libwinpthread) would have to be shipped beside the binary.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/pe_common.cmake)
veldra_require_vars(check_imports OBJDUMP BINARY)
if(DEFINED ALLOWED)
  string(REPLACE "," ";" allowed "${ALLOWED}")
  string(TOUPPER "${allowed}" allowed)
else()
  set(allowed ${VELDRA_SYSTEM_DLLS})
endif()
veldra_require_imports(${BINARY} "${allowed}")

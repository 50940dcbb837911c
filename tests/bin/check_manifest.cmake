# cmake -DOBJDUMP=... -DBINARY=... -P check_manifest.cmake
# Reads the application manifest back from the binary's resources and fails
# unless it is resource 1 of type RT_MANIFEST (24), asks for administrator
# rights, names the supported systems from Vista to Windows 10/11 and does
# not pull in the newer common controls (the dialogs keep their classic look).
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/pe_common.cmake)

veldra_objdump(-p ${BINARY} dump)
# The resource tree is printed depth first, indented by level: the subtree of
# type 24 runs up to the next type entry.
string(REGEX MATCH "\n[0-9a-f]+   Entry: ID: 0x000018,[^\n]*\n(([0-9a-f]+    [^\n]*\n)*)" _ "${dump}")
set(subtree "${CMAKE_MATCH_1}")
if(NOT subtree MATCHES "     Entry: ID: 0x000001,[^\n]*\n([^\n]*\n)*[^\n]*Leaf: Addr: (0x[0-9a-f]+), Size: (0x[0-9a-f]+)")
  message(FATAL_ERROR "check_manifest: ${BINARY} has no RT_MANIFEST resource 1")
endif()
set(rva ${CMAKE_MATCH_2})
set(size ${CMAKE_MATCH_3})

# The leaf gives a relative address; the section table maps it to the file.
string(REGEX MATCH "ImageBase[ \t]+([0-9a-f]+)" _ "${dump}")
set(base 0x${CMAKE_MATCH_1})
veldra_objdump(-h ${BINARY} sections)
if(NOT sections MATCHES "\\.rsrc +[0-9a-f]+ +([0-9a-f]+) +[0-9a-f]+ +([0-9a-f]+)")
  message(FATAL_ERROR "check_manifest: ${BINARY} has no .rsrc section")
endif()
math(EXPR offset "${rva} - (0x${CMAKE_MATCH_1} - ${base}) + 0x${CMAKE_MATCH_2}")
math(EXPR size "${size}")
file(READ ${BINARY} manifest OFFSET ${offset} LIMIT ${size})

set(required
  "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"
  "{e2011457-1546-43c5-a5fe-008deee3d3f0}"  # Vista
  "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"  # 7
  "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"  # 8
  "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"  # 8.1
  "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}") # 10 and 11
foreach(text IN LISTS required)
  string(FIND "${manifest}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "check_manifest: the manifest of ${BINARY} lacks ${text}:\n${manifest}")
  endif()
endforeach()
if(manifest MATCHES "Common-Controls" OR NOT manifest MATCHES "</assembly>")
  message(FATAL_ERROR "check_manifest: unexpected manifest in ${BINARY}:\n${manifest}")
endif()

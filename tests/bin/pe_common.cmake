# Helpers shared by the binary check scripts (included with include()).

# The DLLs any Windows NT machine has: a shipped binary may import these only.
set(VELDRA_SYSTEM_DLLS
  KERNEL32.DLL USER32.DLL ADVAPI32.DLL GDI32.DLL COMDLG32.DLL MSVCRT.DLL SHELL32.DLL COMCTL32.DLL)

# Stops the check script SCRIPT unless every variable named after it was
# given with -D.
function(veldra_require_vars script)
  foreach(var ${ARGN})
    if(NOT DEFINED ${var})
      message(FATAL_ERROR "${script}: ${var} is not set")
    endif()
  endforeach()
endfunction()

# Output of `objdump <flag> <binary>`; fails the check when objdump does.
function(veldra_objdump flag binary out)
  execute_process(COMMAND ${OBJDUMP} ${flag} ${binary} OUTPUT_VARIABLE dump ERROR_VARIABLE err
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} ${flag} ${binary} failed (${rc}): ${err}")
  endif()
  set(${out} "${dump}" PARENT_SCOPE)
endfunction()

# Upper-case names of the DLLs the binary imports, in import table order.
function(veldra_imported_dlls binary out)
  veldra_objdump(-p ${binary} dump)
  string(REGEX MATCHALL "DLL Name: [^\n]+" rows "${dump}")
  set(names)
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^DLL Name: " "" name "${row}")
    string(STRIP "${name}" name)
    string(TOUPPER "${name}" name)
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# Fails unless every DLL the binary imports is in the list `allowed`.
function(veldra_require_imports binary allowed)
  veldra_imported_dlls(${binary} names)
  if(NOT names)
    message(FATAL_ERROR "${binary} imports nothing: not a PE image objdump understands?")
  endif()
  set(foreign)
  foreach(name IN LISTS names)
    if(NOT name IN_LIST allowed)
      list(APPEND foreign ${name})
    endif()
  endforeach()
  if(foreign)
    message(FATAL_ERROR "${binary} imports DLLs a bare machine lacks: ${foreign}\n  (all imports: ${names})")
  endif()
  message(STATUS "${binary}: imports ${names}")
endfunction()

# The exports as objdump prints them: `names` the sorted export names,
# `ordinals` the sorted Name=Ordinal pairs; both empty without an export table.
function(veldra_exports binary names ordinals)
  veldra_objdump(-p ${binary} dump)
  set(base 0)
  if(dump MATCHES "Ordinal Base[ \t]+([0-9]+)")
    set(base ${CMAKE_MATCH_1})
  endif()
  # Below this heading one "\t[index] name" line per export, index = ordinal - base.
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[[^\n]*\n)*" table "${dump}")
  # Brackets would keep CMake from splitting the list: make them plain text.
  string(REPLACE "[" "<" table "${table}")
  string(REPLACE "]" ">" table "${table}")
  string(REGEX MATCHALL "<[ ]*[0-9]+> [^ \t\n]+" rows "${table}")
  set(found_names)
  set(found_pairs)
  foreach(row IN LISTS rows)
    string(REGEX MATCH "<[ ]*([0-9]+)> (.+)" _ "${row}")
    math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
    list(APPEND found_names "${CMAKE_MATCH_2}")
    list(APPEND found_pairs "${CMAKE_MATCH_2}=${ordinal}")
  endforeach()
  list(SORT found_names)
  list(SORT found_pairs)
  set(${names} ${found_names} PARENT_SCOPE)
  set(${ordinals} ${found_pairs} PARENT_SCOPE)
endfunction()

# "DLL FUNCTION" for every function the binary imports by name, in import
# table order (DLL upper-case); a function imported by ordinal reads
# "DLL #ORDINAL". Fails on an import line it cannot read, so that nothing in
# the import table goes unchecked.
function(veldra_imported_functions out binary)
  veldra_objdump(-p ${binary} dump)
  # The import section ends at the next heading in the first column (objdump
  # goes on with exports, unwind tables and relocations).
  string(FIND "${dump}" "\nThe Import Tables" start)
  if(start EQUAL -1)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(SUBSTRING "${dump}" ${start} -1 rest)
  string(REGEX MATCH "^\nThe Import Tables[^\n]*\n(([ \t][^\n]*)?\n)*" section "${rest}")
  # Semicolons and brackets would break CMake's list splitting.
  string(REGEX REPLACE "[][;]" "?" section "${section}")
  string(REPLACE "\n" ";" lines "${section}")
  set(dll)
  set(found)
  foreach(line IN LISTS lines)
    if(line MATCHES "^\tDLL Name: (.+)$")
      string(STRIP "${CMAKE_MATCH_1}" dll)
      string(TOUPPER "${dll}" dll)
    elseif(NOT dll OR line MATCHES "^[ \t]*$" OR line MATCHES "^( |\tvma:)")
      # Directory rows and headings before and between the DLLs' member lists.
    elseif(line MATCHES "^\t([0-9a-f]+)\t +[0-9a-f]+ +([^ \t]+)")
      set(name "${CMAKE_MATCH_2}")
      if(name STREQUAL "<none>")
        # Ordinal import: objdump prints the thunk, whose low 16 bits are the ordinal.
        string(REGEX MATCH "[0-9a-f]?[0-9a-f]?[0-9a-f]?[0-9a-f]$" low "${CMAKE_MATCH_1}")
        math(EXPR ordinal "0x${low}")
        set(name "#${ordinal}")
      endif()
      list(APPEND found "${dll} ${name}")
    else()
      message(FATAL_ERROR "${binary}: import line objdump printed that no check understands:\n${line}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

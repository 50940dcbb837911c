# Helpers shared by the binary check scripts (included with include()).

# The DLLs any Windows NT machine has: a shipped binary may import these only.
set(VELDRA_SYSTEM_DLLS
  KERNEL32.DLL USER32.DLL ADVAPI32.DLL GDI32.DLL COMDLG32.DLL MSVCRT.DLL SHELL32.DLL COMCTL32.DLL)

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

# The export name table as objdump prints it (empty when there is none).
function(veldra_export_table binary out)
  veldra_objdump(-p ${binary} dump)
  string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
  set(table "")
  if(at GREATER_EQUAL 0)
    string(SUBSTRING "${dump}" ${at} -1 table)
    string(FIND "${table}" "\n\n" end)
    if(end GREATER 0)
      string(SUBSTRING "${table}" 0 ${end} table)
    endif()
  endif()
  set(${out} "${table}" PARENT_SCOPE)
endfunction()

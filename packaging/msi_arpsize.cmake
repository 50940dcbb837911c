# cmake -DMSIBUILD=... -DMSI=package.msi -DFILES=a;b;... -P msi_arpsize.cmake
# Writes ARPSIZE, the installed files' size in kilobytes rounded up, into the
# package: Programs and Features shows it where the installer does not work
# the size out itself (Wine's msiexec writes 0).
set(bytes 0)
foreach(file IN LISTS FILES)
  file(SIZE ${file} size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR kilobytes "(${bytes} + 1023) / 1024")
execute_process(COMMAND ${MSIBUILD} ${MSI} -q
                  "INSERT INTO `Property` (`Property`, `Value`) VALUES ('ARPSIZE', '${kilobytes}')"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild could not write ARPSIZE into ${MSI}")
endif()

set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# The test programs run under 32-bit Wine only where this machine executes
# 32-bit code and Debian's wine32 is installed (scripts/bootstrap decides);
# elsewhere the build and its binary checks still run.
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE _wine32_rc
  OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
if(_wine32_rc EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-exec)
endif()

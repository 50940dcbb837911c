// Test plug-in with only the older read entry point.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListBuilder list;
  return EchoMarker(list.Sz("CalledBy", "ReadRegValues"), key).End().Global(GMEM_FIXED);
}

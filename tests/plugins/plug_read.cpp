// Test plug-in with only the older read entry point.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListWriter list;
  list.Sz("CalledBy", "ReadRegValues");
  EchoMarker(list, key);
  return list.Finish(GMEM_FIXED);
}

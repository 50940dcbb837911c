// Test plug-in with both read entry points; the list says which one ran.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValuesEx(HKEY key, DWORD adapterNumber) {
  ListWriter list;
  list.Sz("CalledBy", "ReadRegValuesEx");
  list.Dword("Adapter", adapterNumber);
  EchoMarker(list, key);
  return list.Finish();
}

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListWriter list;
  list.Sz("CalledBy", "ReadRegValues");
  EchoMarker(list, key);
  return list.Finish();
}

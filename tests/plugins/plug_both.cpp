// Test plug-in with both read entry points; the list says which one ran.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValuesEx(HKEY key, DWORD adapterNumber) {
  ListBuilder list;
  return EchoMarker(list.Sz("CalledBy", "ReadRegValuesEx").Dword("Adapter", adapterNumber), key)
      .End()
      .Global();
}

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListBuilder list;
  return EchoMarker(list.Sz("CalledBy", "ReadRegValues"), key).End().Global();
}

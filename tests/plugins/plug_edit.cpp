// Test plug-in whose settings "dialog" frees the caller's list and hands
// back a new one, as a plug-in that rebuilds its settings does.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListBuilder list;
  return EchoMarker(list.Sz("CalledBy", "ReadRegValues"), key).End().Global();
}

extern "C" void WINAPI EditRegValues(void** valueList) {
  if (*valueList != nullptr) {
    HGLOBAL old = GlobalHandle(*valueList);
    GlobalUnlock(old);
    GlobalFree(old);
  }
  *valueList = ListBuilder().Sz("CalledBy", "EditRegValues").Dword("Edited", 1).End().Global();
}

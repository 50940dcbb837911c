// Test plug-in whose settings "dialog" frees the caller's list and hands
// back a new one, as a plug-in that rebuilds its settings does.
#include "list_writer.h"

extern "C" void* WINAPI ReadRegValues(HKEY key) {
  ListWriter list;
  list.Sz("CalledBy", "ReadRegValues");
  EchoMarker(list, key);
  return list.Finish();
}

extern "C" void WINAPI EditRegValues(void** valueList) {
  if (*valueList != nullptr) {
    HGLOBAL old = GlobalHandle(*valueList);
    GlobalUnlock(old);
    GlobalFree(old);
  }
  ListWriter list;
  list.Sz("CalledBy", "EditRegValues");
  list.Dword("Edited", 1);
  *valueList = list.Finish();
}

// Test plug-in that needs a DLL of its own, which lies only beside it: it
// loads when the host looks for a plug-in's imports in the plug-in's folder.
#include "list_writer.h"

extern "C" __declspec(dllimport) const char* WINAPI PlugDepHelperName();

extern "C" void* WINAPI ReadRegValues(HKEY) {
  ListBuilder list;
  return list.Sz("CalledBy", PlugDepHelperName()).End().Global(GMEM_FIXED);
}

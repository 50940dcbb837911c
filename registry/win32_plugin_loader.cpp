// Configuration plug-ins as Windows DLLs, their lists on the global heap.
#ifdef _WIN32
#include <windows.h>

#include "registry/plugins.h"

namespace veldra {

void* Win32PluginLoader::Load(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  return LoadLibraryExA(path, nullptr, 0);
}

void* Win32PluginLoader::Find(void* library, const char* entry) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), entry));
}

void Win32PluginLoader::Unload(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

std::size_t Win32PluginLoader::ListBlockSize(const void* list) {
  // A list that did not come from the global heap has no handle and so no
  // known size; the parser then reads nothing from it.
  HGLOBAL handle = GlobalHandle(list);
  if (handle == nullptr) return 0;
  return GlobalSize(handle);
}

void Win32PluginLoader::ReleaseList(void* list) {
  if (list == nullptr) return;
  HGLOBAL handle = GlobalHandle(list);
  if (handle == nullptr) return;
  GlobalUnlock(handle);
  GlobalFree(handle);
}

}  // namespace veldra
#endif

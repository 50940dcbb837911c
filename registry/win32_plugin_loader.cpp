// Configuration plug-ins as Windows DLLs, their lists on the global heap.
#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "base/dll_search.h"
#include "registry/plugins.h"

namespace veldra {

// A plug-in named by an absolute path is loaded from there, and the DLLs it
// imports are looked up beside it. A bare or relative name is looked up in
// the system directory only: the catalogue row is the administrator's, but
// the current directory and PATH are whatever the user started config.exe
// with.
void* Win32PluginLoader::Load(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  if (IsAbsolutePath(path)) return LoadLibraryBeside(path);
  char full[MAX_PATH + 2 + kStringBufferBytes];
  const UINT length = GetSystemDirectoryA(full, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || std::strlen(path) >= kStringBufferBytes) return nullptr;
  full[length] = '\\';
  std::strcpy(full + length + 1, path);
  return LoadLibraryBeside(full);
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

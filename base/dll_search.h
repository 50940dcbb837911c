// Where the programs look for DLLs. The standard search order puts the
// current directory before the system directory's neighbours and PATH, so a
// program started from a download folder, or a plug-in named without a
// directory, could pick up whatever DLL lies there. Windows 8 (and 7, Vista
// and 2008 with their loader update) offer SetDefaultDllDirectories and the
// LOAD_LIBRARY_SEARCH_* flags; XP SP1 and later SetDllDirectoryA. Both are
// looked up at run time so that the programs still load on NT 4.0, where
// neither exists and the standard order stays.
#ifndef VELDRA_BASE_DLL_SEARCH_H
#define VELDRA_BASE_DLL_SEARCH_H

#include <windows.h>

namespace veldra {

namespace dll_search_detail {
// The values of the loader update's SDK, which older headers lack.
const DWORD kSearchDllLoadDir = 0x00000100;   // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
const DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryAFn)(LPCSTR);

inline FARPROC Kernel32(const char* name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }
}  // namespace dll_search_detail

// Takes the current directory out of the process's DLL search path: the
// application directory, then the system directory, come first. Call it
// first thing in WinMain/main, before any DLL is loaded on demand.
inline void RestrictDllSearchPath() {
  using namespace dll_search_detail;
  SetDefaultDllDirectoriesFn setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(Kernel32("SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(kSearchDefaultDirs)) return;
  SetDllDirectoryAFn setDirectory =
      reinterpret_cast<SetDllDirectoryAFn>(reinterpret_cast<void*>(Kernel32("SetDllDirectoryA")));
  if (setDirectory != nullptr) setDirectory("");
}

// Whether `path` names a file by drive and root ("C:\x.dll") or by UNC
// ("\\server\share\x.dll"): only such a path is never searched for.
inline bool IsAbsolutePath(const char* path) {
  const auto slash = [](char c) { return c == '\\' || c == '/'; };
  if (slash(path[0]) && slash(path[1])) return true;
  return path[0] != '\0' && path[1] == ':' && slash(path[2]);
}

// Loads the DLL at an absolute path so that the DLLs it imports are found
// in its own directory first, and never through the current directory
// where the process's search path leaves that out.
inline HMODULE LoadLibraryBeside(const char* absolutePath) {
  using namespace dll_search_detail;
  const bool searchFlags = Kernel32("SetDefaultDllDirectories") != nullptr;
  return LoadLibraryExA(absolutePath, nullptr,
                        searchFlags ? kSearchDllLoadDir | kSearchDefaultDirs : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace veldra

#endif

// Registry clean-up shared by the Windows tests and benches.
#pragma once

#include <windows.h>

namespace veldra_test {

// Deletes `name` below `parent` with everything under it; a missing key is
// fine. RegDeleteKeyA only removes keys without subkeys, hence the walk.
inline void DeleteRegistryTree(HKEY parent, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char sub[512];
  for (;;) {
    DWORD chars = sizeof sub;
    if (RegEnumKeyExA(key, 0, sub, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteRegistryTree(key, sub);
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, name);
}

}  // namespace veldra_test

// The application object: shows the adapter list dialog modally over the
// real registry; when it ends, the program ends with its result (1 after
// Close, 2 after Escape, -1 if it could not be shown).
#include <windows.h>

#include "base/dll_search.h"
#include "config/adapter_list_dialog.h"
#include "registry/win32_store.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  veldra::RestrictDllSearchPath();
  veldra::Win32RegistryStore store(HKEY_LOCAL_MACHINE);
  veldra::Win32PluginLoader loader;
  veldra::config::AdapterListDialog dialog(store, loader);
  return static_cast<int>(dialog.DoModal());
}

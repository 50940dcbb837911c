// Configuration plug-ins and the value lists they exchange with the program.
#pragma once

#include "registry/catalog.h"
#include "registry/store.h"
#include "registry/value_list.h"

namespace veldra {

// Plug-in entry points, as the plug-in interface header states them. The key
// handle is the store's handle (an HKEY in the Windows build) and is valid
// only during the call.
using ReadRegValuesExFn = VeldraReadRegValuesExFn;
using ReadRegValuesFn = VeldraReadRegValuesFn;
using EditRegValuesFn = VeldraEditRegValuesFn;

// How plug-ins are loaded and their lists released: LoadLibraryExA and the
// global heap on Windows, in-process fakes in native tests.
class PluginLoader {
 public:
  virtual ~PluginLoader() = default;
  // Null when the library cannot be loaded (an empty path included).
  virtual void* Load(const char* path) = 0;
  // Address of an exported entry point, or null.
  virtual void* Find(void* library, const char* entry) = 0;
  virtual void Unload(void* library) = 0;
  // Readable bytes of the block whose locked address is `list`; 0 when unknown.
  virtual std::size_t ListBlockSize(const void* list) = 0;
  // Releases a list (GlobalHandle, GlobalUnlock, GlobalFree); null is ignored.
  virtual void ReleaseList(void* list) = 0;
};

#ifdef _WIN32
class Win32PluginLoader : public PluginLoader {
 public:
  void* Load(const char* path) override;
  void* Find(void* library, const char* entry) override;
  void Unload(void* library) override;
  std::size_t ListBlockSize(const void* list) override;
  void ReleaseList(void* list) override;
};
#endif

// Loaded plug-in of a catalogue row, unloaded when it goes out of scope.
// Empty when the row's configDll is "None" (any case) or the load fails.
class LoadedPlugin {
 public:
  LoadedPlugin(PluginLoader& loader, const DeviceTypeRecord* row);
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;
  explicit operator bool() const { return library_ != nullptr; }
  void* Find(const char* entry) const;

 private:
  PluginLoader& loader_;
  void* library_ = nullptr;
};

// Releases `currentList`, then asks the plug-in of row `rowIndex` (-1: none)
// for the settings of adapter `number`; returns the new list or null.
void* ReadSettings(RegistryStore& store, PluginLoader& loader, const DeviceTypeCatalog& catalog, int rowIndex,
                   AdapterNumber number, void* currentList, const char* serviceName = kServiceName);
// Lets the row's plug-in edit the list through EditRegValues, if it has one.
void EditSettings(PluginLoader& loader, const DeviceTypeCatalog& catalog, int rowIndex, void** currentList);
// Writes the list's values in order, then AdapterNumber and DeviceType.
// The first failed write stops everything and the result is false.
bool WriteDeviceValues(PluginLoader& loader, const Key& device, const void* list, AdapterNumber number,
                       const char* typeName);
inline void ReleaseList(PluginLoader& loader, void* list) {
  if (list != nullptr) loader.ReleaseList(list);
}

}  // namespace veldra

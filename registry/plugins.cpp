// The plug-in host: loads a device type's configuration plug-in for one
// operation, lets it read or edit the adapter's settings, and writes the
// settings it hands back into the device key.
#include "registry/plugins.h"

#include <cstring>

#include "base/text.h"
#include "registry/device_keys.h"

namespace veldra {
namespace {

constexpr char kNoPlugin[] = "None";

// Entry points are looked up as untyped addresses; the cast to the entry's
// declared type is the plug-in contract.
template <typename Fn>
Fn EntryPoint(const LoadedPlugin& plugin, const char* name) {
  return reinterpret_cast<Fn>(plugin.Find(name));
}

}  // namespace

LoadedPlugin::LoadedPlugin(PluginLoader& loader, const DeviceTypeRecord* row) : loader_(loader) {
  if (row == nullptr) return;
  const char* path = row->configDll;
  // A row whose path fills its buffer without a NUL cannot name a library.
  if (std::memchr(path, '\0', sizeof row->configDll) == nullptr) return;
  // Empty rows (type subkeys that could not be opened) have no path: no
  // plug-in, without asking the loader to resolve an empty name.
  if (path[0] == '\0' || EqualsNoCase(path, kNoPlugin)) return;
  library_ = loader_.Load(path);
}

LoadedPlugin::~LoadedPlugin() {
  if (library_ != nullptr) loader_.Unload(library_);
}

void* LoadedPlugin::Find(const char* entry) const {
  return library_ != nullptr ? loader_.Find(library_, entry) : nullptr;
}

void* ReadSettings(RegistryStore& store, PluginLoader& loader, const DeviceTypeCatalog& catalog, int rowIndex,
                   AdapterNumber number, void* currentList, const char* serviceName) {
  ReleaseList(loader, currentList);
  if (rowIndex < 0) return nullptr;

  void* result = nullptr;
  {
    LoadedPlugin plugin(loader, catalog.Row(rowIndex));
    if (!plugin) return nullptr;
    // The extended entry point is preferred: it also learns the adapter
    // number, which a new adapter's still empty key does not hold yet.
    if (auto readEx = EntryPoint<ReadRegValuesExFn>(plugin, "ReadRegValuesEx")) {
      Key key = OpenDeviceKeyForPlugin(store, number, serviceName);
      if (key) result = readEx(key.get(), number);
    } else if (auto read = EntryPoint<ReadRegValuesFn>(plugin, "ReadRegValues")) {
      Key key = OpenDeviceKeyForPlugin(store, number, serviceName);
      if (key) result = read(key.get());
    }
  }  // the key is closed and the plug-in unloaded before the list is handed on
  return result;
}

void EditSettings(PluginLoader& loader, const DeviceTypeCatalog& catalog, int rowIndex, void** currentList) {
  if (rowIndex < 0 || currentList == nullptr) return;
  LoadedPlugin plugin(loader, catalog.Row(rowIndex));
  if (!plugin) return;
  if (auto edit = EntryPoint<EditRegValuesFn>(plugin, "EditRegValues")) edit(currentList);
}

bool WriteDeviceValues(PluginLoader& loader, const Key& device, const void* list, AdapterNumber number,
                       const char* typeName) {
  if (list != nullptr) {
    for (const ValueRecordView& record : ParseValueList(list, loader.ListBlockSize(list))) {
      if (device.Write(record.name, static_cast<std::uint32_t>(record.type), record.data, record.size) != kOk)
        return false;
    }
  }
  if (device.WriteDword("AdapterNumber", number) != kOk) return false;
  return device.WriteString("DeviceType", typeName != nullptr ? typeName : "") == kOk;
}

}  // namespace veldra

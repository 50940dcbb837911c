#include "config/save_adapter.h"

#include "registry/device_keys.h"

namespace veldra::config {

SaveResult SaveEditedAdapter(RegistryStore& store, PluginLoader& loader, KeyHandle serviceKey,
                             const DeviceTypeCatalog& catalog, const std::string& typeName,
                             AdapterNumber number, const void* settings, SavePrompts& prompts) {
  const DeviceTypeRecord* row = FindDeviceType(catalog, typeName.c_str());
  if (row == nullptr) return SaveResult::ShowAgain;

  std::string existing;
  if (FindDeviceKey(store, serviceKey, number, &existing)) {
    if (!prompts.ConfirmUpdate(number)) return SaveResult::ShowAgain;
    // Goes on even when the old key cannot be deleted.
    store.DeleteKey(serviceKey, existing.c_str());
  }

  const bool physical = row->physical != 0;
  if (physical) prompts.RestartNotice();
  // A null service key would make the open below address the root instead.
  if (serviceKey == nullptr) return SaveResult::Saved;
  Key key = OpenKey(store, serviceKey, DeviceKeyName(number, physical).c_str(), Access::All);
  if (key) WriteDeviceValues(store, loader, key.get(), settings, number, typeName.c_str());
  return SaveResult::Saved;
}

bool ListedKeyStillMatches(RegistryStore& store, KeyHandle serviceKey, std::uint32_t index,
                           AdapterNumber number, std::string* name) {
  char buffer[kNameBufferChars] = {};
  if (serviceKey == nullptr || !EnumSubkeyName(store, serviceKey, index, buffer)) return false;
  const ScannedName scanned = ScanDeviceKeyName(buffer);
  if (!scanned.isDeviceKey || scanned.number != number) return false;
  if (name != nullptr) *name = buffer;
  return true;
}

}  // namespace veldra::config

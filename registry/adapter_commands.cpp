#include "registry/adapter_commands.h"

#include "registry/device_keys.h"

namespace veldra {

namespace {

// The key name at `index` when it is still a device key of `number`.
bool StillListed(const Key& service, std::uint32_t index, AdapterNumber number,
                 char (&name)[kNameBufferChars]) {
  if (!service.SubkeyName(index, name)) return false;
  const ScannedName scanned = ScanDeviceKeyName(name);
  return scanned.isDeviceKey && scanned.number == number;
}

}  // namespace

AdapterNumber NewAdapter(RegistryStore& store, const Key& service) {
  const AdapterNumber number = service ? LowestFreeNumber(service) : 0;
  if (CountDeviceTypes(store) == 0) return kNoAdapterNumber;
  return CreateLogicalPlaceholder(service, number) ? number : kNoAdapterNumber;
}

Listed OpenListedAdapter(const Key& service, std::uint32_t index, AdapterNumber number, Key* device) {
  char name[kNameBufferChars];
  if (!StillListed(service, index, number, name)) return Listed::Stale;
  *device = service.Open(name, Access::All);
  return *device ? Listed::Done : Listed::Failed;
}

Listed DeleteListedAdapter(const Key& service, std::uint32_t index, AdapterNumber number) {
  char name[kNameBufferChars];
  if (!StillListed(service, index, number, name)) return Listed::Stale;
  return service.DeleteSubkey(name) == kOk ? Listed::Done : Listed::Failed;
}

SaveResult SaveEditedAdapter(PluginLoader& loader, const Key& service, const DeviceTypeCatalog& catalog,
                             const char* typeName, AdapterNumber number, const void* settings,
                             SavePrompts& prompts) {
  const DeviceTypeRecord* row = FindDeviceType(catalog, typeName);
  if (row == nullptr) return SaveResult::ShowAgain;

  NameText existing;
  if (FindDeviceKey(service, number, &existing)) {
    if (!prompts.ConfirmUpdate(number)) return SaveResult::ShowAgain;
    // Goes on even when the old key cannot be deleted.
    service.DeleteSubkey(existing.c_str());
  }

  const bool physical = row->physical != 0;
  if (physical) prompts.RestartNotice();
  Key key = service.Open(DeviceKeyName(number, physical).c_str(), Access::All);
  if (key) WriteDeviceValues(loader, key, settings, number, typeName);
  return SaveResult::Saved;
}

}  // namespace veldra

#include "registry/adapter_commands.h"

#include "base/text.h"
#include "base/veldra_plugin.h"
#include "registry/device_keys.h"
#include "registry/value_list.h"

namespace veldra {

namespace {

// The key name at `index` when it is still a device key of `number`.
bool StillListed(const Key& service, std::uint32_t index, AdapterNumber number,
                 char (&name)[kNameBufferChars]) {
  if (!service.SubkeyName(index, name)) return false;
  const ScannedName scanned = ScanDeviceKeyName(name);
  return scanned.isDeviceKey && scanned.number == number;
}

// What the save finds under the adapter's number: the last device key of
// that number (the one the save replaces) and whether the key it writes is
// already there.
struct Clash {
  bool found = false;
  bool targetExisted = false;
  NameText last;
};

// One enumeration of the service key. Unlike the plain lookups it fails on
// any enumeration error but the end of the list: a clash it missed would be
// written over without asking, or leave two keys claiming one number.
bool FindClash(const Key& service, AdapterNumber number, const char* target, Clash* clash) {
  char name[kNameBufferChars];
  for (std::uint32_t index = 0;; ++index) {
    const long rc = service.EnumSubkey(index, name);
    if (rc == kErrNoMoreItems) return true;
    if (rc != kOk) return false;
    const ScannedName scanned = ScanDeviceKeyName(name);
    if (!scanned.isDeviceKey || scanned.number != number) continue;
    clash->found = true;
    clash->last = name;
    if (EqualsNoCase(name, target)) clash->targetExisted = true;
  }
}

// The registry allows value names of up to 16,383 characters.
constexpr std::uint32_t kValueNameChars = 16384;

// Deletes every value of `key`, always the first one, so that the indexes
// do not shift under the loop; a value that stays ends it.
bool ClearValues(const Key& key) {
  Array<char> name;
  if (!name.AssignZeroed(kValueNameChars)) return false;
  for (;;) {
    std::uint32_t chars = kValueNameChars;
    const long rc = key.EnumValue(0, name.begin(), &chars, nullptr, nullptr, nullptr);
    if (rc == kErrNoMoreItems) return true;
    if (rc != kOk || key.DeleteValue(name.begin()) != kOk) return false;
  }
}

// A key's values kept as a value list, the plug-ins' own format, so that
// putting them back is the same loop as writing a plug-in's settings.
class SavedValues {
 public:
  // False when any value could not be read whole: the caller must not
  // change a key it could not put back.
  bool Take(const Key& key) {
    Array<char> name;
    Array<std::uint8_t> data;
    if (!name.AssignZeroed(kValueNameChars)) return false;
    for (std::uint32_t index = 0;; ++index) {
      std::uint32_t chars = kValueNameChars;
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      long rc = key.EnumValue(index, name.begin(), &chars, &type, nullptr, &size);
      if (rc == kErrNoMoreItems) {
        std::size_t used = list_.size();
        return list_.AppendZeroed(4) && VeldraAppendEnd(list_.begin(), list_.size(), &used);
      }
      if (rc != kOk || !data.AssignZeroed(size)) return false;
      if (size > 0) {
        std::uint32_t got = size;
        chars = kValueNameChars;
        rc = key.EnumValue(index, name.begin(), &chars, &type, data.begin(), &got);
        if (rc != kOk || got != size) return false;
      }
      // A value whose type is the list's end mark cannot be kept in a list.
      if (type == static_cast<std::uint32_t>(kValueListEnd)) return false;
      std::size_t used = list_.size();
      if (!list_.AppendZeroed(VeldraRecordBytes(name.begin(), size)) ||
          !VeldraAppendRecord(list_.begin(), list_.size(), &used, static_cast<std::int32_t>(type),
                              name.begin(), data.begin(), size)) {
        return false;
      }
    }
  }

  // Gives `key` exactly the values taken; false when that did not work.
  bool PutBack(const Key& key) const {
    if (!ClearValues(key)) return false;
    for (const ValueRecordView& record : ParseValueList(list_.begin(), list_.size())) {
      if (key.Write(record.name, static_cast<std::uint32_t>(record.type), record.data, record.size) != kOk)
        return false;
    }
    return true;
  }

 private:
  Array<std::uint8_t> list_;
};

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

  const bool physical = row->physical != 0;
  const DeviceKeyText target = DeviceKeyName(number, physical);
  Clash clash;
  if (!FindClash(service, number, target.c_str(), &clash)) return SaveResult::Failed;
  if (clash.found && !prompts.ConfirmUpdate(number)) return SaveResult::ShowAgain;

  // The old key is only ever replaced by a complete new one: the key the
  // settings go to is written in place, its earlier values kept aside to be
  // put back, and a clashing key of the other kind goes last.
  Key key = service.Open(target.c_str(), Access::All);
  if (!key) {
    // A registry that creates the key and then refuses the handle (the new
    // key's inherited security) leaves it behind, claiming the number.
    if (!clash.targetExisted) service.DeleteSubkey(target.c_str());
    return SaveResult::Failed;
  }
  SavedValues before;
  const bool replacesOld = clash.found && EqualsNoCase(clash.last.c_str(), target.c_str());
  bool saved = before.Take(key);
  const bool taken = saved;
  saved = saved && (!replacesOld || ClearValues(key)) &&
          WriteDeviceValues(loader, key, settings, number, typeName);
  if (saved && clash.found && !replacesOld) saved = service.DeleteSubkey(clash.last.c_str()) == kOk;
  if (!saved) {
    if (clash.targetExisted) {
      if (taken) before.PutBack(key);
    } else {
      key.reset();
      service.DeleteSubkey(target.c_str());
    }
    return SaveResult::Failed;
  }
  if (physical) prompts.RestartNotice();
  return SaveResult::Saved;
}

}  // namespace veldra

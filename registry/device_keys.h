// Per-adapter keys below the driver's service key: naming, recognition,
// listing, lookup by number, creation and deletion.
#pragma once

#include "base/array.h"
#include "base/fixed_text.h"
#include "registry/store.h"

namespace veldra {

// Result of scanning a subkey name with the device-key pattern: a maximal
// run of non-digits (at most 31 characters) followed by an unsigned decimal.
struct ScannedName {
  bool isDeviceKey = false;  // prefix is Device or LogicalDevice and a number scanned
  bool physical = false;     // prefix is Device
  AdapterNumber number = kNoAdapterNumber;
};
// `name` is NUL-terminated; never reads past its NUL.
ScannedName ScanDeviceKeyName(const char* name);
// Same, bounded by `length` bytes for callers without a NUL (fuzzing).
ScannedName ScanDeviceKeyName(const char* name, std::size_t length);
// True when the scanned prefix of `name` equals "Device" (no number needed).
bool HasPhysicalPrefix(const char* name);

// Room for "LogicalDevice4294967295" and "Adapter 4294967295".
using DeviceKeyText = FixedText<24>;
using AdapterLine = FixedText<24>;

// "Device%lu" when physical, else "LogicalDevice%lu".
DeviceKeyText DeviceKeyName(AdapterNumber number, bool physical);
// "Adapter %lu", the list line of an adapter.
AdapterLine AdapterLineText(AdapterNumber number);
// Scans a list line with "Adapter %lu"; kNoAdapterNumber when it fails.
AdapterNumber ParseAdapterLineText(const char* text);

struct AdapterEntry {
  AdapterNumber number;
  std::uint32_t index;  // enumeration index of the key under the service key
};

// Opens (creating when missing) the service key of `serviceName` with full access.
Key OpenServiceKey(RegistryStore& store, const char* serviceName = kServiceName);

Array<AdapterEntry> ListAdapters(const Key& service);
// The last matching device key name in enumeration order; false when none.
bool FindDeviceKey(const Key& service, AdapterNumber number, NameText* name);
// Opens the service key afresh and the first matching device key with full access.
Key OpenDeviceKeyForPlugin(RegistryStore& store, AdapterNumber number,
                           const char* serviceName = kServiceName);
// Smallest number without a device key, found in one enumeration pass.
AdapterNumber LowestFreeNumber(const Key& service);
bool CreateLogicalPlaceholder(const Key& service, AdapterNumber number);
bool DeleteListedKey(const Key& service, std::uint32_t index);

// Reads DeviceType and AdapterNumber; each one read replaces the caller's
// value, a missing one leaves it ("Unknown" is the caller's usual default).
void ReadDeviceValues(const Key& device, NameText* typeName, AdapterNumber* number);

}  // namespace veldra

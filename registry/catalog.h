// The device-type catalogue: one subkey per type below the catalogue key,
// loaded into a table followed by the "Unknown" placeholder row.
#pragma once

#include "base/array.h"
#include "registry/store.h"

namespace veldra {

struct DeviceTypeRecord {
  char name[kNameBufferChars];
  char executeDll[kStringBufferBytes];
  char configDll[kStringBufferBytes];  // already expanded
  std::uint32_t physical;
};

struct DeviceTypeCatalog {
  // count + 1 rows (empty when count is 0): the filled rows, the placeholder
  // after the last filled one, and empty rows up to index count.
  Array<DeviceTypeRecord> rows;
  std::uint32_t count = 0;  // subkeys counted

  bool empty() const { return rows.empty(); }
  // Row at a drop-down index; null when out of range or negative.
  const DeviceTypeRecord* Row(int index) const;
};

std::uint32_t CountDeviceTypes(RegistryStore& store, const char* serviceName = kServiceName);
DeviceTypeCatalog LoadCatalog(RegistryStore& store, const char* serviceName = kServiceName);
// First of rows 0..count-1 whose name equals `typeName` without regard to
// case; the row at index count is never searched. Null when none.
const DeviceTypeRecord* FindDeviceType(const DeviceTypeCatalog& catalog, const char* typeName);

}  // namespace veldra

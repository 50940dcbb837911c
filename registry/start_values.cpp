#include "registry/start_values.h"

#include <string>

#include "registry/device_keys.h"

namespace veldra {

namespace {

struct StartValue {
  const char* name;
  std::uint32_t type;
  std::uint32_t number;  // for REG_DWORD
  const char* text;      // for REG_SZ
};

// In the order they are supplied and removed.
constexpr StartValue kStartValues[] = {
    {"Type", kRegDword, 1, nullptr},          // kernel driver
    {"Start", kRegDword, 2, nullptr},         // automatic start
    {"ErrorControl", kRegDword, 1, nullptr},  // normal
    {"Group", kRegSz, 0, "Extended Base"},   {"LogVersion", kRegDword, 0, nullptr},
};

// True when some subkey's prefix is "Device": the number does not matter
// here, so a key named just Device counts as a physical adapter.
bool HasPhysicalAdapter(RegistryStore& store, KeyHandle serviceKey) {
  char name[kNameBufferChars];
  for (std::uint32_t index = 0; EnumSubkeyName(store, serviceKey, index, name); ++index) {
    if (HasPhysicalPrefix(name)) return true;
  }
  return false;
}

}  // namespace

void ApplyServiceStartValues(RegistryStore& store, const char* serviceName) {
  Key service = OpenServiceKey(store, serviceName);
  if (!service) return;
  if (HasPhysicalAdapter(store, service.get())) {
    for (const StartValue& v : kStartValues) {
      // Only existence is asked: a value that is there stays as it is,
      // whatever its type, size or contents.
      if (store.QueryValue(service.get(), v.name, nullptr, nullptr, nullptr) == kOk) continue;
      if (v.type == kRegDword) {
        WriteDwordValue(store, service.get(), v.name, v.number);
      } else {
        WriteStringValue(store, service.get(), v.name, v.text);
      }
    }
  } else {
    for (const StartValue& v : kStartValues) store.DeleteValue(service.get(), v.name);
  }
}

}  // namespace veldra

#include "registry/start_values.h"

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
bool HasPhysicalAdapter(const Key& service) {
  bool found = false;
  service.ForEachSubkey([&](std::uint32_t, const char* name) { return !(found = HasPhysicalPrefix(name)); });
  return found;
}

}  // namespace

void ApplyServiceStartValues(RegistryStore& store, const char* serviceName) {
  Key service = OpenServiceKey(store, serviceName);
  if (!service) return;
  if (HasPhysicalAdapter(service)) {
    for (const StartValue& v : kStartValues) {
      // Only existence is asked: a value that is there stays as it is,
      // whatever its type, size or contents.
      if (service.HasValue(v.name)) continue;
      if (v.type == kRegDword) {
        service.WriteDword(v.name, v.number);
      } else {
        service.WriteString(v.name, v.text);
      }
    }
  } else {
    for (const StartValue& v : kStartValues) service.DeleteValue(v.name);
  }
}

}  // namespace veldra

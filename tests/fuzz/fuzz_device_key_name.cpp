// libFuzzer target: the device-key name scanner on arbitrary bytes, bounded
// by the input's length, cross-checked against the NUL-terminated form.
#include <cstdint>
#include <string>

#include "registry/device_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* name = reinterpret_cast<const char*>(data);
  const veldra::ScannedName bounded = veldra::ScanDeviceKeyName(name, size);

  // The same text with a NUL after it (and cut at any NUL inside) must scan
  // the same way.
  const std::string terminated(name, size);
  const veldra::ScannedName whole = veldra::ScanDeviceKeyName(terminated.c_str());
  if (bounded.isDeviceKey != whole.isDeviceKey || bounded.physical != whole.physical ||
      bounded.number != whole.number)
    __builtin_trap();
  // The missing-number marker is never a recognised adapter number.
  if (bounded.isDeviceKey && bounded.number == veldra::kNoAdapterNumber) __builtin_trap();
  if (bounded.isDeviceKey && bounded.physical != veldra::HasPhysicalPrefix(terminated.c_str()))
    __builtin_trap();
  return 0;
}

#include "registry/device_keys.h"

#include <cstring>

#include "base/text.h"

namespace veldra {

namespace {

bool EqualsNoCase(const char* a, std::size_t n, const char* keyword) {
  for (std::size_t i = 0; i < n; ++i) {
    if (keyword[i] == '\0' || ToUpperAscii(a[i]) != ToUpperAscii(keyword[i])) return false;
  }
  return keyword[n] == '\0';
}

enum class Prefix { None, Device, LogicalDevice, Other };

struct Scan {
  Prefix prefix = Prefix::None;
  AdapterNumber number = kNoAdapterNumber;  // stays the marker when no digits follow
};

// The pattern "%[^0123456789]%lu" by hand, bounded by `length` and by the
// first NUL. The prefix is a non-empty maximal run of non-digits; the number
// is the run of digits right after it (it cannot start with a blank or sign,
// since the prefix swallowed those). Characters after the digits are ignored.
//
// A number that does not fit 32 bits saturates at 4294967295, the marker for
// a missing number, so a key with a number of more than ten significant
// digits is never taken for an adapter. Reading it modulo 2^32 instead would
// make Device4294967296 alias adapter 0. Leading zeros do not count toward
// the overflow: Device00000000003 is adapter 3.
Scan ScanName(const char* name, std::size_t length) {
  Scan scan;
  std::size_t i = 0;
  while (i < length && name[i] != '\0' && !IsDigit(name[i])) ++i;
  if (i == 0) return scan;  // empty name, or starts with a digit: nothing matches
  // The prefix is never copied: it is compared in place, which stops at the
  // keyword's length. A prefix of 32 characters or more, which would not fit
  // the pattern's 32-character buffer, can never equal a keyword anyway.
  if (EqualsNoCase(name, i, "Device")) {
    scan.prefix = Prefix::Device;
  } else if (EqualsNoCase(name, i, "LogicalDevice")) {
    scan.prefix = Prefix::LogicalDevice;
  } else {
    scan.prefix = Prefix::Other;
  }
  if (i == length || !IsDigit(name[i])) return scan;  // no digits: the number stays missing
  std::uint64_t value = 0;
  ScanDecimal(name + i, length - i, &value);
  scan.number = value >= kNoAdapterNumber ? kNoAdapterNumber : static_cast<AdapterNumber>(value);
  return scan;
}

ScannedName ToScannedName(const Scan& scan) {
  ScannedName out;
  out.number = scan.number;
  out.physical = scan.prefix == Prefix::Device;
  out.isDeviceKey = (scan.prefix == Prefix::Device || scan.prefix == Prefix::LogicalDevice) &&
                    scan.number != kNoAdapterNumber;
  return out;
}

}  // namespace

ScannedName ScanDeviceKeyName(const char* name) {
  return ToScannedName(ScanName(name, static_cast<std::size_t>(-1)));
}

ScannedName ScanDeviceKeyName(const char* name, std::size_t length) {
  return ToScannedName(ScanName(name, length));
}

bool HasPhysicalPrefix(const char* name) {
  return ScanName(name, static_cast<std::size_t>(-1)).prefix == Prefix::Device;
}

DeviceKeyText DeviceKeyName(AdapterNumber number, bool physical) {
  DeviceKeyText name(physical ? "Device" : "LogicalDevice");
  name.AppendNumber(number);
  return name;
}

AdapterLine AdapterLineText(AdapterNumber number) {
  AdapterLine line("Adapter ");
  line.AppendNumber(number);
  return line;
}

AdapterNumber ParseAdapterLineText(const char* text) {
  // "Adapter %lu": the literal word, then any white space (the blank in the
  // pattern and %lu both skip it), an optional sign and at least one digit.
  // Overflow saturates as for key names; a minus sign negates modulo 2^32.
  if (text == nullptr || std::strncmp(text, "Adapter", 7) != 0) return kNoAdapterNumber;
  const char* p = text + 7;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  std::uint64_t value = 0;
  if (ScanDecimal(p, static_cast<std::size_t>(-1), &value) == 0) return kNoAdapterNumber;
  if (value >= kNoAdapterNumber) return kNoAdapterNumber;
  return negative ? static_cast<AdapterNumber>(0u - static_cast<AdapterNumber>(value))
                  : static_cast<AdapterNumber>(value);
}

Key OpenServiceKey(RegistryStore& store, const char* serviceName) {
  // A service name too long for a registry path finds no key.
  FixedText<sizeof kServicesPath + kNameBufferChars> path(kServicesPath);
  if (!path.Append(serviceName)) return Key();
  return Key::Root(store).Open(path.c_str(), Access::All);
}

Array<AdapterEntry> ListAdapters(const Key& service) {
  Array<AdapterEntry> entries;
  // Short of memory the list ends there: the adapters before the first that
  // could not be kept, in the order the key lists them.
  service.ForEachSubkey([&](std::uint32_t index, const char* name) {
    const ScannedName scanned = ScanDeviceKeyName(name);
    return !scanned.isDeviceKey || entries.push_back(AdapterEntry{scanned.number, index});
  });
  return entries;
}

bool FindDeviceKey(const Key& service, AdapterNumber number, NameText* name) {
  bool found = false;
  service.ForEachSubkey([&](std::uint32_t, const char* subkey) {
    const ScannedName scanned = ScanDeviceKeyName(subkey);
    if (scanned.isDeviceKey && scanned.number == number) {
      found = true;  // a later match replaces an earlier one
      if (name != nullptr) *name = subkey;
    }
    return true;
  });
  return found;
}

Key OpenDeviceKeyForPlugin(RegistryStore& store, AdapterNumber number, const char* serviceName) {
  Key service = OpenServiceKey(store, serviceName);
  Key device;
  service.ForEachSubkey([&](std::uint32_t, const char* subkey) {
    const ScannedName scanned = ScanDeviceKeyName(subkey);
    if (!scanned.isDeviceKey || scanned.number != number) return true;
    device = service.Open(subkey, Access::All);
    return false;  // the first match wins here
  });
  return device;
}

AdapterNumber LowestFreeNumber(const Key& service) {
  // The smallest N for which FindDeviceKey finds nothing, from one pass: every
  // pass of FindDeviceKey would see the same subkeys, so collecting the numbers
  // once and taking the smallest absent one gives the same answer. With k
  // device keys the answer is at most k, so larger numbers are irrelevant.
  // Without memory for that, the definition itself answers, a pass a number.
  Array<AdapterNumber> numbers;
  bool complete = true;
  service.ForEachSubkey([&](std::uint32_t, const char* name) {
    const ScannedName scanned = ScanDeviceKeyName(name);
    if (scanned.isDeviceKey) complete = numbers.push_back(scanned.number);
    return complete;
  });
  Array<unsigned char> used;
  if (!complete || !used.AssignZeroed(numbers.size() + 1)) {
    AdapterNumber n = 0;
    while (FindDeviceKey(service, n, nullptr)) ++n;
    return n;
  }
  for (AdapterNumber n : numbers) {
    if (n < used.size()) used[n] = 1;
  }
  std::size_t free = 0;
  while (free < used.size() && used[free] != 0) ++free;
  return static_cast<AdapterNumber>(free);
}

bool CreateLogicalPlaceholder(const Key& service, AdapterNumber number) {
  return static_cast<bool>(service.Open(DeviceKeyName(number, false).c_str(), Access::All));
}

bool DeleteListedKey(const Key& service, std::uint32_t index) {
  char name[kNameBufferChars];
  return service.SubkeyName(index, name) && service.DeleteSubkey(name) == kOk;
}

void ReadDeviceValues(const Key& device, NameText* typeName, AdapterNumber* number) {
  char type[kStringBufferBytes];
  if (device.ReadString("DeviceType", type)) *typeName = type;
  std::uint32_t value = 0;
  if (device.ReadDword("AdapterNumber", &value)) *number = value;
}

}  // namespace veldra

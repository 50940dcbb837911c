#include "registry/catalog.h"

#include <cstring>

#include "base/fixed_text.h"
#include "base/text.h"

namespace veldra {

namespace {

constexpr char kNone[] = "None";

Key OpenCatalogKey(RegistryStore& store, const char* serviceName) {
  FixedText<sizeof kCatalogPath + kNameBufferChars> path(kCatalogPath);
  if (!path.Append(serviceName)) return Key();
  return Key::Root(store).Open(path.c_str(), Access::Read);
}

// The plug-in path of a type. When ConfigDll is absent, does not fit its
// 128-byte buffer, or expands to more than 128 characters, the row says
// "None": the type then has no plug-in, rather than a truncated path that
// could load the wrong library.
void ReadConfigDll(RegistryStore& store, const Key& typeKey, char* out) {
  char raw[kStringBufferBytes];
  std::strcpy(out, kNone);
  if (!typeKey.ReadString("ConfigDll", raw)) return;
  // The ANSI expansion asks for a byte more than its result needs, and its
  // count may exceed the result by that byte: the buffer has room to spare,
  // and what decides is whether the result itself fits the row's 128 bytes.
  char expanded[2 * kStringBufferBytes];
  const std::uint32_t needed = store.ExpandEnvironment(raw, expanded, sizeof expanded);
  if (needed == 0 || needed > sizeof expanded) return;
  if (std::memchr(expanded, '\0', kStringBufferBytes) == nullptr) return;
  std::strcpy(out, expanded);
}

void FillRow(RegistryStore& store, const Key& catalogKey, const char* name, DeviceTypeRecord* row) {
  Key typeKey = catalogKey.Open(name, Access::Read);
  if (!typeKey) return;  // the row stays empty but keeps its place
  std::strcpy(row->name, name);
  typeKey.ReadString("ExecuteDll", row->executeDll);
  ReadConfigDll(store, typeKey, row->configDll);
  typeKey.ReadDword("Physical", &row->physical);
}

}  // namespace

const DeviceTypeRecord* DeviceTypeCatalog::Row(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) return nullptr;
  return &rows[static_cast<std::size_t>(index)];
}

std::uint32_t CountDeviceTypes(RegistryStore& store, const char* serviceName) {
  std::uint32_t count = 0;
  OpenCatalogKey(store, serviceName).ForEachSubkey([&](std::uint32_t, const char*) {
    ++count;
    return true;
  });
  return count;
}

DeviceTypeCatalog LoadCatalog(RegistryStore& store, const char* serviceName) {
  DeviceTypeCatalog catalog;
  catalog.count = CountDeviceTypes(store, serviceName);
  if (catalog.count == 0) return catalog;
  if (!catalog.rows.AssignZeroed(static_cast<std::size_t>(catalog.count) + 1)) {
    catalog.rows.clear();
    catalog.count = 0;
    return catalog;
  }

  // The key is enumerated afresh; it may have lost subkeys since the count,
  // and never more rows than were counted are filled.
  std::uint32_t filled = 0;
  Key catalogKey = OpenCatalogKey(store, serviceName);
  catalogKey.ForEachSubkey([&](std::uint32_t, const char* name) {
    FillRow(store, catalogKey, name, &catalog.rows[filled]);
    return ++filled < catalog.count;
  });
  DeviceTypeRecord& placeholder = catalog.rows[filled];
  std::strcpy(placeholder.name, "Unknown");
  std::strcpy(placeholder.executeDll, kNone);
  std::strcpy(placeholder.configDll, kNone);
  placeholder.physical = 0;
  return catalog;
}

const DeviceTypeRecord* FindDeviceType(const DeviceTypeCatalog& catalog, const char* typeName) {
  if (typeName == nullptr) return nullptr;
  for (std::uint32_t i = 0; i < catalog.count && i < catalog.rows.size(); ++i) {
    if (EqualsNoCase(catalog.rows[i].name, typeName)) return &catalog.rows[i];
  }
  return nullptr;
}

}  // namespace veldra

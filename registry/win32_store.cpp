#include "registry/win32_store.h"

namespace veldra {

namespace {
HKEY H(KeyHandle key) { return static_cast<HKEY>(key); }
}  // namespace

long Win32RegistryStore::OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  char keyClass[] = "REG_NONE";
  const REGSAM sam = access == Access::All ? KEY_ALL_ACCESS : KEY_READ;
  const LONG rc = RegCreateKeyExA(H(parent), path, 0, keyClass, 0, sam, nullptr, &key, &disposition);
  *out = rc == ERROR_SUCCESS ? key : nullptr;
  return rc;
}

long Win32RegistryStore::EnumKey(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  DWORD chars = *nameChars;
  const LONG rc = RegEnumKeyExA(H(key), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *nameChars = chars;
  return rc;
}

long Win32RegistryStore::QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                                    std::uint32_t* dataSize) {
  DWORD t = 0;
  DWORD size = dataSize != nullptr ? *dataSize : 0;
  const LONG rc = RegQueryValueExA(H(key), name, nullptr, type != nullptr ? &t : nullptr,
                                   static_cast<BYTE*>(data), dataSize != nullptr ? &size : nullptr);
  if (type != nullptr && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *type = t;
  if (dataSize != nullptr && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *dataSize = size;
  return rc;
}

long Win32RegistryStore::EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                   std::uint32_t* type, void* data, std::uint32_t* dataSize) {
  DWORD chars = *nameChars;
  DWORD t = 0;
  DWORD size = dataSize != nullptr ? *dataSize : 0;
  const LONG rc = RegEnumValueA(H(key), index, name, &chars, nullptr, &t, static_cast<BYTE*>(data),
                                dataSize != nullptr ? &size : nullptr);
  if (rc == ERROR_SUCCESS) {
    *nameChars = chars;
    if (type != nullptr) *type = t;
    if (dataSize != nullptr) *dataSize = size;
  }
  return rc;
}

long Win32RegistryStore::SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                                  std::uint32_t size) {
  return RegSetValueExA(H(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32RegistryStore::DeleteValue(KeyHandle key, const char* name) {
  return RegDeleteValueA(H(key), name);
}

long Win32RegistryStore::DeleteKey(KeyHandle parent, const char* name) {
  return RegDeleteKeyA(H(parent), name);
}

void Win32RegistryStore::Close(KeyHandle key) {
  // The predefined roots and the store's own root are never closed.
  if (key == nullptr || key == root_ || key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER) return;
  RegCloseKey(H(key));
}

std::uint32_t Win32RegistryStore::ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) {
  return ExpandEnvironmentStringsA(src, dst, dstChars);
}

}  // namespace veldra

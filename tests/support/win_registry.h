// The registry kit of the Windows tests and benches: keys addressed by their
// path below HKEY_LOCAL_MACHINE, read and written directly, and a scratch
// machine hive for code that must not touch the prefix's own keys.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace veldra_test {

// Deletes `name` below `parent` with everything under it; a missing key is
// fine. RegDeleteKeyA only removes keys without subkeys, hence the walk.
inline void DeleteRegistryTree(HKEY parent, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char sub[512];
  // A child that cannot be opened or deleted stays at its index: step over it.
  for (DWORD index = 0;;) {
    DWORD chars = sizeof sub;
    if (RegEnumKeyExA(key, index, sub, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteRegistryTree(key, sub);
    chars = sizeof sub;
    char again[512];
    if (RegEnumKeyExA(key, index, again, &chars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        lstrcmpiA(again, sub) == 0)
      ++index;
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, name);
}

// An open HKLM key, closed when it goes out of scope; null when the open (or
// with `create` the create) failed.
class MachineKey {
 public:
  explicit MachineKey(const std::string& path, bool create = false) {
    const LONG rc = create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key_, nullptr)
                           : RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
  }
  ~MachineKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  MachineKey(const MachineKey&) = delete;
  MachineKey& operator=(const MachineKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// True when the key is gone afterwards.
inline bool DeleteTree(const std::string& path) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, path.c_str());
  return MachineKey(path).get() == nullptr;
}
inline bool CreateKey(const std::string& path) { return MachineKey(path, true).get() != nullptr; }
inline bool KeyExists(const std::string& path) { return MachineKey(path).get() != nullptr; }

// Writes exactly `bytes` with `type`, creating the key when missing.
inline bool SetRaw(const std::string& path, const char* name, DWORD type, const std::string& bytes) {
  MachineKey key(path, true);
  return key.get() != nullptr &&
         RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}
inline std::string DwordBytes(std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
inline std::string SzBytes(const std::string& s) { return std::string(s.c_str(), s.size() + 1); }
inline bool SetDword(const std::string& path, const char* name, std::uint32_t v) {
  return SetRaw(path, name, REG_DWORD, DwordBytes(v));
}
inline bool SetString(const std::string& path, const char* name, const std::string& v) {
  return SetRaw(path, name, REG_SZ, SzBytes(v));
}

// Creates an HKLM key that lives only until the registry is unloaded; keys
// below it must be volatile too.
inline bool CreateVolatileKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// Type and bytes of a value; false when the key or the value is missing.
inline bool ReadRaw(const std::string& path, const char* name, DWORD* type, std::string* bytes) {
  MachineKey key(path);
  DWORD size = 0;
  if (key.get() == nullptr ||
      RegQueryValueExA(key.get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  std::string data(size, '\0');
  if (RegQueryValueExA(key.get(), name, nullptr, type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS)
    return false;
  *bytes = data.substr(0, size);
  return true;
}
inline bool ValueExists(const std::string& path, const char* name) {
  DWORD type = 0;
  std::string bytes;
  return ReadRaw(path, name, &type, &bytes);
}
inline bool ReadDword(const std::string& path, const char* name, std::uint32_t* value) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRaw(path, name, &type, &bytes) || type != REG_DWORD || bytes.size() != 4) return false;
  // A string's buffer promises no alignment for a DWORD.
  std::memcpy(value, bytes.data(), 4);
  return true;
}
inline bool ReadString(const std::string& path, const char* name, std::string* value) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRaw(path, name, &type, &bytes) || type != REG_SZ) return false;
  *value = bytes.substr(0, bytes.find('\0'));
  return true;
}

// Subkey names in enumeration order.
inline std::vector<std::string> Subkeys(const std::string& path) {
  std::vector<std::string> names;
  MachineKey key(path);
  char name[256];
  DWORD length = sizeof name;
  for (DWORD i = 0; key.get() != nullptr && RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr,
                                                          nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof name) {
    names.push_back(name);
  }
  return names;
}

// HKEY_LOCAL_MACHINE redirected to an empty scratch key below HKCU for the
// lifetime of the object, then restored and the scratch key removed.
class ScratchMachine {
 public:
  explicit ScratchMachine(const char* path) : path_(path) {
    DeleteRegistryTree(HKEY_CURRENT_USER, path_);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) ==
        ERROR_SUCCESS) {
      redirected_ = RegOverridePredefKey(HKEY_LOCAL_MACHINE, key_) == ERROR_SUCCESS;
    }
  }
  ~ScratchMachine() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (key_ != nullptr) RegCloseKey(key_);
    DeleteRegistryTree(HKEY_CURRENT_USER, path_);
  }
  ScratchMachine(const ScratchMachine&) = delete;
  ScratchMachine& operator=(const ScratchMachine&) = delete;
  bool redirected() const { return redirected_; }
  HKEY key() const { return key_; }

 private:
  const char* path_;
  HKEY key_ = nullptr;
  bool redirected_ = false;
};

}  // namespace veldra_test

#include "regtool.h"

namespace cfgtest {

namespace {

class OpenedKey {
 public:
  explicit OpenedKey(const std::string& path) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~OpenedKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool DeleteTree(const std::string& path) {
  for (const std::string& child : Subkeys(path)) DeleteTree(path + "\\" + child);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
  return !KeyExists(path);
}

bool CreateKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool KeyExists(const std::string& path) { return OpenedKey(path).get() != nullptr; }

bool SetString(const std::string& path, const char* name, const std::string& value) {
  if (!CreateKey(path)) return false;
  OpenedKey key(path);
  return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool SetDword(const std::string& path, const char* name, std::uint32_t value) {
  if (!CreateKey(path)) return false;
  OpenedKey key(path);
  DWORD data = value;
  return RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
         ERROR_SUCCESS;
}

bool ValueExists(const std::string& path, const char* name) {
  OpenedKey key(path);
  return key.get() != nullptr &&
         RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool ReadDword(const std::string& path, const char* name, std::uint32_t* value) {
  OpenedKey key(path);
  DWORD type = 0, data = 0, size = sizeof data;
  if (key.get() == nullptr ||
      RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return false;
  }
  *value = data;
  return true;
}

bool ReadString(const std::string& path, const char* name, std::string* value) {
  OpenedKey key(path);
  char data[512] = {};
  DWORD type = 0, size = sizeof data - 1;
  if (key.get() == nullptr ||
      RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  *value = data;
  return true;
}

std::vector<std::string> Subkeys(const std::string& path) {
  std::vector<std::string> names;
  OpenedKey key(path);
  if (key.get() == nullptr) return names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.push_back(name);
  }
  return names;
}

}  // namespace cfgtest

// Direct access to the test prefix's HKLM keys of the driver, for setting up
// a scene before config.exe starts and checking what it wrote.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cfgtest {

constexpr char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA";
constexpr char kCatalogKey[] = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA";

// Deletes the key and everything below it; true when it is gone.
bool DeleteTree(const std::string& path);
bool CreateKey(const std::string& path);
bool KeyExists(const std::string& path);
bool SetString(const std::string& path, const char* name, const std::string& value);
bool SetDword(const std::string& path, const char* name, std::uint32_t value);
bool ValueExists(const std::string& path, const char* name);
bool ReadDword(const std::string& path, const char* name, std::uint32_t* value);
bool ReadString(const std::string& path, const char* name, std::string* value);
// Subkey names in enumeration order.
std::vector<std::string> Subkeys(const std::string& path);

}  // namespace cfgtest

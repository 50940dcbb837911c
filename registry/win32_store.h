// The real registry through advapi32 (Windows builds only).
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "registry/store.h"

namespace veldra {

class Win32RegistryStore : public RegistryStore {
 public:
  // `root` is HKEY_LOCAL_MACHINE in the product; tests may pass a scratch key.
  explicit Win32RegistryStore(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}

  KeyHandle Root() override { return root_; }
  long OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) override;
  long EnumKey(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars) override;
  long QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* dataSize) override;
  long EnumValue(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                 std::uint32_t* type, void* data, std::uint32_t* dataSize) override;
  long SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(KeyHandle key, const char* name) override;
  long DeleteKey(KeyHandle parent, const char* name) override;
  void Close(KeyHandle key) override;
  std::uint32_t ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) override;

 private:
  HKEY root_;
};

}  // namespace veldra
#endif

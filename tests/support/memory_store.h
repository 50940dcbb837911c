// An in-memory registry that behaves like the real one in every way the model
// relies on: names case-insensitive and case-preserving, subkeys enumerated
// sorted without regard to case, names of 128 characters or more end an
// enumeration, values larger than the buffer read as absent, keys with
// subkeys cannot be deleted.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "registry/store.h"

namespace veldra {

class MemoryRegistryStore : public RegistryStore {
 public:
  MemoryRegistryStore();
  ~MemoryRegistryStore() override;

  KeyHandle Root() override;
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

  // Environment used by ExpandEnvironment (names without regard to case).
  void SetEnvironment(const std::string& name, const std::string& value);
  // Number of handles opened and not yet closed (leak checks in tests).
  std::size_t OpenHandleCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace veldra

// The plug-in host tests' own helpers: a store wrapper that records every
// write in order, and the bytes of the two value types; the fake plug-ins
// themselves are the shared kit's.
#pragma once

#include <string>
#include <vector>

#include "registry/plugins.h"
#include "registry/store.h"
#include "tests/support/fake_plugins.h"

namespace veldra::test {

using veldra_test::Bytes;
using veldra_test::FakeHeap;
using veldra_test::FakeLibrary;
using veldra_test::FakeLoader;
using veldra_test::ListBuilder;

// Forwards to another store and records each SetValue: name, type, bytes.
class RecordingStore : public RegistryStore {
 public:
  struct Write {
    std::string name;
    std::uint32_t type;
    Bytes data;
    bool operator==(const Write& o) const { return name == o.name && type == o.type && data == o.data; }
  };
  explicit RecordingStore(RegistryStore& inner) : inner_(inner) {}

  KeyHandle Root() override { return inner_.Root(); }
  long OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) override {
    return inner_.OpenOrCreate(parent, path, access, out);
  }
  long EnumKey(KeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameChars) override {
    return inner_.EnumKey(key, index, name, nameChars);
  }
  long QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* dataSize) override {
    return inner_.QueryValue(key, name, type, data, dataSize);
  }
  long SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override {
    const auto* p = static_cast<const std::uint8_t*>(data);
    writes.push_back({name, type, size != 0 ? Bytes(p, p + size) : Bytes()});
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(KeyHandle key, const char* name) override {
    ++deletes;
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(KeyHandle parent, const char* name) override {
    ++deletes;
    return inner_.DeleteKey(parent, name);
  }
  void Close(KeyHandle key) override { inner_.Close(key); }
  std::uint32_t ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) override {
    return inner_.ExpandEnvironment(src, dst, dstChars);
  }

  std::vector<Write> writes;
  int deletes = 0;

 private:
  RegistryStore& inner_;
};

inline Bytes Le32Bytes(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}
inline Bytes SzBytes(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

}  // namespace veldra::test

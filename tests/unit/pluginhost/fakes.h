// In-process stand-ins for configuration plug-ins: a loader whose "libraries"
// are tables of test functions, a global heap whose blocks have exactly the
// requested size (so the sanitizer catches any read past a list), a builder
// for value lists in their byte layout, and a store wrapper that records
// every write in order.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "registry/plugins.h"
#include "registry/store.h"
#include "tests/support/value_list_builder.h"

namespace veldra::test {

using veldra_test::Bytes;

using veldra_test::ListBuilder;

// The global heap as the program sees it: an address and the block's size.
class FakeHeap {
 public:
  ~FakeHeap() {
    for (auto& [p, size] : blocks_) delete[] static_cast<const std::uint8_t*>(p);
  }
  void* Alloc(const Bytes& bytes) {
    // new[] of 0 bytes still yields a unique address, like GlobalAlloc.
    auto* p = new std::uint8_t[bytes.size()];
    if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
    blocks_[p] = bytes.size();
    return p;
  }
  std::size_t SizeOf(const void* p) const {
    auto it = blocks_.find(p);
    return it == blocks_.end() ? 0 : it->second;
  }
  bool Owns(const void* p) const { return blocks_.count(p) != 0; }
  void Free(void* p) {
    if (blocks_.erase(p) != 0) delete[] static_cast<std::uint8_t*>(p);
  }
  std::size_t Live() const { return blocks_.size(); }

 private:
  std::map<const void*, std::size_t> blocks_;
};

struct FakeLibrary {
  std::map<std::string, void*> entries;
};

class FakeLoader : public PluginLoader {
 public:
  void Add(const std::string& path, FakeLibrary library) { libraries_[path] = std::move(library); }

  void* Load(const char* path) override {
    events.push_back(std::string("load ") + path);
    auto it = libraries_.find(path);
    if (it == libraries_.end()) return nullptr;
    ++loaded;
    return &it->second;
  }
  void* Find(void* library, const char* entry) override {
    auto& entries = static_cast<FakeLibrary*>(library)->entries;
    auto it = entries.find(entry);
    return it == entries.end() ? nullptr : it->second;
  }
  void Unload(void*) override {
    events.push_back("unload");
    --loaded;
  }
  std::size_t ListBlockSize(const void* list) override { return heap.SizeOf(list); }
  void ReleaseList(void* list) override {
    events.push_back("release");
    heap.Free(list);
  }

  FakeHeap heap;
  std::vector<std::string> events;
  int loaded = 0;  // libraries currently loaded

 private:
  std::map<std::string, FakeLibrary> libraries_;
};

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

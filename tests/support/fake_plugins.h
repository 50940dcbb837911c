// In-process stand-ins for configuration plug-ins: a loader whose "libraries"
// are tables of test functions, and a global heap whose blocks have exactly
// the requested size (so the sanitizer catches any read past a list).
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "registry/plugins.h"
#include "tests/support/value_list_builder.h"

namespace veldra_test {

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

class FakeLoader : public veldra::PluginLoader {
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

}  // namespace veldra_test

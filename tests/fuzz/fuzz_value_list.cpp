// libFuzzer target: the value-list parser, and WriteDeviceValues on what it
// parses. The input is the list's whole block; libFuzzer hands it over in a
// heap buffer of exactly its size, so any read past the block is reported.
#include <cstdint>
#include <cstring>

#include "tests/support/memory_store.h"
#include "registry/plugins.h"

namespace {

// The block's size is what the global heap would report for it.
class BlockLoader : public veldra::PluginLoader {
 public:
  BlockLoader(const void* block, std::size_t size) : block_(block), size_(size) {}
  void* Load(const char*) override { return nullptr; }
  void* Find(void*, const char*) override { return nullptr; }
  void Unload(void*) override {}
  std::size_t ListBlockSize(const void* list) override { return list == block_ ? size_ : 0; }
  void ReleaseList(void*) override {}

 private:
  const void* block_;
  std::size_t size_;
};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* const end = data + size;
  const auto records = veldra::ParseValueList(data, size);
  // Each record is at least a type, a NUL and a size field.
  Check(records.size() <= size / 9);
  const std::uint8_t* next = data;
  for (const auto& r : records) {
    const auto* name = reinterpret_cast<const std::uint8_t*>(r.name);
    Check(r.type != veldra::kValueListEnd);
    Check(name == next + 4);  // packed: each record follows the previous one
    const std::size_t nameBytes = std::strlen(r.name) + 1;
    Check(r.data == name + nameBytes + 4);
    Check(r.size <= static_cast<std::size_t>(end - r.data));
    next = r.data + r.size;
  }

  veldra::MemoryRegistryStore store;
  veldra::Key key = veldra::Key::Root(store).Open("Device0", veldra::Access::All);
  BlockLoader loader(data, size);
  // Whatever the list held, a write that succeeds ends with the program's
  // own values in the key.
  if (veldra::WriteDeviceValues(loader, key, data, 7, "Fuzz")) {
    char type[veldra::kStringBufferBytes];
    std::uint32_t number = 0;
    Check(key.ReadString("DeviceType", type) && std::strcmp(type, "Fuzz") == 0);
    Check(key.ReadDword("AdapterNumber", &number) && number == 7);
  }
  return 0;
}

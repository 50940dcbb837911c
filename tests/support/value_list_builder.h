// Builds a value list, the block a configuration plug-in hands the program,
// as a test plug-in or a fake would.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/veldra_plugin.h"
#include "registry/registry.h"

namespace veldra_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Le32Bytes(std::uint32_t v) {
  Bytes bytes(4);
  VeldraPutLe32(bytes.data(), v);
  return bytes;
}

// Records are laid out by the plug-in interface's own helper; Le32 and Raw
// are there to build damaged lists.
class ListBuilder {
 public:
  ListBuilder& Record(std::int32_t type, const std::string& name, const Bytes& data) {
    std::size_t used = bytes_.size();
    bytes_.resize(used + VeldraRecordBytes(name.c_str(), static_cast<VeldraU32>(data.size())));
    VeldraAppendRecord(bytes_.data(), bytes_.size(), &used, type, name.c_str(), data.data(),
                       static_cast<VeldraU32>(data.size()));
    return *this;
  }
  ListBuilder& Dword(const std::string& name, std::uint32_t value) {
    return Record(veldra::kRegDword, name, Le32Bytes(value));
  }
  // REG_SZ with its NUL counted in the size.
  ListBuilder& Sz(const std::string& name, const std::string& text) {
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return Record(veldra::kRegSz, name, data);
  }
  ListBuilder& Le32(std::uint32_t v) {
    const Bytes bytes = Le32Bytes(v);
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  ListBuilder& Raw(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  ListBuilder& End() {
    std::size_t used = bytes_.size();
    bytes_.resize(used + 4);
    VeldraAppendEnd(bytes_.data(), bytes_.size(), &used);
    return *this;
  }
  const Bytes& bytes() const { return bytes_; }
#ifdef _WIN32
  // The list as a plug-in hands it over: the locked address of a block of the
  // global heap of exactly its size, or null when the heap refuses.
  void* Global(UINT flags = GMEM_MOVEABLE) const {
    HGLOBAL block = GlobalAlloc(flags, bytes_.size());
    void* p = block != nullptr ? GlobalLock(block) : nullptr;
    if (p == nullptr && block != nullptr) GlobalFree(block);
    if (p != nullptr) std::memcpy(p, bytes_.data(), bytes_.size());
    return p;
  }
#endif

 private:
  Bytes bytes_;
};

}  // namespace veldra_test

// Builds a value list, the block a configuration plug-in hands the program,
// byte by byte in its exact layout: little-endian, records packed back to
// back with no alignment.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "registry/registry.h"

namespace veldra_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Le32Bytes(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}

class ListBuilder {
 public:
  ListBuilder& Record(std::int32_t type, const std::string& name, const Bytes& data) {
    Le32(static_cast<std::uint32_t>(type));
    bytes_.insert(bytes_.end(), name.begin(), name.end());
    bytes_.push_back(0);
    Le32(static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
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
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  ListBuilder& Raw(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  ListBuilder& End() { return Le32(0xFFFFFFFFu); }
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

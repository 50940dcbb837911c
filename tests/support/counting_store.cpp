#include "tests/support/counting_store.h"

namespace veldra {

std::uint64_t CountingRegistryStore::Total() const {
  std::uint64_t total = 0;
  for (std::uint64_t c : counts_) total += c;
  return total;
}

void CountingRegistryStore::FailCall(StoreOp op, std::uint64_t nth, long error, bool every) {
  failOp_ = op;
  failAt_ = nth == 0 ? 0 : Count(op) + nth;
  failError_ = error;
  failEvery_ = every;
}

bool CountingRegistryStore::Tick(StoreOp op) {
  const std::uint64_t n = ++counts_[static_cast<std::size_t>(op)];
  if (failAt_ == 0 || op != failOp_) return false;
  return n == failAt_ || (failEvery_ && n > failAt_);
}

long CountingRegistryStore::Note(StoreOp op, const char* name, long rc, std::uint32_t type, const void* data,
                                 std::uint32_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  changes.push_back(
      {op, name != nullptr ? name : "", type,
       bytes != nullptr ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>(), rc});
  return rc;
}

long CountingRegistryStore::OpenOrCreate(KeyHandle parent, const char* path, Access access, KeyHandle* out) {
  if (Tick(StoreOp::OpenOrCreate)) {
    *out = nullptr;
    return Note(StoreOp::OpenOrCreate, path, failError_);
  }
  return Note(StoreOp::OpenOrCreate, path, inner_.OpenOrCreate(parent, path, access, out));
}

long CountingRegistryStore::EnumKey(KeyHandle key, std::uint32_t index, char* name,
                                    std::uint32_t* nameChars) {
  if (Tick(StoreOp::EnumKey)) return failError_;
  return inner_.EnumKey(key, index, name, nameChars);
}

long CountingRegistryStore::QueryValue(KeyHandle key, const char* name, std::uint32_t* type, void* data,
                                       std::uint32_t* dataSize) {
  if (Tick(StoreOp::QueryValue)) return failError_;
  return inner_.QueryValue(key, name, type, data, dataSize);
}

long CountingRegistryStore::EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                      std::uint32_t* nameChars, std::uint32_t* type, void* data,
                                      std::uint32_t* dataSize) {
  if (Tick(StoreOp::EnumValue)) return failError_;
  return inner_.EnumValue(key, index, name, nameChars, type, data, dataSize);
}

long CountingRegistryStore::SetValue(KeyHandle key, const char* name, std::uint32_t type, const void* data,
                                     std::uint32_t size) {
  const long rc = Tick(StoreOp::SetValue) ? failError_ : inner_.SetValue(key, name, type, data, size);
  return Note(StoreOp::SetValue, name, rc, type, data, size);
}

long CountingRegistryStore::DeleteValue(KeyHandle key, const char* name) {
  return Note(StoreOp::DeleteValue, name,
              Tick(StoreOp::DeleteValue) ? failError_ : inner_.DeleteValue(key, name));
}

long CountingRegistryStore::DeleteKey(KeyHandle parent, const char* name) {
  return Note(StoreOp::DeleteKey, name,
              Tick(StoreOp::DeleteKey) ? failError_ : inner_.DeleteKey(parent, name));
}

void CountingRegistryStore::Close(KeyHandle key) {
  // Nobody looks at a close's result, so an injected failure has nothing to
  // report; the handle is still released so that leak checks stay meaningful.
  Tick(StoreOp::Close);
  inner_.Close(key);
}

std::uint32_t CountingRegistryStore::ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) {
  if (Tick(StoreOp::Expand)) return 0;
  return inner_.ExpandEnvironment(src, dst, dstChars);
}

}  // namespace veldra

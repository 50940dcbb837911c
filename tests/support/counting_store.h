// Wraps another store, counts calls per operation, can make a chosen call
// fail and keeps a journal of the calls that change the registry. Used by
// tests (fault injection) and by the benchmark (call counts).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "registry/store.h"

namespace veldra {

enum class StoreOp {
  OpenOrCreate,
  EnumKey,
  QueryValue,
  SetValue,
  DeleteValue,
  DeleteKey,
  Close,
  Expand,
  EnumValue
};
constexpr std::size_t kStoreOpCount = 9;

class CountingRegistryStore : public RegistryStore {
 public:
  explicit CountingRegistryStore(RegistryStore& inner) : inner_(inner) {}
  // Stacking one on another takes the other as its inner store, never a copy.
  CountingRegistryStore(const CountingRegistryStore&) = delete;
  CountingRegistryStore& operator=(const CountingRegistryStore&) = delete;

  std::uint64_t Count(StoreOp op) const { return counts_[static_cast<std::size_t>(op)]; }
  std::uint64_t Total() const;
  void ResetCounts() { counts_.fill(0); }

  // Makes the nth call (1-based, counted from now) of `op` fail with
  // `error` without reaching the inner store; 0 disarms. With `every` set,
  // every call of `op` from the nth on fails.
  void FailCall(StoreOp op, std::uint64_t nth, long error = kErrAccessDenied, bool every = false);

  // Opens and the calls that change the registry, in order: the path or
  // value name, for a write its type and bytes, and the result (an injected
  // failure's too).
  struct Change {
    StoreOp op;
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    long rc;
  };
  std::vector<Change> changes;

  KeyHandle Root() override { return inner_.Root(); }
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
  // Counts the call; true when it must fail.
  bool Tick(StoreOp op);
  long Note(StoreOp op, const char* name, long rc, std::uint32_t type = 0, const void* data = nullptr,
            std::uint32_t size = 0);

  RegistryStore& inner_;
  std::array<std::uint64_t, kStoreOpCount> counts_{};
  StoreOp failOp_ = StoreOp::OpenOrCreate;
  std::uint64_t failAt_ = 0;  // absolute call number of failOp_, 0 = none
  long failError_ = kErrAccessDenied;
  bool failEvery_ = false;
};

}  // namespace veldra

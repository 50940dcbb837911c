// The plug-in host tests' own helpers: the writes of a counting store's
// journal and the bytes of the two value types; the fake plug-ins themselves
// are the shared kit's.
#pragma once

#include <string>
#include <vector>

#include "tests/support/counting_store.h"
#include "registry/plugins.h"
#include "registry/store.h"
#include "tests/support/fake_plugins.h"

namespace veldra::test {

using veldra_test::Bytes;
using veldra_test::FakeHeap;
using veldra_test::FakeLibrary;
using veldra_test::FakeLoader;
using veldra_test::Le32Bytes;
using veldra_test::ListBuilder;

// A write as the counting store's journal holds it, when it reached the store.
struct ValueWrite {
  std::string name;
  std::uint32_t type;
  Bytes data;
  bool operator==(const ValueWrite& o) const { return name == o.name && type == o.type && data == o.data; }
};
inline std::vector<ValueWrite> Writes(const CountingRegistryStore& store) {
  std::vector<ValueWrite> writes;
  for (const auto& c : store.changes) {
    if (c.op == StoreOp::SetValue && c.rc == kOk) writes.push_back({c.name, c.type, c.data});
  }
  return writes;
}
inline int Deletes(const CountingRegistryStore& store) {
  int n = 0;
  for (const auto& c : store.changes) n += c.op == StoreOp::DeleteValue || c.op == StoreOp::DeleteKey ? 1 : 0;
  return n;
}

inline Bytes SzBytes(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

}  // namespace veldra::test

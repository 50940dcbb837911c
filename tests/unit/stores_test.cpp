// Behaviour of the test-only store machinery itself: the counting wrapper's
// counts and fault injection, and the memory store's handle bookkeeping.
#include <gtest/gtest.h>

#include "registry/counting_store.h"
#include "registry/memory_store.h"

namespace {

using veldra::CountingRegistryStore;
using veldra::KeyHandle;
using veldra::MemoryRegistryStore;
using veldra::StoreOp;

TEST(CountingStore, CountsEachOperationAndFailsTheChosenCall) {
  MemoryRegistryStore memory;
  CountingRegistryStore counting(memory);
  KeyHandle key = nullptr;
  ASSERT_EQ(counting.OpenOrCreate(counting.Root(), "K", veldra::Access::All, &key), veldra::kOk);
  char name[8];
  std::uint32_t chars = sizeof name;
  EXPECT_EQ(counting.EnumKey(key, 0, name, &chars), veldra::kErrNoMoreItems);
  EXPECT_EQ(counting.Count(StoreOp::OpenOrCreate), 1u);
  EXPECT_EQ(counting.Count(StoreOp::EnumKey), 1u);
  EXPECT_EQ(counting.Total(), 2u);

  // The 2nd query from now fails, with the chosen code, without reaching the store.
  ASSERT_EQ(veldra::WriteDwordValue(counting, key, "V", 1), veldra::kOk);
  counting.FailCall(StoreOp::QueryValue, 2, veldra::kErrInvalidParameter);
  EXPECT_EQ(counting.QueryValue(key, "V", nullptr, nullptr, nullptr), veldra::kOk);
  EXPECT_EQ(counting.QueryValue(key, "V", nullptr, nullptr, nullptr), veldra::kErrInvalidParameter);
  EXPECT_EQ(counting.QueryValue(key, "V", nullptr, nullptr, nullptr), veldra::kOk);

  counting.FailCall(StoreOp::SetValue, 1, veldra::kErrAccessDenied, true);
  EXPECT_NE(veldra::WriteDwordValue(counting, key, "V", 2), veldra::kOk);
  EXPECT_NE(veldra::WriteDwordValue(counting, key, "V", 3), veldra::kOk);
  std::uint32_t value = 0;
  ASSERT_TRUE(veldra::ReadDwordValue(counting, key, "V", &value));
  EXPECT_EQ(value, 1u);
  counting.FailCall(StoreOp::SetValue, 0);
  EXPECT_EQ(veldra::WriteDwordValue(counting, key, "V", 4), veldra::kOk);

  // A failed open hands out no handle; closes always reach the store.
  counting.FailCall(StoreOp::OpenOrCreate, 1);
  KeyHandle none = key;
  EXPECT_EQ(counting.OpenOrCreate(counting.Root(), "K", veldra::Access::All, &none),
            veldra::kErrAccessDenied);
  EXPECT_EQ(none, nullptr);
  counting.FailCall(StoreOp::Close, 1);
  counting.Close(key);
  EXPECT_EQ(memory.OpenHandleCount(), 0u);
  counting.ResetCounts();
  EXPECT_EQ(counting.Total(), 0u);
}

TEST(MemoryStore, HandlesAreCheckedAndCountedUntilClosed) {
  MemoryRegistryStore memory;
  KeyHandle a = nullptr;
  KeyHandle b = nullptr;
  ASSERT_EQ(memory.OpenOrCreate(memory.Root(), "A", veldra::Access::All, &a), veldra::kOk);
  ASSERT_EQ(memory.OpenOrCreate(memory.Root(), "A", veldra::Access::Read, &b), veldra::kOk);
  EXPECT_NE(a, b);
  EXPECT_EQ(memory.OpenHandleCount(), 2u);
  memory.Close(a);
  memory.Close(a);  // twice: ignored
  memory.Close(memory.Root());
  memory.Close(nullptr);
  EXPECT_EQ(memory.OpenHandleCount(), 1u);
  // A closed handle is no longer usable.
  EXPECT_EQ(memory.QueryValue(a, "x", nullptr, nullptr, nullptr), veldra::kErrInvalidHandle);
  EXPECT_EQ(memory.QueryValue(b, "x", nullptr, nullptr, nullptr), veldra::kErrFileNotFound);
  // The root itself cannot be deleted.
  EXPECT_EQ(memory.DeleteKey(memory.Root(), ""), veldra::kErrAccessDenied);
  memory.Close(b);
  EXPECT_EQ(memory.OpenHandleCount(), 0u);
}

}  // namespace

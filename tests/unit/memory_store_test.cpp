// The memory store's handle bookkeeping, which every test's leak check
// relies on.
#include "tests/support/memory_store.h"

#include <gtest/gtest.h>

namespace {

using veldra::KeyHandle;
using veldra::MemoryRegistryStore;

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

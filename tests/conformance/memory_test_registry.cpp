#include "tests/support/memory_store.h"
#include "test_registry.h"

namespace veldra_test {
namespace {

class MemoryTestRegistry : public TestRegistry {
 public:
  veldra::RegistryStore& store() override { return store_; }
  void SetEnvironment(const char* name, const char* value) override { store_.SetEnvironment(name, value); }
  long OpenHandles() const override { return static_cast<long>(store_.OpenHandleCount()); }
  const char* Name() const override { return "memory"; }

 private:
  veldra::MemoryRegistryStore store_;
};

}  // namespace

std::unique_ptr<TestRegistry> MakeTestRegistry() { return std::make_unique<MemoryTestRegistry>(); }

}  // namespace veldra_test

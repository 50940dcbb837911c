#include <windows.h>

#include "registry/win32_store.h"
#include "test_registry.h"
#include "tests/support/win_registry.h"

namespace veldra_test {
namespace {

// Every test gets an empty scratch key below HKEY_LOCAL_MACHINE as the
// store's root, removed again afterwards.
constexpr char kScratch[] = "SOFTWARE\\VeldraRegistryTests";

class Win32TestRegistry : public TestRegistry {
 public:
  Win32TestRegistry() {
    veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch_,
                              nullptr),
              ERROR_SUCCESS);
    store_ = std::make_unique<veldra::Win32RegistryStore>(scratch_);
  }
  ~Win32TestRegistry() override {
    store_.reset();
    RegCloseKey(scratch_);
    veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
    for (const std::string& name : variables_) SetEnvironmentVariableA(name.c_str(), nullptr);
  }
  veldra::RegistryStore& store() override { return *store_; }
  void SetEnvironment(const char* name, const char* value) override {
    SetEnvironmentVariableA(name, value);
    variables_.emplace_back(name);
  }
  long OpenHandles() const override { return -1; }
  const char* Name() const override { return "win32"; }

 private:
  HKEY scratch_ = nullptr;
  std::unique_ptr<veldra::Win32RegistryStore> store_;
  std::vector<std::string> variables_;
};

}  // namespace

std::unique_ptr<TestRegistry> MakeTestRegistry() { return std::make_unique<Win32TestRegistry>(); }

}  // namespace veldra_test

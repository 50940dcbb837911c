// The registry the model's tests run against: the memory store natively, a
// scratch key of the real registry under Wine. The same test sources are
// built for both, so every rule they check holds for either store.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "registry/device_keys.h"
#include "registry/store.h"

namespace veldra_test {

class TestRegistry {
 public:
  virtual ~TestRegistry() = default;
  virtual veldra::RegistryStore& store() = 0;
  // Defines an environment variable for ExpandEnvironment.
  virtual void SetEnvironment(const char* name, const char* value) = 0;
  // Handles opened through store() and not closed; -1 when unknown.
  virtual long OpenHandles() const = 0;
  virtual const char* Name() const = 0;
};

// Defined once per platform: a fresh, empty registry for each test.
std::unique_ptr<TestRegistry> MakeTestRegistry();

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { registry_ = MakeTestRegistry(); }
  void TearDown() override {
    const long open = registry_->OpenHandles();
    if (open >= 0) {
      EXPECT_EQ(open, 0) << "handles leaked";
    }
  }

  veldra::RegistryStore& store() { return registry_->store(); }
  TestRegistry& registry() { return *registry_; }

  // Opens or creates `path` below the store's root (or below `parent`).
  veldra::Key Make(const std::string& path, veldra::KeyHandle parent = nullptr,
                   veldra::Access access = veldra::Access::All) {
    veldra::Key key = (parent ? veldra::Key::Borrow(store(), parent) : veldra::Key::Root(store()))
                          .Open(path.c_str(), access);
    EXPECT_TRUE(key) << path;
    return key;
  }
  void MakeMany(veldra::KeyHandle parent, const std::vector<std::string>& names) {
    for (const auto& name : names) Make(name, parent);
  }
  // Subkey names from index 0 until the first failure, 128-character buffer.
  std::vector<std::string> Subkeys(veldra::KeyHandle key) {
    std::vector<std::string> names;
    char name[veldra::kNameBufferChars];
    for (std::uint32_t i = 0;; ++i) {
      std::uint32_t chars = veldra::kNameBufferChars;
      if (store().EnumKey(key, i, name, &chars) != veldra::kOk) return names;
      names.emplace_back(name, chars);
    }
  }
  void SetString(veldra::KeyHandle key, const char* name, const std::string& value) {
    ASSERT_EQ(veldra::Key::Borrow(store(), key).WriteString(name, value.c_str()), veldra::kOk);
  }
  void SetDword(veldra::KeyHandle key, const char* name, std::uint32_t value) {
    ASSERT_EQ(veldra::Key::Borrow(store(), key).WriteDword(name, value), veldra::kOk);
  }
  void SetRaw(veldra::KeyHandle key, const char* name, std::uint32_t type, const std::string& bytes) {
    ASSERT_EQ(store().SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
              veldra::kOk);
  }
  // Type and bytes of a value; false when absent.
  bool GetRaw(veldra::KeyHandle key, const char* name, std::uint32_t* type, std::string* bytes) {
    std::uint32_t size = 0;
    if (store().QueryValue(key, name, nullptr, nullptr, &size) != veldra::kOk) return false;
    std::string data(size, '\0');
    if (store().QueryValue(key, name, type, size ? &data[0] : nullptr, &size) != veldra::kOk) return false;
    data.resize(size);
    *bytes = data;
    return true;
  }
  bool Exists(veldra::KeyHandle key, const char* name) {
    return store().QueryValue(key, name, nullptr, nullptr, nullptr) == veldra::kOk;
  }

 private:
  std::unique_ptr<TestRegistry> registry_;
};

// A test with the driver's service key open (created when missing).
class ServiceKeyTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    service_ = veldra::OpenServiceKey(store());
    ASSERT_TRUE(service_);
  }
  void TearDown() override {
    service_.reset();
    RegistryTest::TearDown();
  }
  veldra::KeyHandle service() { return service_.get(); }

  veldra::Key service_;
};

}  // namespace veldra_test

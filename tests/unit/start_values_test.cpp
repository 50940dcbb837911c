#include "registry/start_values.h"

#include <string>
#include <vector>

#include "tests/support/counting_store.h"
#include "registry/device_keys.h"
#include "tests/conformance/test_registry.h"

namespace veldra_test {
namespace {

using veldra::Key;
using veldra::kRegDword;
using veldra::kRegSz;

const char* const kNames[] = {"Type", "Start", "ErrorControl", "Group", "LogVersion"};

class StartValues : public ServiceKeyTest {
 protected:
  void SetAllStartValues() {
    for (const char* name : kNames) SetDword(service(), name, 77);
  }
  int CountStartValues() {
    int n = 0;
    for (const char* name : kNames) n += Exists(service(), name) ? 1 : 0;
    return n;
  }
  std::string Raw(const char* name, std::uint32_t* type) {
    std::string bytes;
    EXPECT_TRUE(GetRaw(service(), name, type, &bytes)) << name;
    return bytes;
  }
  static std::string Dword(std::uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    return std::string(b, 4);
  }
};

TEST_F(StartValues, WithoutAPhysicalAdapterAllFiveAreRemoved) {
  // No subkeys at all, then only logical adapters and other keys.
  for (const std::vector<std::string>& keys :
       {std::vector<std::string>{},
        std::vector<std::string>{"LogicalDevice0", "LogicalDevice1", "Parameters", "Devices", "1Device"}}) {
    MakeMany(service(), keys);
    SetAllStartValues();
    SetDword(service(), "Other", 1);
    veldra::ApplyServiceStartValues(store());
    EXPECT_EQ(CountStartValues(), 0);
    EXPECT_TRUE(Exists(service(), "Other"));
  }
}

TEST_F(StartValues, WithAPhysicalAdapterOnlyMissingValuesAreSupplied) {
  Make("Device0", service());
  SetDword(service(), "Start", 3);
  veldra::ApplyServiceStartValues(store());
  std::uint32_t type = 0;
  EXPECT_EQ(Raw("Start", &type), Dword(3));
  EXPECT_EQ(Raw("Type", &type), Dword(1));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(Raw("ErrorControl", &type), Dword(1));
  EXPECT_EQ(Raw("LogVersion", &type), Dword(0));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(Raw("Group", &type), std::string("Extended Base", 14));
  EXPECT_EQ(type, kRegSz);
}

TEST_F(StartValues, ExistingValuesStayWhateverTheirTypeOrSize) {
  Make("Device5", service());
  const std::string longGroup(4000, 'g');
  SetRaw(service(), "Group", veldra::kRegBinary, longGroup);
  SetString(service(), "Type", "kernel");
  SetRaw(service(), "ErrorControl", veldra::kRegNone, "");
  veldra::CountingRegistryStore counting(store());
  veldra::ApplyServiceStartValues(counting);
  EXPECT_EQ(counting.Count(veldra::StoreOp::SetValue), 2u);  // Start and LogVersion
  std::uint32_t type = 0;
  EXPECT_EQ(Raw("Group", &type), longGroup);
  EXPECT_EQ(type, veldra::kRegBinary);
  EXPECT_EQ(Raw("Type", &type), std::string("kernel", 7));
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(Raw("ErrorControl", &type), "");
  EXPECT_EQ(Raw("Start", &type), Dword(2));
}

TEST_F(StartValues, OnlyThePrefixDecidesWhatIsPhysical) {
  // "Device" with no digits and any case of the prefix count; the first
  // physical key ends the search.
  for (const char* name : {"Device", "DEVICE", "device4294967295", "Device9x"}) {
    SCOPED_TRACE(name);
    Key key = Make(name, service());
    veldra::CountingRegistryStore counting(store());
    veldra::ApplyServiceStartValues(counting);
    EXPECT_EQ(CountStartValues(), 5);
    EXPECT_EQ(counting.Count(veldra::StoreOp::EnumKey), 1u);
    key.reset();
    ASSERT_EQ(store().DeleteKey(service(), name), veldra::kOk);
    veldra::ApplyServiceStartValues(store());
    EXPECT_EQ(CountStartValues(), 0);
  }
  // A physical key behind a 128-character name is never reached.
  MakeMany(service(), {"A" + std::string(127, 'a'), "Device1"});
  SetAllStartValues();
  veldra::ApplyServiceStartValues(store());
  EXPECT_EQ(CountStartValues(), 0);
}

TEST_F(StartValues, ServiceKeyThatCannotBeOpenedIsLeftAlone) {
  SetAllStartValues();
  veldra::CountingRegistryStore counting(store());
  counting.FailCall(veldra::StoreOp::OpenOrCreate, 1);
  veldra::ApplyServiceStartValues(counting);
  EXPECT_EQ(CountStartValues(), 5);
  EXPECT_EQ(counting.Count(veldra::StoreOp::DeleteValue), 0u);

  // A missing service key is created, and there is nothing to remove.
  veldra::ApplyServiceStartValues(store(), "VELDRA2");
  Key services = Make("SYSTEM\\CurrentControlSet\\Services");
  EXPECT_EQ(Subkeys(services.get()), (std::vector<std::string>{"VELDRA", "VELDRA2"}));
}

}  // namespace
}  // namespace veldra_test

#include "registry/device_keys.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/support/counting_store.h"
#include "tests/conformance/test_registry.h"

namespace veldra {
// For comparing lists in expectations.
static bool operator==(const AdapterEntry& a, const AdapterEntry& b) {
  return a.number == b.number && a.index == b.index;
}
}  // namespace veldra

namespace veldra_test {
namespace {

using veldra::AdapterEntry;
using veldra::AdapterNumber;
using veldra::Key;
using veldra::kNoAdapterNumber;
using veldra::ScanDeviceKeyName;

struct ScanCase {
  std::string name;
  bool isDeviceKey;
  bool physical;
  AdapterNumber number;
};

TEST(ScanDeviceKeyName, FollowsThePrefixAndNumberPattern) {
  const std::string nines30(30, '9');
  const std::vector<ScanCase> cases = {
      {"Device0", true, true, 0},
      {"LogicalDevice2", true, false, 2},
      {"device7", true, true, 7},
      {"LOGICALDEVICE7", true, false, 7},
      {"Device3x", true, true, 3},  // characters after the digits are ignored
      {"Device3 4", true, true, 3},
      {"Parameters", false, false, kNoAdapterNumber},  // no digits
      {"Device", false, true, kNoAdapterNumber},       // prefix alone: no number
      {"5", false, false, kNoAdapterNumber},           // starts with a digit
      {"5Device", false, false, kNoAdapterNumber},
      {"", false, false, kNoAdapterNumber},
      {"Device 3", false, false, 3},  // the blank belongs to the prefix
      {"Device-3", false, false, 3},
      {"Devices3", false, false, 3},
      {"Logical3", false, false, 3},
      // Ten digits: the largest number is an adapter, the marker is not.
      {"Device4294967294", true, true, 4294967294u},
      {"Device4294967295", false, true, kNoAdapterNumber},
      {"Device0000000012", true, true, 12},
      // Eleven and more digits saturate at the marker: never an adapter,
      // and never an alias of a small number.
      {"Device4294967296", false, true, kNoAdapterNumber},
      {"Device10000000000", false, true, kNoAdapterNumber},
      {"LogicalDevice" + nines30, false, false, kNoAdapterNumber},
      // Leading zeros are not significant digits.
      {"Device00000000005", true, true, 5},
      {"Device" + std::string(29, '0') + "5", true, true, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto scanned = ScanDeviceKeyName(c.name.c_str());
    EXPECT_EQ(scanned.isDeviceKey, c.isDeviceKey);
    EXPECT_EQ(scanned.physical, c.physical);
    EXPECT_EQ(scanned.number, c.number);
    EXPECT_EQ(veldra::HasPhysicalPrefix(c.name.c_str()), c.physical);
  }
}

TEST(ScanDeviceKeyName, LongPrefixesAndNamesAreIgnoredSafely) {
  // Prefixes of 31, 32 and 100 characters, with and without the keyword at
  // their start: none can equal a keyword, and none overruns the buffer.
  for (std::size_t length : {31u, 32u, 100u}) {
    for (const std::string& head : {std::string("Device"), std::string("x")}) {
      std::string name = head + std::string(length - head.size(), 'q') + "7";
      SCOPED_TRACE(name);
      EXPECT_FALSE(ScanDeviceKeyName(name.c_str()).isDeviceKey);
      EXPECT_FALSE(veldra::HasPhysicalPrefix(name.c_str()));
    }
  }
  // Names of 127, 128 and 200 characters: only their start matters.
  for (std::size_t length : {127u, 128u, 200u}) {
    std::string name = "LogicalDevice12" + std::string(length - 15, 'z');
    const auto scanned = ScanDeviceKeyName(name.c_str());
    EXPECT_TRUE(scanned.isDeviceKey);
    EXPECT_EQ(scanned.number, 12u);
  }
}

TEST(ScanDeviceKeyName, BoundedFormStopsAtTheLength) {
  // No NUL inside the given length: reading stops there (ASan would flag more).
  const char digits[] = {'D', 'e', 'v', 'i', 'c', 'e', '1', '2'};
  EXPECT_EQ(ScanDeviceKeyName(digits, sizeof digits).number, 12u);
  EXPECT_EQ(ScanDeviceKeyName(digits, 7).number, 1u);
  EXPECT_FALSE(ScanDeviceKeyName(digits, 6).isDeviceKey);
  EXPECT_FALSE(ScanDeviceKeyName(digits, 0).isDeviceKey);
  // An embedded NUL ends the name as well.
  EXPECT_EQ(ScanDeviceKeyName("Device4\0"
                              "5",
                              9)
                .number,
            4u);
}

TEST(DeviceKeyTexts, NamesAndListLines) {
  EXPECT_EQ(veldra::DeviceKeyName(0, true), "Device0");
  EXPECT_EQ(veldra::DeviceKeyName(4294967294u, false), "LogicalDevice4294967294");
  EXPECT_EQ(veldra::AdapterLineText(100), "Adapter 100");
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter 100"), 100u);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter100"), 100u);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter \t+7x"), 7u);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter -1"), 4294967295u);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter -2"), 4294967294u);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter 99999999999"), kNoAdapterNumber);
  EXPECT_EQ(veldra::ParseAdapterLineText("adapter 1"), kNoAdapterNumber);
  EXPECT_EQ(veldra::ParseAdapterLineText("Adapter "), kNoAdapterNumber);
  EXPECT_EQ(veldra::ParseAdapterLineText(""), kNoAdapterNumber);
  EXPECT_EQ(veldra::ParseAdapterLineText(nullptr), kNoAdapterNumber);
}

class DeviceKeys : public ServiceKeyTest {
 protected:
  std::string Found(AdapterNumber number) {
    veldra::NameText name;
    return veldra::FindDeviceKey(service_, number, &name) ? name.c_str() : "(none)";
  }
  std::vector<AdapterEntry> Listed() {
    const auto listed = veldra::ListAdapters(service_);
    return {listed.begin(), listed.end()};
  }
  // The definition LowestFreeNumber must agree with: one pass per candidate.
  AdapterNumber NaiveLowestFree() {
    AdapterNumber n = 0;
    while (veldra::FindDeviceKey(service_, n, nullptr)) ++n;
    return n;
  }
};

TEST_F(DeviceKeys, ServiceKeyIsCreatedBelowTheServicesPath) {
  Key services = Make("SYSTEM\\CurrentControlSet\\Services");
  EXPECT_EQ(Subkeys(services.get()), std::vector<std::string>{"VELDRA"});
}

TEST_F(DeviceKeys, ListAdaptersSkipsOtherKeysButKeepsTheirIndexes) {
  MakeMany(service(), {"Device0", "LogicalDevice2", "Parameters", "5"});
  // Enumeration order: 5, Device0, LogicalDevice2, Parameters.
  const std::vector<AdapterEntry> expected = {{0, 1}, {2, 2}};
  EXPECT_EQ(Listed(), expected);
  EXPECT_TRUE(veldra::ListAdapters(Make("Empty")).empty());
}

TEST_F(DeviceKeys, BothPrefixesWithOneNumberTieBreakDifferently) {
  Key physical = Make("Device3", service());
  SetString(physical.get(), "Which", "physical");
  Key logical = Make("LogicalDevice3", service());
  SetString(logical.get(), "Which", "logical");
  const std::vector<AdapterEntry> expected = {{3, 0}, {3, 1}};
  EXPECT_EQ(Listed(), expected);
  // Last match in enumeration order here...
  EXPECT_EQ(Found(3), "LogicalDevice3");
  // ...first match there.
  Key forPlugin = veldra::OpenDeviceKeyForPlugin(store(), 3);
  ASSERT_TRUE(forPlugin);
  char which[veldra::kStringBufferBytes] = "";
  ASSERT_TRUE(forPlugin.ReadString("Which", which));
  EXPECT_STREQ(which, "physical");

  EXPECT_EQ(Found(4), "(none)");
  EXPECT_FALSE(veldra::OpenDeviceKeyForPlugin(store(), 4));
  EXPECT_EQ(Found(kNoAdapterNumber), "(none)");
}

TEST_F(DeviceKeys, LowestFreeNumber) {
  EXPECT_EQ(veldra::LowestFreeNumber(service_), 0u);
  MakeMany(service(), {"Device0", "LogicalDevice1", "device3"});
  EXPECT_EQ(veldra::LowestFreeNumber(service_), 2u);
  MakeMany(service(), {"Device2", "Device2x", "LogicalDevice4294967295", "Device4294967296"});
  EXPECT_EQ(veldra::LowestFreeNumber(service_), 4u);
}

TEST_F(DeviceKeys, LowestFreeNumberAgreesWithItsDefinitionInOnePass) {
  std::mt19937 random(12345);
  const std::vector<std::string> shapes = {"Device", "LogicalDevice", "device", "Other", "Device "};
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    for (int i = 0; i < 15; ++i) {
      const std::string name =
          shapes[random() % shapes.size()] + std::to_string(random() % 12) + (random() % 4 == 0 ? "x" : "");
      Make(name, service());
    }
    veldra::CountingRegistryStore counting(store());
    const AdapterNumber lowest = veldra::LowestFreeNumber(Key::Borrow(counting, service()));
    const std::uint64_t subkeys = Subkeys(service()).size();
    EXPECT_LE(counting.Total(), 2 * subkeys + 1);
    EXPECT_EQ(lowest, NaiveLowestFree());
  }
}

TEST_F(DeviceKeys, EnumerationEndsAtALongName) {
  // Device1 followed by 121 more characters is 128 long and hides everything
  // after it: Device2 is never seen, so 1 counts as free.
  MakeMany(service(),
           {"Device0", "Device1" + std::string(121, 'x'), "Device2", "Device3" + std::string(120, 'y')});
  const std::vector<AdapterEntry> expected = {{0, 0}};
  EXPECT_EQ(Listed(), expected);
  EXPECT_EQ(veldra::LowestFreeNumber(service_), 1u);
  EXPECT_EQ(Found(2), "(none)");
  EXPECT_FALSE(veldra::OpenDeviceKeyForPlugin(store(), 2));
  // A 127-character name is an ordinary device key.
  ASSERT_EQ(store().DeleteKey(service(), ("Device1" + std::string(121, 'x')).c_str()), veldra::kOk);
  EXPECT_EQ(Found(3), "Device3" + std::string(120, 'y'));
}

TEST_F(DeviceKeys, PlaceholderCreationAndDeletionByIndex) {
  ASSERT_TRUE(veldra::CreateLogicalPlaceholder(service_, 7));
  ASSERT_TRUE(veldra::CreateLogicalPlaceholder(service_, 7));  // opening again is fine
  Make("Device1\\Sub", service());
  EXPECT_EQ(Subkeys(service()), (std::vector<std::string>{"Device1", "LogicalDevice7"}));
  Key placeholder = Make("LogicalDevice7", service());
  std::uint32_t size = 0;
  EXPECT_EQ(store().QueryValue(placeholder.get(), "AdapterNumber", nullptr, nullptr, &size),
            veldra::kErrFileNotFound);
  placeholder.reset();

  EXPECT_FALSE(veldra::DeleteListedKey(service_, 0));  // has a subkey
  EXPECT_FALSE(veldra::DeleteListedKey(service_, 2));  // no such index
  EXPECT_TRUE(veldra::DeleteListedKey(service_, 1));
  EXPECT_EQ(Subkeys(service()), std::vector<std::string>{"Device1"});
}

TEST_F(DeviceKeys, FailuresCreateOrDeleteNothing) {
  // A service key that could not be opened is empty: nothing lands at the root.
  EXPECT_FALSE(veldra::CreateLogicalPlaceholder(Key(), 0));
  const std::vector<std::string> atRoot = Subkeys(store().Root());
  EXPECT_EQ(std::find(atRoot.begin(), atRoot.end(), "LogicalDevice0"), atRoot.end());
  veldra::CountingRegistryStore counting(store());
  counting.FailCall(veldra::StoreOp::OpenOrCreate, 1);
  EXPECT_FALSE(veldra::CreateLogicalPlaceholder(Key::Borrow(counting, service()), 1));
  EXPECT_TRUE(Subkeys(service()).empty());

  Make("Device0", service());
  counting.FailCall(veldra::StoreOp::EnumKey, 1);
  EXPECT_FALSE(veldra::DeleteListedKey(Key::Borrow(counting, service()), 0));
  counting.FailCall(veldra::StoreOp::DeleteKey, 1);
  EXPECT_FALSE(veldra::DeleteListedKey(Key::Borrow(counting, service()), 0));
  EXPECT_EQ(Subkeys(service()), std::vector<std::string>{"Device0"});

  // The service key cannot be opened: no device key for the plug-in.
  counting.FailCall(veldra::StoreOp::OpenOrCreate, 1);
  EXPECT_FALSE(veldra::OpenDeviceKeyForPlugin(counting, 0));
  EXPECT_TRUE(veldra::OpenDeviceKeyForPlugin(counting, 0));
  // A failing enumeration is the end of the list.
  counting.FailCall(veldra::StoreOp::EnumKey, 1);
  EXPECT_TRUE(veldra::ListAdapters(Key::Borrow(counting, service())).empty());
}

TEST_F(DeviceKeys, ReadDeviceValuesKeepsDefaultsForWhatIsMissing) {
  Key device = Make("Device1", service());
  veldra::NameText type = "Unknown";
  AdapterNumber number = 1;
  veldra::ReadDeviceValues(device, &type, &number);
  EXPECT_EQ(type, "Unknown");
  EXPECT_EQ(number, 1u);

  SetDword(device.get(), "AdapterNumber", 9);
  SetString(device.get(), "DeviceType", "VA85 Family");
  veldra::ReadDeviceValues(device, &type, &number);
  EXPECT_EQ(type, "VA85 Family");
  EXPECT_EQ(number, 9u);

  // Type names of 127, 128 and 129 bytes (NUL included): the last does not fit.
  for (std::size_t bytes : {127u, 128u, 129u}) {
    SetString(device.get(), "DeviceType", std::string(bytes - 1, 't'));
    type = "Unknown";
    veldra::ReadDeviceValues(device, &type, &number);
    EXPECT_EQ(std::string(type), bytes <= 128 ? std::string(bytes - 1, 't') : "Unknown") << bytes;
  }
  // An AdapterNumber wider than 4 bytes reads as absent.
  SetRaw(device.get(), "AdapterNumber", veldra::kRegBinary, std::string(8, '\0'));
  number = 5;
  veldra::ReadDeviceValues(device, &type, &number);
  EXPECT_EQ(number, 5u);
}

}  // namespace
}  // namespace veldra_test

#include "registry/catalog.h"

#include <string>
#include <vector>

#include "tests/support/counting_store.h"
#include "tests/conformance/test_registry.h"

namespace veldra_test {
namespace {

using veldra::DeviceTypeRecord;
using veldra::Key;
using veldra::StoreOp;

class Catalog : public RegistryTest {
 protected:
  Key CatalogKey() { return Make("SOFTWARE\\Tervalon\\Logical Devices\\VELDRA"); }
  // A type subkey with the given values; empty strings are left out.
  void AddType(const std::string& name, const std::string& configDll, const std::string& executeDll = "",
               const std::uint32_t* physical = nullptr) {
    Key type = Make(name, CatalogKey().get());
    if (!configDll.empty()) SetString(type.get(), "ConfigDll", configDll);
    if (!executeDll.empty()) SetString(type.get(), "ExecuteDll", executeDll);
    if (physical != nullptr) SetDword(type.get(), "Physical", *physical);
  }
  static void ExpectPlaceholder(const DeviceTypeRecord& row) {
    EXPECT_STREQ(row.name, "Unknown");
    EXPECT_STREQ(row.executeDll, "None");
    EXPECT_STREQ(row.configDll, "None");
    EXPECT_EQ(row.physical, 0u);
  }
  static void ExpectEmpty(const DeviceTypeRecord& row) {
    EXPECT_STREQ(row.name, "");
    EXPECT_STREQ(row.executeDll, "");
    EXPECT_STREQ(row.configDll, "");
    EXPECT_EQ(row.physical, 0u);
  }
};

TEST_F(Catalog, MissingOrEmptyCatalogueGivesNoTable) {
  EXPECT_EQ(veldra::CountDeviceTypes(store()), 0u);
  auto catalog = veldra::LoadCatalog(store());
  EXPECT_TRUE(catalog.empty());
  EXPECT_EQ(catalog.count, 0u);
  EXPECT_EQ(catalog.Row(0), nullptr);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "Unknown"), nullptr);
  // Reading it created the key.
  Key logicalDevices = Make("SOFTWARE\\Tervalon\\Logical Devices");
  EXPECT_EQ(Subkeys(logicalDevices.get()), std::vector<std::string>{"VELDRA"});

  veldra::CountingRegistryStore counting(store());
  AddType("VA85 Family", "None");
  counting.FailCall(StoreOp::OpenOrCreate, 1);
  EXPECT_TRUE(veldra::LoadCatalog(counting).empty());
}

TEST_F(Catalog, RowsInEnumerationOrderThenThePlaceholder) {
  const std::uint32_t one = 1;
  registry().SetEnvironment("VeldraTestRoot", "C:\\WINNT");
  AddType("VA85 Family", "%VeldraTestRoot%\\system32\\VDREDTSA.DLL", "vdrexec.exe", &one);
  AddType("Logical Type", "None");
  auto catalog = veldra::LoadCatalog(store());
  ASSERT_EQ(catalog.count, 2u);
  ASSERT_EQ(catalog.rows.size(), 3u);

  const DeviceTypeRecord& logical = catalog.rows[0];
  EXPECT_STREQ(logical.name, "Logical Type");
  EXPECT_STREQ(logical.configDll, "None");
  EXPECT_STREQ(logical.executeDll, "");
  EXPECT_EQ(logical.physical, 0u);  // no Physical value: logical

  const DeviceTypeRecord& va85 = catalog.rows[1];
  EXPECT_STREQ(va85.name, "VA85 Family");
  EXPECT_STREQ(va85.configDll, "C:\\WINNT\\system32\\VDREDTSA.DLL");
  EXPECT_STREQ(va85.executeDll, "vdrexec.exe");
  EXPECT_EQ(va85.physical, 1u);
  ExpectPlaceholder(catalog.rows[2]);

  EXPECT_EQ(veldra::FindDeviceType(catalog, "VA85 FAMILY"), &catalog.rows[1]);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "va85 family"), &catalog.rows[1]);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "Unknown"), nullptr);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "VA85"), nullptr);
  EXPECT_EQ(veldra::FindDeviceType(catalog, nullptr), nullptr);
  EXPECT_EQ(catalog.Row(2), &catalog.rows[2]);
  EXPECT_EQ(catalog.Row(3), nullptr);
  EXPECT_EQ(catalog.Row(-1), nullptr);
}

TEST_F(Catalog, ConfigDllThatIsAbsentOrTooLongMeansNoPlugin) {
  registry().SetEnvironment("VeldraTestLong", std::string(120, 'L').c_str());
  AddType("A Absent", "");
  AddType("B 127 bytes", std::string(126, 'b'));
  AddType("C 128 bytes", std::string(127, 'c'));
  AddType("D 129 bytes", std::string(128, 'd'));
  AddType("E expands to 127", "1234567%VeldraTestLong%");
  AddType("F expands to 128", "12345678%VeldraTestLong%");
  AddType("G unknown variable", "%VeldraNoSuchVar%\\x.dll");
  auto catalog = veldra::LoadCatalog(store());
  ASSERT_EQ(catalog.count, 7u);
  EXPECT_STREQ(catalog.rows[0].configDll, "None");
  EXPECT_EQ(std::string(catalog.rows[1].configDll), std::string(126, 'b'));
  EXPECT_EQ(std::string(catalog.rows[2].configDll), std::string(127, 'c'));
  EXPECT_STREQ(catalog.rows[3].configDll, "None");
  EXPECT_EQ(std::string(catalog.rows[4].configDll), "1234567" + std::string(120, 'L'));
  EXPECT_STREQ(catalog.rows[5].configDll, "None");
  EXPECT_STREQ(catalog.rows[6].configDll, "%VeldraNoSuchVar%\\x.dll");
  // ExecuteDll that does not fit stays empty; a 127-character type name is kept.
  AddType(std::string(127, 'Z'), "None", std::string(128, 'e'));
  catalog = veldra::LoadCatalog(store());
  ASSERT_EQ(catalog.count, 8u);
  EXPECT_EQ(std::string(catalog.rows[7].name), std::string(127, 'Z'));
  EXPECT_STREQ(catalog.rows[7].executeDll, "");
}

TEST_F(Catalog, ANameOf128CharactersEndsTheCatalogue) {
  AddType("A Type", "None");
  AddType("B" + std::string(127, 'b'), "None");
  AddType("C Type", "None");
  auto catalog = veldra::LoadCatalog(store());
  ASSERT_EQ(catalog.count, 1u);
  EXPECT_STREQ(catalog.rows[0].name, "A Type");
  ExpectPlaceholder(catalog.rows[1]);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "C Type"), nullptr);
}

TEST_F(Catalog, TypeThatCannotBeOpenedLeavesAnEmptyRowInItsPlace) {
  const std::uint32_t one = 1;
  AddType("A Type", "a.dll", "a.exe", &one);
  AddType("B Type", "b.dll", "b.exe", &one);
  AddType("C Type", "c.dll");
  veldra::CountingRegistryStore counting(store());
  // Opens: catalogue (count), catalogue (fill), A, B.
  counting.FailCall(StoreOp::OpenOrCreate, 4);
  auto catalog = veldra::LoadCatalog(counting);
  ASSERT_EQ(catalog.count, 3u);
  EXPECT_STREQ(catalog.rows[0].name, "A Type");
  ExpectEmpty(catalog.rows[1]);
  EXPECT_STREQ(catalog.rows[2].configDll, "c.dll");
  ExpectPlaceholder(catalog.rows[3]);
  EXPECT_EQ(veldra::FindDeviceType(catalog, "B Type"), nullptr);
  // An empty row matches an empty type name, like any other row name.
  EXPECT_EQ(veldra::FindDeviceType(catalog, ""), &catalog.rows[1]);
}

TEST_F(Catalog, FewerSubkeysAtFillThanAtCount) {
  AddType("A Type", "a.dll");
  AddType("B Type", "b.dll");
  AddType("C Type", "c.dll");
  veldra::CountingRegistryStore counting(store());
  // The count takes 4 enumeration calls; the fill ends at its second.
  counting.FailCall(StoreOp::EnumKey, 6);
  auto catalog = veldra::LoadCatalog(counting);
  ASSERT_EQ(catalog.count, 3u);
  ASSERT_EQ(catalog.rows.size(), 4u);
  EXPECT_STREQ(catalog.rows[0].name, "A Type");
  ExpectPlaceholder(catalog.rows[1]);
  ExpectEmpty(catalog.rows[2]);
  ExpectEmpty(catalog.rows[3]);
  // The placeholder now stands inside the searched rows.
  EXPECT_EQ(veldra::FindDeviceType(catalog, "unknown"), &catalog.rows[1]);

  // The catalogue key vanishing between count and fill: placeholder first.
  counting.FailCall(StoreOp::OpenOrCreate, 2);
  catalog = veldra::LoadCatalog(counting);
  ASSERT_EQ(catalog.rows.size(), 4u);
  ExpectPlaceholder(catalog.rows[0]);
  ExpectEmpty(catalog.rows[3]);
}

TEST_F(Catalog, FailedReadsAndExpansionLeaveDefaults) {
  const std::uint32_t one = 1;
  registry().SetEnvironment("VeldraTestRoot", "C:\\WINNT");
  AddType("A Type", "%VeldraTestRoot%\\a.dll", "a.exe", &one);
  veldra::CountingRegistryStore counting(store());
  counting.FailCall(StoreOp::Expand, 1);
  auto catalog = veldra::LoadCatalog(counting);
  EXPECT_STREQ(catalog.rows[0].configDll, "None");
  EXPECT_STREQ(catalog.rows[0].executeDll, "a.exe");
  counting.FailCall(StoreOp::QueryValue, 1, veldra::kErrAccessDenied, true);
  catalog = veldra::LoadCatalog(counting);
  EXPECT_STREQ(catalog.rows[0].name, "A Type");
  EXPECT_STREQ(catalog.rows[0].executeDll, "");
  EXPECT_STREQ(catalog.rows[0].configDll, "None");
  EXPECT_EQ(catalog.rows[0].physical, 0u);
}

// The ANSI expansion as documented: it wants a byte more than the result
// needs and counts that byte in what it returns.
class AnsiExpansion : public veldra::CountingRegistryStore {
 public:
  using CountingRegistryStore::CountingRegistryStore;
  std::uint32_t ExpandEnvironment(const char* src, char* dst, std::uint32_t dstChars) override {
    const std::uint32_t needed = CountingRegistryStore::ExpandEnvironment(src, nullptr, 0);
    if (needed == 0) return 0;
    if (needed + 1 > dstChars) return needed + 1;
    return CountingRegistryStore::ExpandEnvironment(src, dst, dstChars) + 1;
  }
};

TEST_F(Catalog, LongestExpansionFitsWhenTheExpansionWantsAByteMore) {
  registry().SetEnvironment("VeldraTestLong", std::string(120, 'L').c_str());
  AddType("E expands to 127", "1234567%VeldraTestLong%");
  AddType("F expands to 128", "12345678%VeldraTestLong%");
  AnsiExpansion ansi(store());
  const auto catalog = veldra::LoadCatalog(ansi);
  ASSERT_EQ(catalog.count, 2u);
  EXPECT_EQ(std::string(catalog.rows[0].configDll), "1234567" + std::string(120, 'L'));
  EXPECT_STREQ(catalog.rows[1].configDll, "None");
}

TEST_F(Catalog, CatalogueIsReadOnlyAndCostsOneEnumerationPassEach) {
  for (int i = 0; i < 5; ++i) AddType("Type " + std::to_string(i), "None");
  veldra::CountingRegistryStore counting(store());
  auto catalog = veldra::LoadCatalog(counting);
  EXPECT_EQ(catalog.count, 5u);
  EXPECT_EQ(counting.Count(StoreOp::EnumKey), 6u + 5u);  // count pass, fill pass
  EXPECT_EQ(counting.Count(StoreOp::SetValue), 0u);
  EXPECT_EQ(counting.Count(StoreOp::DeleteKey), 0u);
  EXPECT_EQ(counting.Count(StoreOp::OpenOrCreate), counting.Count(StoreOp::Close));
}

}  // namespace
}  // namespace veldra_test

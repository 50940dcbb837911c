// The adapter list's commands over the memory store: the save procedure's
// decisions and the listed-key checks of Edit and Delete.
#include "registry/adapter_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/device_keys.h"
#include "tests/support/memory_store.h"
#include "tests/unit/commands_kit.h"

namespace veldra {
namespace {

using veldra_test::ListBuilder;

class SaveEditedAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_ = OpenServiceKey(store_);
    ASSERT_TRUE(service_);
    AddType(store_, "VA85 Family", 1);
    AddType(store_, "Virtual Node", 0);
    catalog_ = LoadCatalog(store_);
    ASSERT_EQ(2u, catalog_.count);
  }

  void AddKey(const char* name) { ASSERT_TRUE(service_.Open(name, Access::All)); }
  std::vector<std::string> Names() { return veldra::Names(service_); }
  SaveResult Save(const char* type, AdapterNumber number, const void* settings = nullptr) {
    return SaveEditedAdapter(loader_, service_, catalog_, type, number, settings, prompts_);
  }

  MemoryRegistryStore store_;
  FakeLoader loader_;
  Prompts prompts_;
  Key service_;
  DeviceTypeCatalog catalog_;
};

TEST_F(SaveEditedAdapterTest, TypeOutsideTheCatalogueShowsTheDialogAgain) {
  EXPECT_EQ(SaveResult::ShowAgain, Save("Unknown", 3));
  EXPECT_EQ(SaveResult::ShowAgain, Save("VA85", 3));  // only whole names count when saving
  EXPECT_TRUE(Names().empty());
  EXPECT_TRUE(prompts_.asked.empty());
}

TEST_F(SaveEditedAdapterTest, FreeNumberWritesTheKeyNamedAfterThePhysicalFlag) {
  EXPECT_EQ(SaveResult::Saved, Save("virtual node", 4));
  EXPECT_EQ(0, prompts_.notices);
  EXPECT_EQ(SaveResult::Saved, Save("VA85 Family", 5));
  EXPECT_EQ(1, prompts_.notices);
  EXPECT_TRUE(prompts_.asked.empty());
  EXPECT_EQ((std::vector<std::string>{"Device5", "LogicalDevice4"}), Names());

  Key key = service_.Open("Device5", Access::All);
  veldra::NameText type = "Unknown";
  AdapterNumber number = 0;
  ReadDeviceValues(key, &type, &number);
  EXPECT_EQ("VA85 Family", type);
  EXPECT_EQ(5u, number);
}

TEST_F(SaveEditedAdapterTest, ClashAsksAndNoChangesNothing) {
  AddKey("LogicalDevice3");
  prompts_.answer = false;
  EXPECT_EQ(SaveResult::ShowAgain, Save("VA85 Family", 3));
  EXPECT_EQ(std::vector<AdapterNumber>{3}, prompts_.asked);
  EXPECT_EQ(0, prompts_.notices);
  EXPECT_EQ(std::vector<std::string>{"LogicalDevice3"}, Names());
}

TEST_F(SaveEditedAdapterTest, ClashWithYesReplacesTheLastMatchingKey) {
  AddKey("Device3");
  AddKey("LogicalDevice3");
  EXPECT_EQ(SaveResult::Saved, Save("VA85 Family", 3));
  EXPECT_EQ(std::vector<AdapterNumber>{3}, prompts_.asked);
  // The later key in enumeration order is replaced; Device3 is rewritten.
  EXPECT_EQ(std::vector<std::string>{"Device3"}, Names());
}

TEST_F(SaveEditedAdapterTest, ClashWhoseKeyCannotBeDeletedFailsAndKeepsIt) {
  // Two keys claiming adapter 3 would be the result of going on.
  AddKey("LogicalDevice3\\Child");
  EXPECT_EQ(SaveResult::Failed, Save("VA85 Family", 3));
  EXPECT_EQ(std::vector<std::string>{"LogicalDevice3"}, Names());
  EXPECT_EQ(0, prompts_.notices);
  // The same name is rewritten in place: its subkey is no obstacle, and
  // values of the earlier settings do not survive.
  ASSERT_EQ(kOk, service_.Open("LogicalDevice3", Access::All).WriteDword("Stale", 1));
  EXPECT_EQ(SaveResult::Saved, Save("Virtual Node", 3));
  Key key = service_.Open("LogicalDevice3", Access::All);
  EXPECT_FALSE(key.HasValue("Stale"));
  EXPECT_TRUE(key.HasValue("AdapterNumber"));
}

TEST_F(SaveEditedAdapterTest, PluginValuesAreWrittenBeforeTheTwoOwnValues) {
  // A record of the program's own name is written first and then replaced.
  void* list =
      loader_.heap.Alloc(ListBuilder().Dword("NodeAddress", 17).Dword("AdapterNumber", 99).End().bytes());
  EXPECT_EQ(SaveResult::Saved, Save("VA85 Family", 1, list));
  Key key = service_.Open("Device1", Access::All);
  std::uint32_t value = 0;
  ASSERT_TRUE(key.ReadDword("NodeAddress", &value));
  EXPECT_EQ(17u, value);
  ASSERT_TRUE(key.ReadDword("AdapterNumber", &value));
  EXPECT_EQ(1u, value);
}

TEST(ListedAdapter, TheKeyAtTheIndexMustStillBeTheLinesNumber) {
  MemoryRegistryStore store;
  Key service = OpenServiceKey(store);
  for (const char* name : {"Device1", "LogicalDevice2", "Parameters"}) {
    ASSERT_EQ(kOk, service.Open(name, Access::All).WriteString("Which", name));
  }
  auto opened = [&](const Key& from, std::uint32_t index, AdapterNumber number) -> std::string {
    Key device;
    char which[kStringBufferBytes] = "(none)";
    const Listed listed = OpenListedAdapter(from, index, number, &device);
    if (listed != Listed::Done) return listed == Listed::Stale ? "(stale)" : "(failed)";
    device.ReadString("Which", which);
    return which;
  };
  EXPECT_EQ("Device1", opened(service, 0, 1));
  EXPECT_EQ("LogicalDevice2", opened(service, 1, 2));
  EXPECT_EQ("(stale)", opened(service, 0, 2));
  EXPECT_EQ("(stale)", opened(service, 2, 2));
  EXPECT_EQ("(stale)", opened(service, 3, 1));
  EXPECT_EQ("(stale)", opened(Key(), 0, 1));
  EXPECT_EQ(Listed::Stale, DeleteListedAdapter(service, 0, 2));
  ASSERT_TRUE(service.Open("Device1\\Child", Access::All));
  EXPECT_EQ(Listed::Failed, DeleteListedAdapter(service, 0, 1));
  EXPECT_EQ(Listed::Done, DeleteListedAdapter(service, 1, 2));
  EXPECT_EQ((std::vector<std::string>{"Device1", "Parameters"}), Names(service));
}

TEST(NewAdapter, CreatesTheLowestFreePlaceholderOnlyWithACatalogue) {
  MemoryRegistryStore store;
  Key service = OpenServiceKey(store);
  service.Open("Device0", Access::All);
  EXPECT_EQ(kNoAdapterNumber, NewAdapter(store, service));
  EXPECT_EQ(std::vector<std::string>{"Device0"}, Names(service));
  AddType(store, "VA85 Family", 1);
  EXPECT_EQ(1u, NewAdapter(store, service));
  EXPECT_EQ((std::vector<std::string>{"Device0", "LogicalDevice1"}), Names(service));
  EXPECT_EQ(kNoAdapterNumber, NewAdapter(store, Key()));
}

}  // namespace
}  // namespace veldra

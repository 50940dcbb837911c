// The decisions of config.exe that need no window: the adapter number's text
// conversion and the save procedure over an in-memory registry.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "config/number_text.h"
#include "config/save_adapter.h"
#include "registry/device_keys.h"
#include "registry/memory_store.h"
#include "tests/support/value_list_builder.h"

namespace veldra::config {
namespace {

TEST(ParseUnsignedText, AcceptsWhatTheConversionAccepts) {
  struct Case {
    const char* text;
    std::uint32_t value;
  };
  const Case accepted[] = {
      {"0", 0},
      {"7", 7},
      {" 7 ", 7},
      {"\t7\t", 7},
      {"+7", 7},
      {"-1", 4294967295u},
      {"-7", 4294967289u},
      {"007", 7},
      {"00", 0},
      {"100", 100},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},
      {"99999999999999999999", 4294967295u},
      {"-4294967295", 1},
      {"-4294967296", 4294967295u},
  };
  for (const Case& c : accepted) {
    std::uint32_t value = 12345;
    EXPECT_TRUE(ParseUnsignedText(c.text, &value)) << '"' << c.text << '"';
    EXPECT_EQ(c.value, value) << '"' << c.text << '"';
  }
}

TEST(ParseUnsignedText, RefusesTextThatIsNotANumber) {
  for (const char* text : {"", " ", "12a", "a12", "1 2", "0x10", "+", "-", "+0", "-0", " +0", "7.", "1e3"}) {
    std::uint32_t value = 12345;
    EXPECT_FALSE(ParseUnsignedText(text, &value)) << '"' << text << '"';
    EXPECT_EQ(12345u, value) << '"' << text << '"';
  }
}

TEST(ParseUnsignedText, OnlyTheFirst63CharactersCount) {
  // 62 blanks and a digit fit; a 64th character is cut off before conversion.
  std::string text(62, ' ');
  text += "5";
  std::uint32_t value = 0;
  EXPECT_TRUE(ParseUnsignedText(text.c_str(), &value));
  EXPECT_EQ(5u, value);
  EXPECT_TRUE(ParseUnsignedText((text + "x").c_str(), &value));
  EXPECT_FALSE(ParseUnsignedText((std::string(63, ' ') + "5").c_str(), &value));
}

TEST(NumberMessages, TextsAreTheProgramsOwn) {
  EXPECT_EQ("Please enter an integer between 0 and 100.", RangeMessage(0, 100));
  EXPECT_STREQ("Please enter an integer.", kNotANumberMessage);
  EXPECT_EQ("4294967295", FormatUnsigned(4294967295u));
}

// Lists here are plain heap blocks; the size is what the test allocated.
class FakeLoader : public PluginLoader {
 public:
  void* Load(const char*) override { return nullptr; }
  void* Find(void*, const char*) override { return nullptr; }
  void Unload(void*) override {}
  std::size_t ListBlockSize(const void* list) override { return list == block.data() ? block.size() : 0; }
  void ReleaseList(void*) override {}
  std::vector<std::uint8_t> block;
};

class Prompts : public SavePrompts {
 public:
  bool ConfirmUpdate(AdapterNumber number) override {
    asked.push_back(number);
    return answer;
  }
  void RestartNotice() override { ++notices; }
  bool answer = true;
  std::vector<AdapterNumber> asked;
  int notices = 0;
};

class SaveEditedAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_ = OpenServiceKey(store_);
    ASSERT_TRUE(service_);
    AddType("VA85 Family", 1);
    AddType("Virtual Node", 0);
    catalog_ = LoadCatalog(store_);
    ASSERT_EQ(2u, catalog_.count);
  }

  void AddType(const char* name, std::uint32_t physical) {
    std::string path = std::string(kCatalogPath) + kServiceName + "\\" + name;
    Key key = OpenKey(store_, nullptr, path.c_str(), Access::All);
    ASSERT_TRUE(key);
    WriteStringValue(store_, key.get(), "ConfigDll", "None");
    if (physical != 0) WriteDwordValue(store_, key.get(), "Physical", physical);
  }

  void AddKey(const char* name) { ASSERT_TRUE(OpenKey(store_, service_.get(), name, Access::All)); }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
      char name[kNameBufferChars];
      std::uint32_t length = kNameBufferChars;
      if (store_.EnumKey(service_.get(), i, name, &length) != kOk) break;
      names.push_back(name);
    }
    return names;
  }

  SaveResult Save(const char* type, AdapterNumber number, const void* settings = nullptr) {
    return SaveEditedAdapter(store_, loader_, service_.get(), catalog_, type, number, settings, prompts_);
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

  Key key = OpenKey(store_, service_.get(), "Device5", Access::All);
  std::string type = "Unknown";
  AdapterNumber number = 0;
  ReadDeviceValues(store_, key.get(), &type, &number);
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

TEST_F(SaveEditedAdapterTest, ClashWhoseKeyCannotBeDeletedStillWrites) {
  AddKey("LogicalDevice3\\Child");
  EXPECT_EQ(SaveResult::Saved, Save("VA85 Family", 3));
  EXPECT_EQ((std::vector<std::string>{"Device3", "LogicalDevice3"}), Names());
}

TEST_F(SaveEditedAdapterTest, PluginValuesAreWrittenBeforeTheTwoOwnValues) {
  // A record of the program's own name is written first and then replaced.
  loader_.block =
      veldra_test::ListBuilder().Dword("NodeAddress", 17).Dword("AdapterNumber", 99).End().bytes();
  EXPECT_EQ(SaveResult::Saved, Save("VA85 Family", 1, loader_.block.data()));
  Key key = OpenKey(store_, service_.get(), "Device1", Access::All);
  std::uint32_t value = 0;
  ASSERT_TRUE(ReadDwordValue(store_, key.get(), "NodeAddress", &value));
  EXPECT_EQ(17u, value);
  ASSERT_TRUE(ReadDwordValue(store_, key.get(), "AdapterNumber", &value));
  EXPECT_EQ(1u, value);
}

TEST(ListedKeyStillMatches, ComparesTheKeyAtTheIndexWithTheLinesNumber) {
  MemoryRegistryStore store;
  Key service = OpenServiceKey(store);
  for (const char* name : {"Device1", "LogicalDevice2", "Parameters"}) {
    ASSERT_TRUE(OpenKey(store, service.get(), name, Access::All));
  }
  std::string name;
  EXPECT_TRUE(ListedKeyStillMatches(store, service.get(), 0, 1, &name));
  EXPECT_EQ("Device1", name);
  EXPECT_TRUE(ListedKeyStillMatches(store, service.get(), 1, 2, &name));
  EXPECT_EQ("LogicalDevice2", name);
  EXPECT_FALSE(ListedKeyStillMatches(store, service.get(), 0, 2, &name));
  EXPECT_FALSE(ListedKeyStillMatches(store, service.get(), 2, 2, &name));
  EXPECT_FALSE(ListedKeyStillMatches(store, service.get(), 3, 1, &name));
  EXPECT_FALSE(ListedKeyStillMatches(store, nullptr, 0, 1, &name));
}

}  // namespace
}  // namespace veldra::config

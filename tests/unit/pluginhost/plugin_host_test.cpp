// The plug-in host against in-process fake plug-ins: which entry point is
// called with what, when libraries are loaded and unloaded, and who releases
// which list.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"
#include "tests/support/memory_store.h"

namespace veldra::test {
namespace {

// What the fake plug-ins see and do; set up by the fixture.
struct PluginWorld {
  RegistryStore* store = nullptr;
  FakeLoader* loader = nullptr;
  std::vector<std::string> calls;
  std::string marker;  // the Marker value of the key the plug-in was handed
  bool returnNull = false;
};
PluginWorld* world = nullptr;

void NoteCall(const std::string& call, KeyHandle key) {
  world->calls.push_back(call);
  world->loader->events.push_back("call " + call.substr(0, call.find(' ')));
  char text[kStringBufferBytes];
  world->marker = Key::Borrow(*world->store, key).ReadString("Marker", text) ? text : "(none)";
}

void* SettingsList(std::uint32_t speed) {
  if (world->returnNull) return nullptr;
  return world->loader->heap.Alloc(ListBuilder().Dword("Speed", speed).Sz("Port", "COM1").End().bytes());
}

void* VELDRA_PLUGIN_CALL FakeReadEx(KeyHandle key, std::uint32_t number) {
  NoteCall("ReadRegValuesEx " + std::to_string(number), key);
  return SettingsList(number);
}

void* VELDRA_PLUGIN_CALL FakeRead(KeyHandle key) {
  NoteCall("ReadRegValues", key);
  return SettingsList(1);
}

// Frees the caller's list and hands back a new one, as a settings dialog may.
void VELDRA_PLUGIN_CALL EditReplacing(void** list) {
  world->calls.push_back("EditRegValues");
  world->loader->heap.Free(*list);
  *list = world->loader->heap.Alloc(ListBuilder().Dword("Speed", 57600).End().bytes());
}

template <typename Fn>
void* Entry(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

DeviceTypeRecord Row(const char* name, const char* configDll) {
  DeviceTypeRecord row{};
  std::strncpy(row.name, name, sizeof row.name - 1);
  std::strncpy(row.configDll, configDll, sizeof row.configDll - 1);
  std::strncpy(row.executeDll, "None", sizeof row.executeDll - 1);
  return row;
}

enum RowIndex { kBoth, kReadOnly, kEditor, kBare, kMissing, kEmptyRow, kPlaceholder };

class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world = &state;
    state.store = &store;
    state.loader = &loader;
    loader.Add("both.dll", {{{"ReadRegValuesEx", Entry(FakeReadEx)}, {"ReadRegValues", Entry(FakeRead)}}});
    loader.Add("read.dll", {{{"ReadRegValues", Entry(FakeRead)}}});
    loader.Add("edit.dll", {{{"ReadRegValues", Entry(FakeRead)}, {"EditRegValues", Entry(EditReplacing)}}});
    loader.Add("bare.dll", {{{"DllMain", Entry(FakeRead)}}});
    catalog.rows = {Row("Both", "both.dll"), Row("Read Only", "read.dll"),  Row("Editor", "edit.dll"),
                    Row("Bare", "bare.dll"), Row("Missing", "missing.dll"), DeviceTypeRecord{},
                    Row("Unknown", "None")};
    catalog.count = kPlaceholder;

    // Device3 enumerates before LogicalDevice3: the plug-in gets the first.
    MakeKey("Device3", "Device3");
    MakeKey("LogicalDevice3", "LogicalDevice3");
    MakeKey("LogicalDevice7", nullptr);  // a new adapter's empty placeholder
    baseHandles = store.OpenHandleCount();
  }
  void TearDown() override { world = nullptr; }

  void MakeKey(const char* name, const char* marker) {
    Key key = Key::Root(store).Open(
        (std::string("SYSTEM\\CurrentControlSet\\Services\\VELDRA\\") + name).c_str(), Access::All);
    ASSERT_TRUE(key);
    if (marker != nullptr) {
      ASSERT_EQ(key.WriteString("Marker", marker), kOk);
    }
  }
  void* Read(int row, AdapterNumber number, void* current = nullptr) {
    return ReadSettings(store, loader, catalog, row, number, current);
  }
  // Every operation leaves no library loaded and no key open.
  void ExpectNothingHeld() {
    EXPECT_EQ(loader.loaded, 0);
    EXPECT_EQ(store.OpenHandleCount(), baseHandles);
  }

  MemoryRegistryStore store;
  FakeLoader loader;
  DeviceTypeCatalog catalog;
  PluginWorld state;
  std::size_t baseHandles = 0;
};

TEST_F(PluginHostTest, PluginWithBothReadEntriesIsCalledThroughTheExtendedOne) {
  void* list = Read(kBoth, 3);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(loader.heap.Owns(list));
  EXPECT_EQ(state.calls, std::vector<std::string>{"ReadRegValuesEx 3"});
  EXPECT_EQ(state.marker, "Device3");
  EXPECT_EQ(loader.events, (std::vector<std::string>{"load both.dll", "call ReadRegValuesEx", "unload"}));
  ExpectNothingHeld();
}

TEST_F(PluginHostTest, PluginWithOnlyReadRegValuesIsHandedTheKey) {
  EXPECT_NE(Read(kReadOnly, 3), nullptr);
  EXPECT_EQ(state.calls, std::vector<std::string>{"ReadRegValues"});
  EXPECT_EQ(state.marker, "Device3");
  ExpectNothingHeld();
}

TEST_F(PluginHostTest, NewAdapterWithEmptyKeyIsStillReadForDefaults) {
  EXPECT_NE(Read(kBoth, 7), nullptr);
  EXPECT_EQ(state.calls, std::vector<std::string>{"ReadRegValuesEx 7"});
  EXPECT_EQ(state.marker, "(none)");
  ExpectNothingHeld();
}

TEST_F(PluginHostTest, CurrentListIsReleasedBeforeAnythingElse) {
  void* old = loader.heap.Alloc(ListBuilder().End().bytes());
  void* list = Read(kBoth, 3, old);
  EXPECT_FALSE(loader.heap.Owns(old));
  EXPECT_EQ(loader.heap.Live(), 1u);
  EXPECT_TRUE(loader.heap.Owns(list));
  ASSERT_FALSE(loader.events.empty());
  EXPECT_EQ(loader.events.front(), "release");

  // No selection: the list is still released and nothing is loaded.
  loader.events.clear();
  EXPECT_EQ(Read(-1, 3, list), nullptr);
  EXPECT_EQ(loader.events, std::vector<std::string>{"release"});
  EXPECT_EQ(loader.heap.Live(), 0u);
}

TEST_F(PluginHostTest, NoListWithoutADeviceKeyAnEntryPointOrAResult) {
  EXPECT_EQ(Read(kBoth, 9), nullptr);  // no key numbered 9
  EXPECT_EQ(Read(kBare, 3), nullptr);  // neither read entry point
  state.returnNull = true;
  EXPECT_EQ(Read(kReadOnly, 3), nullptr);
  EXPECT_EQ(state.calls, std::vector<std::string>{"ReadRegValues"});
  EXPECT_EQ(loader.heap.Live(), 0u);
  ExpectNothingHeld();
}

TEST_F(PluginHostTest, RowsWithoutAPluginYieldNoList) {
  EXPECT_EQ(Read(kPlaceholder, 3), nullptr);
  EXPECT_EQ(Read(kEmptyRow, 3), nullptr);
  EXPECT_EQ(Read(kPlaceholder + 1, 3), nullptr);  // past the table
  EXPECT_TRUE(loader.events.empty());             // none of them reached the loader
  EXPECT_EQ(Read(kMissing, 3), nullptr);
  EXPECT_EQ(loader.events, std::vector<std::string>{"load missing.dll"});
  EXPECT_TRUE(state.calls.empty());
  ExpectNothingHeld();
}

TEST(LoadedPlugin, NoneInAnyCaseMeansNoPluginButOnlyAsTheWholePath) {
  FakeLoader loader;
  loader.Add("None.dll", {});
  for (const char* path : {"None", "none", "NONE", "nOnE"}) {
    DeviceTypeRecord row = Row("T", path);
    EXPECT_FALSE(LoadedPlugin(loader, &row)) << path;
  }
  EXPECT_TRUE(loader.events.empty());
  EXPECT_FALSE(LoadedPlugin(loader, nullptr));

  DeviceTypeRecord row = Row("T", "None.dll");
  {
    LoadedPlugin plugin(loader, &row);
    EXPECT_TRUE(plugin);
    EXPECT_EQ(loader.loaded, 1);
  }
  EXPECT_EQ(loader.loaded, 0);
}

TEST(LoadedPlugin, PathFillingItsWholeBufferIsNotLoaded) {
  FakeLoader loader;
  DeviceTypeRecord row{};
  std::memset(row.configDll, 'a', sizeof row.configDll);
  EXPECT_FALSE(LoadedPlugin(loader, &row));
  EXPECT_TRUE(loader.events.empty());
}

TEST_F(PluginHostTest, EditRegValuesMayReplaceTheList) {
  void* list = Read(kEditor, 3);
  void* const before = list;
  loader.events.clear();
  EditSettings(loader, catalog, kEditor, &list);
  EXPECT_NE(list, before);
  EXPECT_FALSE(loader.heap.Owns(before));
  EXPECT_TRUE(loader.heap.Owns(list));
  EXPECT_EQ(loader.events, (std::vector<std::string>{"load edit.dll", "unload"}));

  // The replacement is what gets saved.
  Key key = Key::Root(store).Open("SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Device3", Access::All);
  ASSERT_TRUE(WriteDeviceValues(loader, key, list, 3, "Editor"));
  std::uint32_t speed = 0;
  EXPECT_TRUE(key.ReadDword("Speed", &speed));
  EXPECT_EQ(speed, 57600u);
  ReleaseList(loader, list);
}

TEST_F(PluginHostTest, SetupWithoutEditEntryOrSelectionDoesNothing) {
  void* list = Read(kBoth, 3);
  void* const before = list;
  state.calls.clear();
  loader.events.clear();
  EditSettings(loader, catalog, kBoth, &list);
  EditSettings(loader, catalog, -1, &list);
  EditSettings(loader, catalog, kPlaceholder, &list);
  EXPECT_EQ(list, before);
  EXPECT_TRUE(loader.heap.Owns(list));
  EXPECT_TRUE(state.calls.empty());
  EXPECT_EQ(loader.events, (std::vector<std::string>{"load both.dll", "unload"}));
}

}  // namespace
}  // namespace veldra::test

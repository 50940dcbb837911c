// The plug-in host with real DLLs, the real loader and global heap, and the
// real registry. Works below a scratch service key that it removes again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "registry/plugins.h"
#include "registry/win32_store.h"
#include "tests/support/value_list_builder.h"
#include "tests/support/win_registry.h"

namespace veldra {
namespace {

constexpr char kScratchService[] = "VeldraPluginHostTest";

std::string ServicePath() { return std::string(kServicesPath) + kScratchService; }

void DeleteScratchService() { veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, ServicePath().c_str()); }

// The test plug-ins are copied next to this program at build time.
std::string PluginPath(const char* file) {
  char exe[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string dir(exe, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + file;
}

DeviceTypeRecord Row(const char* name, const std::string& configDll) {
  DeviceTypeRecord row{};
  std::strncpy(row.name, name, sizeof row.name - 1);
  std::strncpy(row.configDll, configDll.c_str(), sizeof row.configDll - 1);
  return row;
}

struct Value {
  DWORD type;
  std::string data;
};
// The records of a list as name -> (type, bytes), through the host's parser
// bounded by the real block size.
std::map<std::string, Value> Records(PluginLoader& loader, const void* list) {
  std::map<std::string, Value> out;
  for (const auto& r : ParseValueList(list, loader.ListBlockSize(list)))
    out[r.name] = {static_cast<DWORD>(r.type), std::string(reinterpret_cast<const char*>(r.data), r.size)};
  return out;
}
std::string Sz(const char* s) { return std::string(s, std::strlen(s) + 1); }
std::string Dw(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

enum RowIndex { kBoth, kReadOnly, kEditor, kBare, kMissing, kEmptyPath, kSdkExample, kPlaceholder };

class PluginHostWin : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteScratchService();
    MakeDeviceKey("Device5", "Device5");
    MakeDeviceKey("LogicalDevice8", nullptr);  // a new adapter's empty placeholder
    catalog.rows = {
        Row("Both", PluginPath("plug_both.dll")),       Row("Read Only", PluginPath("plug_read.dll")),
        Row("Editor", PluginPath("plug_edit.dll")),     Row("Bare", PluginPath("plug_bare.dll")),
        Row("Missing", PluginPath("plug_missing.dll")), Row("Empty", ""),
        Row("Sdk Example", PluginPath("example.dll")),  Row("Unknown", "None")};
    catalog.count = kPlaceholder;
  }
  void TearDown() override {
    ReleaseList(loader, list);
    DeleteScratchService();
  }

  void MakeDeviceKey(const char* name, const char* marker) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (ServicePath() + "\\" + name).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (marker != nullptr)
      RegSetValueExA(key, "Marker", 0, REG_SZ, reinterpret_cast<const BYTE*>(marker),
                     std::strlen(marker) + 1);
    RegCloseKey(key);
  }
  void Read(int row, AdapterNumber number) {
    list = ReadSettings(store, loader, catalog, row, number, list, kScratchService);
  }
  static bool Loaded(const char* file) { return GetModuleHandleA(file) != nullptr; }

  Win32RegistryStore store;
  Win32PluginLoader loader;
  DeviceTypeCatalog catalog;
  void* list = nullptr;
};

TEST_F(PluginHostWin, PluginWithBothReadEntriesIsCalledThroughReadRegValuesEx) {
  Read(kBoth, 5);
  ASSERT_NE(list, nullptr);
  auto records = Records(loader, list);
  EXPECT_EQ(records["CalledBy"].data, Sz("ReadRegValuesEx"));
  EXPECT_EQ(records["Adapter"].type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(records["Adapter"].data, Dw(5));
  EXPECT_EQ(records["Marker"].data, Sz("Device5"));
  EXPECT_FALSE(Loaded("plug_both.dll"));

  // A new adapter's empty key still reaches the plug-in.
  Read(kBoth, 8);
  ASSERT_NE(list, nullptr);
  records = Records(loader, list);
  EXPECT_EQ(records["Adapter"].data, Dw(8));
  EXPECT_EQ(records["Marker"].data, Sz("(none)"));
}

TEST_F(PluginHostWin, PluginWithOnlyReadRegValues) {
  Read(kReadOnly, 5);
  ASSERT_NE(list, nullptr);
  auto records = Records(loader, list);
  EXPECT_EQ(records["CalledBy"].data, Sz("ReadRegValues"));
  EXPECT_EQ(records["Marker"].data, Sz("Device5"));
  EXPECT_EQ(records.count("Adapter"), 0u);
  EXPECT_FALSE(Loaded("plug_read.dll"));
}

TEST_F(PluginHostWin, EditRegValuesReplacesTheList) {
  Read(kEditor, 5);
  ASSERT_NE(list, nullptr);
  EditSettings(loader, catalog, kEditor, &list);
  ASSERT_NE(list, nullptr);
  auto records = Records(loader, list);
  EXPECT_EQ(records["CalledBy"].data, Sz("EditRegValues"));
  EXPECT_EQ(records["Edited"].data, Dw(1));
  EXPECT_EQ(records.count("Marker"), 0u);
  EXPECT_FALSE(Loaded("plug_edit.dll"));
}

// The SDK page's example, built from the page as a vendor would: its
// default, what the key holds, its Setup, and the save of its list.
TEST_F(PluginHostWin, SdkPageExampleReadsEditsAndIsSaved) {
  Read(kSdkExample, 8);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Records(loader, list)["Speed"].data, Dw(9600));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (ServicePath() + "\\Device5").c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  const DWORD stored = 19200;
  RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
  RegCloseKey(key);
  Read(kSdkExample, 5);
  ASSERT_NE(list, nullptr);
  EditSettings(loader, catalog, kSdkExample, &list);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Records(loader, list)["Speed"].data, Dw(38400));
  EXPECT_FALSE(Loaded("example.dll"));

  Key device = Key::Root(store).Open((ServicePath() + "\\LogicalDevice8").c_str(), Access::All);
  ASSERT_TRUE(WriteDeviceValues(loader, device, list, 8, "Sdk Example"));
  std::uint32_t speed = 0;
  EXPECT_TRUE(device.ReadDword("Speed", &speed));
  EXPECT_EQ(38400u, speed);
}

TEST_F(PluginHostWin, NoListWithoutEntryPointsPluginOrDeviceKey) {
  Read(kBare, 5);
  EXPECT_EQ(list, nullptr);
  EXPECT_FALSE(Loaded("plug_bare.dll"));
  Read(kBoth, 6);  // no key numbered 6
  EXPECT_EQ(list, nullptr);
  for (int row : {int{kMissing}, int{kEmptyPath}, int{kPlaceholder}, -1}) {
    Read(row, 5);
    EXPECT_EQ(list, nullptr) << row;
  }
  for (const char* none : {"None", "none", "NONE", "nOnE"}) {
    std::strcpy(catalog.rows[kPlaceholder].configDll, none);
    Read(kPlaceholder, 5);
    EXPECT_EQ(list, nullptr) << none;
  }
  // Setup on a plug-in without EditRegValues leaves the list alone.
  Read(kBoth, 5);
  void* const before = list;
  EditSettings(loader, catalog, kBoth, &list);
  EXPECT_EQ(list, before);
}

TEST_F(PluginHostWin, WriteDeviceValuesStoresTypesAndSizesExactly) {
  Read(kBoth, 5);
  ASSERT_NE(list, nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (ServicePath() + "\\Device5").c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  // Records of every common type, a size-0 one among them, and a DeviceType
  // of the plug-in's own that the program's value must replace.
  const char path[] = "%SystemRoot%\\x";
  void* p = veldra_test::ListBuilder()
                .Dword("Baud", 19200)
                .Sz("Port", "COM1")
                .Record(REG_BINARY, "Empty", {})
                .Record(REG_EXPAND_SZ, "Path", veldra_test::Bytes(path, path + sizeof path))
                .Sz("DeviceType", "Plug-in's idea")
                .End()
                .Global();
  ASSERT_NE(nullptr, p);

  EXPECT_TRUE(WriteDeviceValues(loader, Key::Borrow(store, key), p, 5, "VA85 Family"));
  ReleaseList(loader, p);

  auto query = [&](const char* name) {
    char data[256];
    DWORD type = 0, size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
      return Value{REG_NONE, "(absent)"};
    return Value{type, std::string(data, size)};
  };
  const std::pair<const char*, Value> expected[] = {
      {"Baud", {REG_DWORD, Dw(19200)}},      {"Port", {REG_SZ, Sz("COM1")}},
      {"Empty", {REG_BINARY, ""}},           {"Path", {REG_EXPAND_SZ, Sz("%SystemRoot%\\x")}},
      {"AdapterNumber", {REG_DWORD, Dw(5)}}, {"DeviceType", {REG_SZ, Sz("VA85 Family")}},
      {"Marker", {REG_SZ, Sz("Device5")}},  // not named by the list: stays
  };
  for (const auto& [name, want] : expected) {
    Value got = query(name);
    EXPECT_EQ(got.type, want.type) << name;
    EXPECT_EQ(got.data, want.data) << name;
  }
  RegCloseKey(key);
}

// A plug-in's own DLLs are found beside it; a bare name is taken from the
// system directory only, never from the current directory or PATH, where
// anyone who can write a folder could place a DLL of that name.
TEST_F(PluginHostWin, PluginsLoadFromTheirOwnFolderOrTheSystemDirectoryOnly) {
  catalog.rows[kBare] = Row("Beside", PluginPath("beside\\plug_dep.dll"));
  Read(kBare, 5);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Records(loader, list)["CalledBy"].data, Sz("plug_dep_helper"));

  const std::string here = PluginPath("");
  ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
  const std::string path = "PATH=" + here + ";" + (std::getenv("PATH") ? std::getenv("PATH") : "");
  _putenv(path.c_str());
  EXPECT_EQ(loader.Load("plug_both.dll"), nullptr);
  EXPECT_EQ(loader.Load(".\\plug_both.dll"), nullptr);
  void* system = loader.Load("version.dll");
  EXPECT_NE(system, nullptr);
  if (system != nullptr) loader.Unload(system);
  EXPECT_FALSE(Loaded("plug_both.dll"));
}

TEST_F(PluginHostWin, BlockSizeComesFromTheGlobalHeap) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 7);
  void* p = GlobalLock(block);
  EXPECT_GE(loader.ListBlockSize(p), 7u);
  loader.ReleaseList(p);
  char notFromTheHeap[16] = {};
  EXPECT_EQ(loader.ListBlockSize(notFromTheHeap), 0u);
}

}  // namespace
}  // namespace veldra

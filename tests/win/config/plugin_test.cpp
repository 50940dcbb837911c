// VDREDTSA.DLL through its exports, as any host would call it: the lists it
// hands out have the packed value-list layout and live in the global heap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "driver.h"
#include "tests/support/value_list_builder.h"

namespace {

typedef void*(WINAPI* ReadExFn)(HKEY, DWORD);
typedef void*(WINAPI* ReadFn)(HKEY);
typedef void(WINAPI* EditFn)(void**);

constexpr char kScratch[] = "Software\\VeldraConfigTests\\Plugin";

std::vector<std::uint8_t> Expected(DWORD node, DWORD irq) {
  return veldra_test::ListBuilder().Dword("NodeAddress", node).Dword("Interrupt", irq).End().bytes();
}

class DemoPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key_, nullptr));
    library_ = LoadLibraryExA(cfgtest::WinPath(PLUGIN_DLL).c_str(), nullptr, 0);
    ASSERT_NE(nullptr, library_);
    readEx_ =
        reinterpret_cast<ReadExFn>(reinterpret_cast<void*>(GetProcAddress(library_, "ReadRegValuesEx")));
    read_ = reinterpret_cast<ReadFn>(reinterpret_cast<void*>(GetProcAddress(library_, "ReadRegValues")));
    edit_ = reinterpret_cast<EditFn>(reinterpret_cast<void*>(GetProcAddress(library_, "EditRegValues")));
    ASSERT_NE(nullptr, readEx_);
    ASSERT_NE(nullptr, read_);
    ASSERT_NE(nullptr, edit_);
  }
  void TearDown() override {
    if (key_ != nullptr) RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratch);
    if (library_ != nullptr) FreeLibrary(library_);
  }

  void SetValue(const char* name, DWORD value) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4));
  }

  // The list's bytes, checked to be a locked global-heap block, then released
  // the way the program releases it.
  static std::vector<std::uint8_t> Take(void* list, std::size_t length) {
    EXPECT_NE(nullptr, list);
    if (list == nullptr) return {};
    HGLOBAL handle = GlobalHandle(list);
    EXPECT_NE(nullptr, handle);
    EXPECT_GE(GlobalSize(handle), length);
    const auto* p = static_cast<const std::uint8_t*>(list);
    std::vector<std::uint8_t> bytes(p, p + length);
    GlobalUnlock(handle);
    EXPECT_EQ(nullptr, GlobalFree(handle));
    return bytes;
  }

  HKEY key_ = nullptr;
  HMODULE library_ = nullptr;
  ReadExFn readEx_ = nullptr;
  ReadFn read_ = nullptr;
  EditFn edit_ = nullptr;
};

TEST_F(DemoPlugin, EmptyKeyGivesTheDefaults) {
  const std::vector<std::uint8_t> expected = Expected(1, 5);
  EXPECT_EQ(expected, Take(readEx_(key_, 3), expected.size()));
  EXPECT_EQ(expected, Take(read_(key_), expected.size()));
}

TEST_F(DemoPlugin, StoredSettingsAreReadAndOutOfRangeOnesReplaced) {
  SetValue("NodeAddress", 64);
  SetValue("Interrupt", 11);
  std::vector<std::uint8_t> expected = Expected(64, 11);
  EXPECT_EQ(expected, Take(readEx_(key_, 0), expected.size()));
  SetValue("NodeAddress", 65);
  SetValue("Interrupt", 1);
  expected = Expected(1, 5);
  EXPECT_EQ(expected, Take(read_(key_), expected.size()));
}

TEST_F(DemoPlugin, EditWithoutAListPointerDoesNothing) { edit_(nullptr); }

// The dialog runs on a thread of its own, as in a host, while the test
// answers it like a user.
TEST_F(DemoPlugin, EditKeepsRecordsOfOtherNamesAndReplacesTheListOnlyOnOk) {
  using veldra_test::ListBuilder;
  const std::vector<std::uint8_t> blob{1, 0, 2};
  void* list = ListBuilder()
                   .Sz("Comment", "kept as it was")
                   .Dword("nodeaddress", 9)
                   .Record(REG_BINARY, "Blob", blob)
                   .Dword("Interrupt", 99)
                   .End()
                   .Global();
  ASSERT_NE(nullptr, list);
  void* held = list;
  std::thread host([&] { edit_(&held); });
  HWND settings = cfgtest::WaitWindow("VA85 Family Settings", GetCurrentProcessId());
  EXPECT_NE(nullptr, settings);
  if (settings != nullptr) {
    EXPECT_EQ("9", cfgtest::ItemText(settings, 101));
    EXPECT_EQ("5", cfgtest::ItemText(settings, 102));
    // Judged whole, not by the part that fits the plug-in's buffer.
    cfgtest::SetItemText(settings, 101, "12" + std::string(40, ' ') + "x");
    cfgtest::PostCommand(settings, IDOK);
    const cfgtest::MessageBoxInfo box =
        cfgtest::WaitMessageBox("VA85 Family Settings", GetCurrentProcessId(), 10000, settings);
    EXPECT_EQ("The network node address must be a number from 1 to 64.", box.text);
    if (box.hwnd != nullptr) cfgtest::Answer(box, IDOK);
    cfgtest::SetItemText(settings, 101, " 12 ");
    cfgtest::SetItemText(settings, 102, "7");
    cfgtest::PostCommand(settings, IDOK);
  }
  host.join();
  ASSERT_NE(list, held);
  const std::vector<std::uint8_t> expected = ListBuilder()
                                                 .Dword("NodeAddress", 12)
                                                 .Dword("Interrupt", 7)
                                                 .Sz("Comment", "kept as it was")
                                                 .Record(REG_BINARY, "Blob", blob)
                                                 .End()
                                                 .bytes();
  EXPECT_EQ(expected, Take(held, expected.size()));

  list = ListBuilder().Dword("Interrupt", 3).End().Global();
  held = list;
  std::thread cancelled([&] { edit_(&held); });
  settings = cfgtest::WaitWindow("VA85 Family Settings", GetCurrentProcessId());
  EXPECT_NE(nullptr, settings);
  if (settings != nullptr) cfgtest::PostCommand(settings, IDCANCEL);
  cancelled.join();
  EXPECT_EQ(list, held);
  Take(held, 0);
}

}  // namespace

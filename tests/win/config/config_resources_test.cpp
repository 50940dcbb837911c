// config.exe's resources as built: the three dialog templates control by
// control (ids, classes, texts, positions, styles, tab order) and the
// version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/resource.h"
#include "driver.h"
#include "tests/support/dialog_template.h"

namespace {

using Item = veldra_test::DialogItem;
using Template = veldra_test::DialogTemplate;

class ConfigResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(cfgtest::WinPath(CONFIG_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module_);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  // Controls compare with their whole style.
  void Expect(int id, const Template& expected) {
    veldra_test::ExpectTemplate(module_, id, 0, expected,
                                [](const Item& e, const Item& a) { return e.style == a.style; });
  }

  HMODULE module_ = nullptr;
};

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(ConfigResources, AdapterListTemplate) {
  const DWORD button = kChild | WS_TABSTOP;
  const DWORD list =
      kChild | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
  Expect(IDD_ADAPTER_LIST,
         veldra_test::Expected(kDialogStyle | DS_SETFONT, 167, 139, "Modbus Plus Driver Configuration",
                               {{button | BS_DEFPUSHBUTTON, 102, 26, 50, 14, 1, "Button", "Close"},
                                {button | BS_PUSHBUTTON, 102, 50, 50, 14, 4, "Button", "New"},
                                {button | BS_PUSHBUTTON, 102, 74, 50, 14, 108, "Button", "Edit"},
                                {button | BS_PUSHBUTTON, 102, 98, 50, 14, 6, "Button", "Delete"},
                                {list, 13, 15, 71, 110, 103, "ListBox", ""}}));
}

TEST_F(ConfigResources, EditDeviceTemplate) {
  Expect(IDD_EDIT_DEVICE,
         veldra_test::Expected(
             kDialogStyle | DS_SETFONT, 241, 79, "Edit Device",
             {{kChild | SS_LEFT | WS_GROUP, 35, 15, 42, 9, IDC_STATIC, "Static", "Device Type"},
              {kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 35, 26, 119, 60, 139, "ComboBox", ""},
              {kChild | SS_LEFT | WS_GROUP, 158, 15, 54, 9, IDC_STATIC, "Static", "Adapter Number"},
              {kChild | WS_BORDER | WS_TABSTOP, 166, 26, 40, 12, 127, "Edit", ""},
              {WS_CHILD | BS_DEFPUSHBUTTON, 0, 0, 50, 14, 138, "Button", "Do Nothing"},
              {kChild | BS_PUSHBUTTON, 7, 60, 52, 14, 1, "Button", "OK"},
              {kChild | BS_PUSHBUTTON, 66, 60, 52, 14, 2, "Button", "Cancel"},
              {kChild | BS_PUSHBUTTON, 125, 60, 52, 14, 141, "Button", "Setup"},
              {kChild | BS_PUSHBUTTON, 184, 60, 50, 14, 57664, "Button", "About"}}));
}

TEST_F(ConfigResources, AboutBoxTemplate) {
  Template t;
  ASSERT_TRUE(veldra_test::ReadDialogTemplate(module_, IDD_ABOUTBOX, 0, &t));
  EXPECT_EQ(kDialogStyle | DS_SETFONT, t.style);
  EXPECT_EQ(217, t.cx);
  EXPECT_EQ(156, t.cy);
  EXPECT_EQ("About", t.caption);
  EXPECT_EQ(8, t.pointSize);
  EXPECT_EQ("MS Sans Serif", t.font);
  ASSERT_EQ(3u, t.items.size());
  EXPECT_EQ("Modbus Plus Driver Configuration", t.items[0].text);
  EXPECT_EQ("Version 2.2", t.items[1].text);
  EXPECT_EQ("OK", t.items[2].text);
  EXPECT_EQ(IDOK, t.items[2].id);
  EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), t.items[2].style & 0xF);
}

TEST_F(ConfigResources, VersionResource) {
  const std::string path = cfgtest::WinPath(CONFIG_EXE);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_NE(0u, size);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(MAKELONG(3, 2), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
  auto text = [&](const char* name) {
    char* value = nullptr;
    UINT chars = 0;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars))
      return std::string();
    return std::string(value);
  };
  EXPECT_EQ("2.3.0", text("FileVersion"));
  EXPECT_EQ("2.3.0", text("ProductVersion"));
  EXPECT_EQ("Driver Configuration Utility", text("FileDescription"));
  EXPECT_EQ("CONFIG", text("InternalName"));
}

}  // namespace

// The config.exe UI tests' fixture: the real program is started against the
// test prefix's registry and driven through its dialogs by control id. The
// tests share the prefix's VELDRA keys, so each one resets them before and
// after.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config/resource.h"
#include "driver.h"
#include "tools/windriver/poll.h"
#include "tests/support/win_registry.h"

using namespace cfgtest;
using namespace veldra_test;

namespace cfgtest {

constexpr char kMainTitle[] = "Modbus Plus Driver Configuration";
constexpr char kEditTitle[] = "Edit Device";
constexpr char kProgramName[] = "config";
constexpr char kVa85[] = "VA85 Family";
constexpr char kVirtual[] = "Virtual Node";
constexpr char kUpdateCaption[] = "Adapter Already Exists";
constexpr char kRestartCaption[] = "Changes Made";
constexpr char kRestartText[] =
    "Changes made will not take effect until the system is shutdown and restarted.";
constexpr char kRangeText[] = "Please enter an integer between 0 and 100.";
constexpr char kExitCaption[] = "Exit Without Saving";
constexpr char kExitText[] = "Are you sure you want to exit without saving changes?";
constexpr int kNoQuestion = -1;
const char* const kStartValues[] = {"Type", "Start", "ErrorControl", "Group", "LogVersion"};
const std::string kService = "SYSTEM\\CurrentControlSet\\Services\\VELDRA";
const std::string kCatalog = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA";

inline std::string Service(const std::string& sub) { return kService + "\\" + sub; }

// A REG_DWORD value, or 0xBAADF00D when it cannot be read.
inline std::uint32_t Dword(const std::string& path, const char* name) {
  std::uint32_t value = 0;
  return ReadDword(path, name, &value) ? value : 0xBAADF00Du;
}
inline std::string String(const std::string& path, const char* name) {
  std::string value;
  return ReadString(path, name, &value) ? value : "<absent>";
}

// The service key's start values, all set, or none of them there.
inline void SetStartValues() {
  for (const char* name : kStartValues) {
    ASSERT_TRUE(std::string(name) == "Group" ? SetString(kService, name, "Extended Base")
                                             : SetDword(kService, name, 1));
  }
}
inline void ExpectNoStartValues() {
  for (const char* name : kStartValues) EXPECT_FALSE(ValueExists(kService, name)) << name;
}

// Returns once the window's thread has finished what it was doing and is
// waiting for messages again (or timed out).
inline void Sync(HWND window) {
  DWORD_PTR result;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

class ConfigUi : public ::testing::Test {
 protected:
  void SetUp() override { ResetKeys(); }
  void TearDown() override {
    app_.Kill();
    ResetKeys();
  }

  static void ResetKeys() {
    ASSERT_TRUE(DeleteTree(kService));
    ASSERT_TRUE(DeleteTree(kCatalog));
  }

  // VA85 Family: physical, the demo plug-in. Virtual Node: logical, no plug-in.
  static void AddCatalog() {
    ASSERT_TRUE(SetString(kCatalog + "\\" + kVa85, "ConfigDll", WinPath(PLUGIN_DLL)));
    ASSERT_TRUE(SetString(kCatalog + "\\" + kVa85, "ExecuteDll", "None"));
    ASSERT_TRUE(SetDword(kCatalog + "\\" + kVa85, "Physical", 1));
    ASSERT_TRUE(SetString(kCatalog + "\\" + kVirtual, "ConfigDll", "None"));
    ASSERT_TRUE(SetString(kCatalog + "\\" + kVirtual, "ExecuteDll", "None"));
  }

  static void AddAdapter(const std::string& key, const std::string& type, std::uint32_t number) {
    ASSERT_TRUE(SetString(Service(key), "DeviceType", type));
    ASSERT_TRUE(SetDword(Service(key), "AdapterNumber", number));
  }

  void Start() {
    ASSERT_TRUE(app_.Start(WinPath(CONFIG_EXE)));
    main_ = WaitWindow(kMainTitle, app_.pid());
    ASSERT_NE(nullptr, main_);
    list_ = GetDlgItem(main_, IDC_ADAPTER_LIST);
  }

  HWND Edit() { return WaitWindow(kEditTitle, app_.pid()); }

  // Cancel answered with Yes; true when Edit Device went away.
  bool CancelEdit(HWND edit) {
    PostCommand(edit, IDCANCEL);
    AnswerBox(kExitCaption, IDYES);
    return WaitGone(edit);
  }

  // OK in Edit Device and the save's messages, owned by the adapter list:
  // Yes to "Update Adapter <updated>?" (none for kNoQuestion) and the restart
  // notice when `restart`. True when the dialog went away; the list has been
  // refilled then.
  bool Save(HWND edit, int updated, bool restart) {
    PostCommand(edit, IDOK);
    MessageBoxInfo box;
    if (updated != kNoQuestion) {
      EXPECT_EQ("Update Adapter " + std::to_string(updated) + "?", AnswerBox(kUpdateCaption, IDYES, &box));
      EXPECT_EQ(main_, box.owner);
    }
    if (restart) {
      EXPECT_EQ(kRestartText, AnswerBox(kRestartCaption, IDOK, &box));
      EXPECT_EQ(main_, box.owner);
    }
    const bool gone = WaitGone(edit);
    Sync(main_);
    return gone;
  }

  // Delete on a list line, the question answered with `button`.
  void Delete(int line, int button) {
    SelectListLine(main_, IDC_ADAPTER_LIST, line);
    PostCommand(main_, IDC_DELETE);
    AnswerBox("Confirm Delete", button);
    Sync(main_);
  }

  // Selects a list line and presses Edit; the Edit Device dialog, or null.
  HWND EditLine(int line) {
    SelectListLine(main_, IDC_ADAPTER_LIST, line);
    PostCommand(main_, IDC_EDIT);
    return Edit();
  }
  HWND StartAndEdit(int line) {
    Start();
    return EditLine(line);
  }
  // The catalogue and the logical adapter 3, with Edit Device open on it.
  HWND EditLogical3() {
    AddCatalog();
    AddAdapter("LogicalDevice3", kVirtual, 3);
    return StartAndEdit(0);
  }
  // Setup in Edit Device: the demo plug-in's settings dialog, or null.
  HWND Setup(HWND edit) {
    PostCommand(edit, IDC_SETUP);
    return WaitWindow("VA85 Family Settings", app_.pid());
  }

  // The message box of that caption, answered with `button`; its text.
  std::string AnswerBox(const std::string& caption, int button, MessageBoxInfo* seen = nullptr,
                        HWND exclude = nullptr) {
    MessageBoxInfo box = WaitMessageBox(caption, app_.pid(), 10000, exclude);
    if (box.hwnd == nullptr) return "<no message box \"" + caption + "\">";
    if (seen != nullptr) *seen = box;
    EXPECT_TRUE(Answer(box, button));
    return box.text;
  }

  int LineOf(const std::string& text) {
    std::vector<std::string> lines = ListLines(list_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] == text) return static_cast<int>(i);
    }
    return -1;
  }

  DWORD ExitCode() {
    DWORD code = 0xDEAD;
    EXPECT_TRUE(app_.WaitExit(10000, &code));
    return code;
  }

  Process app_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace cfgtest

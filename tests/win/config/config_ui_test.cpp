// config.exe end to end: the real program is started against the test
// prefix's registry and driven through its dialogs by control id. The tests
// share the prefix's VELDRA keys, so each one resets them before and after.
#include <gtest/gtest.h>

#include <string>

#include "config/resource.h"
#include "driver.h"
#include "tests/support/poll.h"
#include "tests/support/win_registry.h"

using namespace cfgtest;
using namespace veldra_test;

namespace {

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

std::string Service(const std::string& sub) { return kService + "\\" + sub; }

// A REG_DWORD value, or 0xBAADF00D when it cannot be read.
std::uint32_t Dword(const std::string& path, const char* name) {
  std::uint32_t value = 0;
  return ReadDword(path, name, &value) ? value : 0xBAADF00Du;
}
std::string String(const std::string& path, const char* name) {
  std::string value;
  return ReadString(path, name, &value) ? value : "<absent>";
}

// The service key's start values, all set, or none of them there.
void SetStartValues() {
  for (const char* name : kStartValues) {
    ASSERT_TRUE(std::string(name) == "Group" ? SetString(kService, name, "Extended Base")
                                             : SetDword(kService, name, 1));
  }
}
void ExpectNoStartValues() {
  for (const char* name : kStartValues) EXPECT_FALSE(ValueExists(kService, name)) << name;
}

// Returns once the window's thread has finished what it was doing and is
// waiting for messages again (or timed out).
void Sync(HWND window) {
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

TEST_F(ConfigUi, ListsDeviceKeysSortedAsTextWithTheirIndexes) {
  for (const char* key : {"Device0", "LogicalDevice2", "Parameters", "5", "Device10", "device7", "Other3"}) {
    ASSERT_TRUE(CreateKey(Service(key)));
  }
  Start();
  EXPECT_EQ(kMainTitle, Text(main_));
  EXPECT_EQ("Close", ItemText(main_, IDC_CLOSE));
  EXPECT_EQ("New", ItemText(main_, IDC_NEW));
  EXPECT_EQ("Edit", ItemText(main_, IDC_EDIT));
  EXPECT_EQ("Delete", ItemText(main_, IDC_DELETE));
  EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(main_) == GetDlgItem(main_, IDC_CLOSE); }));

  const std::vector<std::string> expected = {"Adapter 0", "Adapter 10", "Adapter 2", "Adapter 7"};
  ASSERT_EQ(expected, ListLines(list_));
  EXPECT_EQ(LB_ERR, ListSelection(list_));
  // Each line carries the enumeration index of its key.
  const std::vector<std::string> keys = Subkeys(kService);
  const char* keyOfLine[] = {"Device0", "Device10", "LogicalDevice2", "device7"};
  for (int line = 0; line < 4; ++line) {
    const LRESULT index = ListItemData(list_, line);
    ASSERT_GE(index, 0);
    ASSERT_LT(static_cast<std::size_t>(index), keys.size());
    EXPECT_EQ(keyOfLine[line], keys[static_cast<std::size_t>(index)]) << "line " << line;
  }

  // The dialog is centred on the screen.
  RECT rect;
  GetWindowRect(main_, &rect);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2, rect.left);
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, rect.top);

  // Edit and Delete do nothing without a selection.
  EXPECT_TRUE(SendCommand(main_, IDC_EDIT));
  EXPECT_TRUE(SendCommand(main_, IDC_DELETE));
  EXPECT_EQ(1u, VisibleWindows(app_.pid()).size());
}

TEST_F(ConfigUi, NewPicksTheLowestFreeNumberAndSavesTheChosenType) {
  AddCatalog();
  AddAdapter("Device0", kVa85, 0);
  AddAdapter("LogicalDevice1", kVirtual, 1);
  Start();
  PostCommand(main_, IDC_NEW);
  HWND edit = Edit();
  ASSERT_NE(nullptr, edit);

  EXPECT_TRUE(KeyExists(Service("LogicalDevice2")));
  EXPECT_EQ(LineOf("Adapter 2"), ListSelection(list_));
  EXPECT_EQ("2", ItemText(edit, IDC_ADAPTER_NUMBER));
  HWND combo = GetDlgItem(edit, IDC_DEVICE_TYPE);
  EXPECT_EQ((std::vector<std::string>{kVa85, kVirtual, "Unknown"}), ComboLines(combo));
  EXPECT_EQ(2, ComboSelection(combo));
  EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(edit) == combo; }));

  // OK with the placeholder type is refused.
  PostCommand(edit, IDOK);
  MessageBoxInfo box;
  EXPECT_EQ(
      "The device can't be saved with an unknown device type.  Either select a different device type or "
      "select "
      "Cancel.",
      AnswerBox("Unknown Device Type", IDOK, &box));
  EXPECT_FALSE(box.yesNo);
  ASSERT_TRUE(IsWindowVisible(edit));

  // A physical type: the placeholder key of 2 is replaced by Device2.
  ConfirmComboLine(edit, IDC_DEVICE_TYPE, 0);
  EXPECT_TRUE(Save(edit, 2, true));
  EXPECT_FALSE(KeyExists(Service("LogicalDevice2")));
  EXPECT_EQ(2u, Dword(Service("Device2"), "AdapterNumber"));
  EXPECT_EQ(kVa85, String(Service("Device2"), "DeviceType"));
  // The demo plug-in's defaults for an empty key.
  EXPECT_EQ(1u, Dword(Service("Device2"), "NodeAddress"));
  EXPECT_EQ(5u, Dword(Service("Device2"), "Interrupt"));
  EXPECT_EQ((std::vector<std::string>{"Adapter 0", "Adapter 1", "Adapter 2"}), ListLines(list_));
  EXPECT_EQ(LB_ERR, ListSelection(list_));
}

TEST_F(ConfigUi, CancelledNewKeepsThePlaceholderAndNoAsksAgain) {
  AddCatalog();
  Start();
  PostCommand(main_, IDC_NEW);
  HWND edit = Edit();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ("0", ItemText(edit, IDC_ADAPTER_NUMBER));

  PostCommand(edit, IDCANCEL);
  MessageBoxInfo box;
  EXPECT_EQ(kExitText, AnswerBox(kExitCaption, IDNO, &box));
  EXPECT_TRUE(box.yesNo);
  ASSERT_TRUE(IsWindowVisible(edit));
  // The window close command asks the same question.
  PostMessageA(edit, WM_CLOSE, 0, 0);
  EXPECT_EQ(kExitText, AnswerBox(kExitCaption, IDYES));
  EXPECT_TRUE(WaitGone(edit));
  Sync(main_);

  EXPECT_TRUE(KeyExists(Service("LogicalDevice0")));
  EXPECT_TRUE(Subkeys(kService) == std::vector<std::string>{"LogicalDevice0"});
  EXPECT_EQ(std::vector<std::string>{"Adapter 0"}, ListLines(list_));
}

TEST_F(ConfigUi, NewWithAnEmptyCatalogueDoesNothing) {
  Start();
  ASSERT_TRUE(SendCommand(main_, IDC_NEW));
  EXPECT_EQ(nullptr, FindVisibleWindow(kEditTitle, app_.pid()));
  EXPECT_TRUE(Subkeys(kService).empty());
  EXPECT_TRUE(ListLines(list_).empty());
}

TEST_F(ConfigUi, EditWithAnEmptyCatalogueShowsTheDialogAgainOnOk) {
  AddAdapter("LogicalDevice4", kVirtual, 4);
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  HWND combo = GetDlgItem(edit, IDC_DEVICE_TYPE);
  EXPECT_TRUE(ComboLines(combo).empty());
  EXPECT_EQ(CB_ERR, ComboSelection(combo));
  PostCommand(edit, IDOK);
  // The type is not in the (empty) catalogue: shown again, no message.
  HWND again = nullptr;
  ASSERT_TRUE(veldra_test::PollUntil([&] {
    again = FindVisibleWindow(kEditTitle, app_.pid());
    return again != nullptr && again != edit;
  }));
  EXPECT_EQ(2u, VisibleWindows(app_.pid()).size());  // no message box
  EXPECT_TRUE(CancelEdit(again));
  EXPECT_EQ(kVirtual, String(Service("LogicalDevice4"), "DeviceType"));
}

TEST_F(ConfigUi, UpdateQuestionNoReturnsToTheDialogYesRewritesTheKey) {
  AddCatalog();
  AddAdapter("LogicalDevice3", kVirtual, 3);
  ASSERT_TRUE(SetString(Service("LogicalDevice3"), "Stale", "x"));
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(1, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));
  EXPECT_EQ("3", ItemText(edit, IDC_ADAPTER_NUMBER));

  PostCommand(edit, IDOK);
  EXPECT_EQ("Update Adapter 3?", AnswerBox(kUpdateCaption, IDNO));
  HWND again = Edit();
  ASSERT_NE(nullptr, again);
  EXPECT_TRUE(ValueExists(Service("LogicalDevice3"), "Stale"));

  EXPECT_TRUE(Save(again, 3, false));
  // A logical type: no restart notice, the key is written afresh.
  EXPECT_EQ(nullptr, FindVisibleWindow(kRestartCaption, app_.pid()));
  EXPECT_TRUE(KeyExists(Service("LogicalDevice3")));
  EXPECT_FALSE(ValueExists(Service("LogicalDevice3"), "Stale"));
  EXPECT_EQ(3u, Dword(Service("LogicalDevice3"), "AdapterNumber"));
}

TEST_F(ConfigUi, ChangedNumberWritesANewKeyAndKeepsTheOldOne) {
  HWND edit = EditLogical3();
  ASSERT_NE(nullptr, edit);
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, " 5 "));  // blanks around it are fine
  EXPECT_TRUE(Save(edit, kNoQuestion, false));
  EXPECT_TRUE(KeyExists(Service("LogicalDevice3")));
  EXPECT_EQ(5u, Dword(Service("LogicalDevice5"), "AdapterNumber"));
  EXPECT_EQ((std::vector<std::string>{"Adapter 3", "Adapter 5"}), ListLines(list_));
}

TEST_F(ConfigUi, LogicalToPhysicalReplacesTheKeyAfterTheRestartNotice) {
  HWND edit = EditLogical3();
  ASSERT_NE(nullptr, edit);
  ConfirmComboLine(edit, IDC_DEVICE_TYPE, 0);
  EXPECT_TRUE(Save(edit, 3, true));
  EXPECT_FALSE(KeyExists(Service("LogicalDevice3")));
  EXPECT_EQ(kVa85, String(Service("Device3"), "DeviceType"));
  EXPECT_EQ(1u, Dword(Service("Device3"), "NodeAddress"));  // the plug-in's default
  EXPECT_EQ(std::vector<std::string>{"Adapter 3"}, ListLines(list_));
}

TEST_F(ConfigUi, AdapterNumberIsValidatedWithTheProgramsMessages) {
  HWND edit = EditLogical3();
  ASSERT_NE(nullptr, edit);
  HWND field = GetDlgItem(edit, IDC_ADAPTER_NUMBER);

  // Leaving the field with text that is not a number.
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "12a"));
  PostCommand(edit, IDC_ADAPTER_NUMBER, EN_KILLFOCUS);
  MessageBoxInfo box = WaitMessageBox(kProgramName, app_.pid());
  ASSERT_NE(nullptr, box.hwnd);
  EXPECT_EQ("Please enter an integer.", box.text);
  EXPECT_EQ(nullptr, box.owner);
  EXPECT_FALSE(box.yesNo);
  // While the message is up the dialog's own controls are ignored: neither
  // handler opens anything.
  EXPECT_TRUE(SendCommand(edit, IDOK));
  EXPECT_TRUE(SendCommand(edit, IDCANCEL));
  EXPECT_EQ(3u, VisibleWindows(app_.pid()).size());
  EXPECT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(edit) == field; }));
  Sync(edit);
  EXPECT_EQ(MAKELONG(0, 3), SendMessageA(field, EM_GETSEL, 0, 0));

  struct Case {
    const char* text;
    const char* message;
  };
  const Case refused[] = {
      {"101", kRangeText},
      {"-1", kRangeText},  // the sign is accepted, the value is not
      {"", "Please enter an integer."},
      {"0x1", "Please enter an integer."},
  };
  for (const Case& c : refused) {
    ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, c.text));
    PostCommand(edit, IDOK);
    EXPECT_EQ(c.message, AnswerBox(kProgramName, IDOK)) << c.text;
    EXPECT_TRUE(IsWindowVisible(edit)) << c.text;
    EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(edit) == field; })) << c.text;
  }

  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "+7"));
  EXPECT_TRUE(Save(edit, kNoQuestion, false));
  EXPECT_EQ(7u, Dword(Service("LogicalDevice7"), "AdapterNumber"));
}

TEST_F(ConfigUi, StoredNumberOutOfRangeIsShownAndRefusedOnOk) {
  AddCatalog();
  AddAdapter("LogicalDevice3", kVirtual, 200);
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ("200", ItemText(edit, IDC_ADAPTER_NUMBER));
  PostCommand(edit, IDOK);
  EXPECT_EQ(kRangeText, AnswerBox(kProgramName, IDOK));
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "3"));
  EXPECT_TRUE(Save(edit, 3, false));
  EXPECT_EQ(3u, Dword(Service("LogicalDevice3"), "AdapterNumber"));
}

TEST_F(ConfigUi, StoredTypePrefixSelectsTheFullNameAndSavesIt) {
  AddCatalog();
  AddAdapter("Device4", "va85", 4);
  AddAdapter("LogicalDevice5", "", 5);
  Start();
  HWND edit = EditLine(LineOf("Adapter 5"));
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(0, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));  // empty type: the first row
  ASSERT_TRUE(CancelEdit(edit));
  Sync(main_);

  edit = EditLine(LineOf("Adapter 4"));
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(0, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));
  EXPECT_TRUE(Save(edit, 4, true));
  EXPECT_EQ(kVa85, String(Service("Device4"), "DeviceType"));
}

TEST_F(ConfigUi, DeleteAsksFirstAndRemovesTheSelectedKey) {
  AddAdapter("Device0", kVa85, 0);
  AddAdapter("LogicalDevice1", kVirtual, 1);
  Start();
  SelectListLine(main_, IDC_ADAPTER_LIST, 1);
  PostCommand(main_, IDC_DELETE);
  MessageBoxInfo box;
  EXPECT_EQ("Are you sure you want to delete this entry?", AnswerBox("Confirm Delete", IDNO, &box));
  EXPECT_TRUE(box.yesNo);
  EXPECT_EQ(main_, box.owner);
  Sync(main_);
  EXPECT_TRUE(KeyExists(Service("LogicalDevice1")));

  Delete(1, IDYES);
  EXPECT_FALSE(KeyExists(Service("LogicalDevice1")));
  EXPECT_TRUE(KeyExists(Service("Device0")));
  EXPECT_EQ(std::vector<std::string>{"Adapter 0"}, ListLines(list_));
  EXPECT_EQ(LB_ERR, ListSelection(list_));
}

TEST_F(ConfigUi, DeleteOfALineWhoseKeyMovedOnlyRefreshesTheList) {
  AddAdapter("Device1", kVa85, 1);
  AddAdapter("Device2", kVa85, 2);
  Start();
  // Behind the program's back a key that sorts first appears: the index
  // stored with "Adapter 1" now names Device0.
  AddAdapter("Device0", kVa85, 0);
  Delete(0, IDYES);
  EXPECT_TRUE(KeyExists(Service("Device0")));
  EXPECT_TRUE(KeyExists(Service("Device1")));
  EXPECT_TRUE(KeyExists(Service("Device2")));
  EXPECT_EQ((std::vector<std::string>{"Adapter 0", "Adapter 1", "Adapter 2"}), ListLines(list_));
}

TEST_F(ConfigUi, EditOfALineWhoseKeyMovedOnlyRefreshesTheList) {
  AddCatalog();
  AddAdapter("LogicalDevice1", kVirtual, 1);
  Start();
  // The index stored with "Adapter 1" now names Device0, whose settings must
  // not be shown (and then saved) as adapter 1's.
  AddAdapter("Device0", kVa85, 0);
  SelectListLine(main_, IDC_ADAPTER_LIST, 0);
  ASSERT_TRUE(SendCommand(main_, IDC_EDIT));
  EXPECT_EQ(nullptr, FindVisibleWindow(kEditTitle, app_.pid()));
  EXPECT_EQ((std::vector<std::string>{"Adapter 0", "Adapter 1"}), ListLines(list_));

  // After the refresh the line edits its own key.
  HWND edit = EditLine(LineOf("Adapter 1"));
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ("1", ItemText(edit, IDC_ADAPTER_NUMBER));
  EXPECT_EQ(1, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));  // Virtual Node
  EXPECT_TRUE(CancelEdit(edit));
}

TEST_F(ConfigUi, DeletingTheOnlyPhysicalAdapterThenClosingRemovesTheStartValues) {
  AddAdapter("Device0", kVa85, 0);
  AddAdapter("LogicalDevice1", kVirtual, 1);
  SetStartValues();
  Start();
  Delete(0, IDYES);
  ASSERT_FALSE(KeyExists(Service("Device0")));
  PostCommand(main_, IDC_CLOSE);
  EXPECT_EQ(1u, ExitCode());
  ExpectNoStartValues();
}

TEST_F(ConfigUi, EnterClosesAndSuppliesMissingStartValues) {
  AddAdapter("Device0", kVa85, 0);
  ASSERT_TRUE(SetDword(kService, "Start", 3));
  Start();
  PostKey(list_, VK_RETURN);
  EXPECT_EQ(1u, ExitCode());
  EXPECT_EQ(3u, Dword(kService, "Start"));
  EXPECT_EQ(1u, Dword(kService, "Type"));
  EXPECT_EQ(1u, Dword(kService, "ErrorControl"));
  EXPECT_EQ(0u, Dword(kService, "LogVersion"));
  EXPECT_EQ("Extended Base", String(kService, "Group"));
}

TEST_F(ConfigUi, EscapeEndsWithoutTouchingTheStartValues) {
  AddAdapter("LogicalDevice0", kVirtual, 0);
  ASSERT_TRUE(SetDword(kService, "Start", 2));
  Start();
  PostKey(list_, VK_ESCAPE);
  EXPECT_EQ(2u, ExitCode());
  EXPECT_TRUE(ValueExists(kService, "Start"));
}

TEST_F(ConfigUi, WindowCloseCommandRemovesStartValuesWithoutPhysicalAdapters) {
  AddAdapter("LogicalDevice0", kVirtual, 0);
  SetStartValues();
  Start();
  PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(1u, ExitCode());
  ExpectNoStartValues();
  EXPECT_TRUE(KeyExists(Service("LogicalDevice0")));
}

TEST_F(ConfigUi, EnterInEditDeviceDoesNothingAndAboutShowsTheBox) {
  AddCatalog();
  AddAdapter("Device0", kVa85, 0);
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(edit, IDC_DO_NOTHING)));
  EXPECT_EQ(kEditTitle, Text(edit));
  EXPECT_EQ("Setup", ItemText(edit, IDC_SETUP));
  EXPECT_EQ("About", ItemText(edit, ID_APP_ABOUT));

  // Enter on the number field presses the invisible default button. The
  // About click posted after it shows that the dialog is still there.
  PostKey(GetDlgItem(edit, IDC_ADAPTER_NUMBER), VK_RETURN);
  PostKey(GetDlgItem(edit, IDC_DEVICE_TYPE), VK_RETURN);
  PostCommand(edit, ID_APP_ABOUT);
  HWND about = WaitWindow("About", app_.pid());
  ASSERT_NE(nullptr, about);
  EXPECT_TRUE(IsWindowVisible(edit));
  EXPECT_TRUE(IsWindowEnabled(edit));  // the About box has no owner
  EXPECT_EQ(nullptr, GetWindow(about, GW_OWNER));
  EXPECT_EQ(nullptr, FindVisibleWindow(kProgramName, app_.pid()));
  PostCommand(about, IDOK);
  EXPECT_TRUE(WaitGone(about));

  // Escape in Edit Device is Cancel.
  PostKey(GetDlgItem(edit, IDC_DEVICE_TYPE), VK_ESCAPE);
  AnswerBox(kExitCaption, IDYES);
  EXPECT_TRUE(WaitGone(edit));
}

TEST_F(ConfigUi, AboutBoxTextsAndTheApplicationsAboutCommand) {
  Start();
  // No control sends it, but the application object handles the command.
  PostCommand(main_, ID_APP_ABOUT);
  HWND about = WaitWindow("About", app_.pid());
  ASSERT_NE(nullptr, about);
  std::vector<std::string> texts;
  for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(Text(child));
  }
  EXPECT_EQ((std::vector<std::string>{"Modbus Plus Driver Configuration", "Version 2.2", "OK"}), texts);
  EXPECT_EQ(IDOK, GetDlgCtrlID(GetDlgItem(about, IDOK)));
  RECT rect;
  GetWindowRect(about, &rect);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2, rect.left);
  PostKey(GetDlgItem(about, IDOK), VK_RETURN);
  EXPECT_TRUE(WaitGone(about));
}

TEST_F(ConfigUi, SetupRunsTheDemoPluginAndSavesWhatItReturns) {
  AddCatalog();
  AddAdapter("Device0", kVa85, 0);
  ASSERT_TRUE(SetDword(Service("Device0"), "NodeAddress", 9));
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  HWND settings = Setup(edit);
  ASSERT_NE(nullptr, settings);
  EXPECT_EQ("9", ItemText(settings, 101));
  EXPECT_EQ("5", ItemText(settings, 102));

  // While the plug-in's dialog runs, OK, Cancel, the close command and Setup
  // of Edit Device do nothing: each returns at once without a window.
  EXPECT_TRUE(SendCommand(edit, IDOK));
  EXPECT_TRUE(SendCommand(edit, IDCANCEL));
  EXPECT_TRUE(SendCommand(edit, IDC_SETUP));
  EXPECT_TRUE(SendMessageTimeoutA(edit, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, nullptr));
  EXPECT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(3u, VisibleWindows(app_.pid()).size());

  ASSERT_TRUE(SetItemText(settings, 101, "70"));
  PostCommand(settings, IDOK);
  EXPECT_EQ("The network node address must be a number from 1 to 64.",
            AnswerBox("VA85 Family Settings", IDOK, nullptr, settings));
  ASSERT_TRUE(SetItemText(settings, 101, "12"));
  ASSERT_TRUE(SetItemText(settings, 102, "7"));
  PostCommand(settings, IDOK);
  EXPECT_TRUE(WaitGone(settings));
  // Nothing is written before OK.
  EXPECT_EQ(9u, Dword(Service("Device0"), "NodeAddress"));

  EXPECT_TRUE(Save(edit, 0, true));
  EXPECT_EQ(12u, Dword(Service("Device0"), "NodeAddress"));
  EXPECT_EQ(7u, Dword(Service("Device0"), "Interrupt"));
}

TEST_F(ConfigUi, ConfirmingTheTypeAgainDiscardsUnsavedPluginChanges) {
  AddCatalog();
  AddAdapter("Device0", kVa85, 0);
  ASSERT_TRUE(SetDword(Service("Device0"), "NodeAddress", 9));
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  HWND settings = Setup(edit);
  ASSERT_NE(nullptr, settings);
  ASSERT_TRUE(SetItemText(settings, 101, "33"));
  PostCommand(settings, IDOK);
  ASSERT_TRUE(WaitGone(settings));

  ConfirmComboLine(edit, IDC_DEVICE_TYPE, 0);  // the type already selected
  settings = Setup(edit);
  ASSERT_NE(nullptr, settings);
  EXPECT_EQ("9", ItemText(settings, 101));
  PostCommand(settings, IDCANCEL);
  ASSERT_TRUE(WaitGone(settings));
  EXPECT_TRUE(CancelEdit(edit));
}

TEST_F(ConfigUi, SetupForTheUnknownTypeDoesNothing) {
  AddCatalog();
  Start();
  PostCommand(main_, IDC_NEW);
  HWND edit = Edit();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(2, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));
  ASSERT_TRUE(SendCommand(edit, IDC_SETUP));
  EXPECT_EQ(nullptr, FindVisibleWindow("VA85 Family Settings", app_.pid()));
  EXPECT_EQ(2u, VisibleWindows(app_.pid()).size());
  EXPECT_TRUE(CancelEdit(edit));
}

TEST_F(ConfigUi, AdapterListIgnoresClicksWhileEditDeviceIsOpenButNotEscape) {
  AddCatalog();
  AddAdapter("Device0", kVa85, 0);
  AddAdapter("LogicalDevice1", kVirtual, 1);
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  EXPECT_TRUE(IsWindowEnabled(main_));  // Edit Device has no owner

  // Each handler returns at once without opening anything.
  EXPECT_TRUE(SendCommand(main_, IDC_NEW));
  EXPECT_TRUE(SendCommand(main_, IDC_EDIT));
  EXPECT_TRUE(SendCommand(main_, IDC_ADAPTER_LIST, LBN_DBLCLK));
  SelectListLine(main_, IDC_ADAPTER_LIST, 1);
  EXPECT_TRUE(SendCommand(main_, IDC_DELETE));
  EXPECT_TRUE(SendCommand(main_, IDC_CLOSE));
  ASSERT_TRUE(SendMessageTimeoutA(main_, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, nullptr));
  EXPECT_EQ(2u, VisibleWindows(app_.pid()).size());
  EXPECT_TRUE(KeyExists(Service("LogicalDevice1")));
  EXPECT_FALSE(KeyExists(Service("LogicalDevice2")));
  EXPECT_FALSE(ValueExists(kService, "Start"));

  // Escape still ends the adapter list; the edit finishes first.
  PostKey(list_, VK_ESCAPE);
  EXPECT_TRUE(WaitGone(main_));
  EXPECT_TRUE(IsWindowVisible(edit));
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "6"));
  PostCommand(edit, IDOK);
  EXPECT_EQ(kRestartText, AnswerBox(kRestartCaption, IDOK));
  EXPECT_EQ(2u, ExitCode());
  EXPECT_TRUE(KeyExists(Service("Device6")));
  EXPECT_FALSE(ValueExists(kService, "Start"));
}

TEST_F(ConfigUi, DoubleClickEditsTheLineLikeTheEditButton) {
  AddCatalog();
  AddAdapter("LogicalDevice3", kVirtual, 3);
  AddAdapter("Device4", kVa85, 4);
  Start();
  SelectListLine(main_, IDC_ADAPTER_LIST, LineOf("Adapter 4"));
  PostCommand(main_, IDC_ADAPTER_LIST, LBN_DBLCLK);
  HWND edit = Edit();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ("4", ItemText(edit, IDC_ADAPTER_NUMBER));
  EXPECT_EQ(0, ComboSelection(GetDlgItem(edit, IDC_DEVICE_TYPE)));
  EXPECT_TRUE(CancelEdit(edit));
}

TEST_F(ConfigUi, TabOutOfABadNumberBringsTheFocusBackWithTheTextSelected) {
  HWND edit = EditLogical3();
  ASSERT_NE(nullptr, edit);
  HWND field = GetDlgItem(edit, IDC_ADAPTER_NUMBER);
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "101"));
  PostKey(GetDlgItem(edit, IDC_DEVICE_TYPE), VK_TAB);
  EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(edit) == field; }));
  PostKey(field, VK_TAB);
  EXPECT_EQ(kRangeText, AnswerBox(kProgramName, IDOK));
  EXPECT_TRUE(veldra_test::PollUntil([&] { return FocusOf(edit) == field; }));
  Sync(edit);
  EXPECT_EQ(MAKELONG(0, 3), SendMessageA(field, EM_GETSEL, 0, 0));

  // The question takes the focus from the field, so its text must pass first.
  ASSERT_TRUE(SetItemText(edit, IDC_ADAPTER_NUMBER, "3"));
  EXPECT_TRUE(CancelEdit(edit));
}

}  // namespace

// config.exe end to end, the Edit Device dialog: the save procedure's
// questions, the number checks, About and the plug-in's Setup.
#include "config_ui.h"

namespace {

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

// A key creation the registry refuses: below a volatile service key only
// volatile keys may be created, and the program creates lasting ones.
// (Wine neither checks the parent's rights on creation nor passes inheritable
// entries of a DACL on to a new key, so a DACL cannot refuse it there.)
TEST_F(ConfigUi, RefusedKeyCreationSaysNotSavedAndKeepsTheOldAdapter) {
  AddCatalog();
  ASSERT_TRUE(CreateVolatileKey(kService));
  ASSERT_TRUE(CreateVolatileKey(Service("LogicalDevice3")));
  AddAdapter("LogicalDevice3", kVirtual, 3);
  ASSERT_TRUE(SetString(Service("LogicalDevice3"), "Kept", "yes"));
  HWND edit = StartAndEdit(0);
  ASSERT_NE(nullptr, edit);
  ConfirmComboLine(edit, IDC_DEVICE_TYPE, 0);
  PostCommand(edit, IDOK);
  EXPECT_EQ("Update Adapter 3?", AnswerBox(kUpdateCaption, IDYES));
  MessageBoxInfo box;
  EXPECT_EQ("Adapter 3 could not be saved. Its previous settings are unchanged.",
            AnswerBox("Adapter Not Saved", IDOK, &box));
  EXPECT_EQ(main_, box.owner);
  EXPECT_EQ(nullptr, FindVisibleWindow(kRestartCaption, app_.pid()));
  // Back in Edit Device, and the registry holds adapter 3 as it was.
  HWND again = Edit();
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(std::vector<std::string>{"LogicalDevice3"}, Subkeys(kService));
  EXPECT_EQ(kVirtual, String(Service("LogicalDevice3"), "DeviceType"));
  EXPECT_EQ(3u, Dword(Service("LogicalDevice3"), "AdapterNumber"));
  EXPECT_EQ("yes", String(Service("LogicalDevice3"), "Kept"));
  EXPECT_TRUE(CancelEdit(again));
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

// config.exe end to end, the adapter list: lines, New, Delete, Close, Escape,
// and what the list does while Edit Device is open.
#include "config_ui.h"

namespace {

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

}  // namespace

// The four setup dialogs, driven through the real dialog manager from a
// helper thread: texts, buttons, Escape, the close command, the destination
// dialog's list, drive change and edit cut.
#include <gtest/gtest.h>

#include <map>

#include "env.h"
#include "expected_dialogs.h"
#include "tests/support/active_owner.h"

using hooktest::CallResult;
using hooktest::Click;
using hooktest::DialogDriver;
using hooktest::ItemText;
using hooktest::PressKey;
using hooktest::ShownTexts;
using hooktest::TheEnv;

namespace {

// What a driver body saw of a dialog, checked on the test thread afterwards.
struct Seen {
  bool found = false;
  std::string caption;
  std::vector<std::pair<int, std::string>> controls;  // id and text, in template order
  HWND owner = nullptr;
  bool centred = false;
  int focusId = 0;
  bool defaultButton1 = false;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  Seen* seen = reinterpret_cast<Seen*>(param);
  if (GetParent(child) == GetAncestor(child, GA_PARENT)) {
    seen->controls.emplace_back(GetDlgCtrlID(child), hooktest::WindowText(child));
  }
  return TRUE;
}

void Observe(HWND dialog, Seen* seen) {
  seen->found = true;
  seen->caption = hooktest::WindowText(dialog);
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(seen));
  seen->owner = GetWindow(dialog, GW_OWNER);
  RECT r;
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  seen->centred =
      r.left == (GetSystemMetrics(SM_CXSCREEN) - w) / 2 && r.top == (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus != nullptr) {
    seen->focusId = GetDlgCtrlID(info.hwndFocus);
  }
  HWND button1 = GetDlgItem(dialog, IDOK);
  seen->defaultButton1 = button1 != nullptr && (GetWindowLongA(button1, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
}

enum class Action { kButton1, kButton2, kEscape, kClose };

void Act(HWND dialog, Action action) {
  switch (action) {
    case Action::kButton1:
      Click(dialog, IDOK);
      break;
    case Action::kButton2:
      Click(dialog, IDCANCEL);
      break;
    case Action::kEscape:
      PressKey(dialog, VK_ESCAPE);
      break;
    case Action::kClose:
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

CallResult RunDialog(const hooktest::HookLibrary& lib, const char* name, const std::vector<std::string>& args,
                     const char* caption, Seen* seen, Action action) {
  DialogDriver driver(caption, [&](HWND dialog) {
    Observe(dialog, seen);
    Act(dialog, action);
  });
  return lib.Call(name, args);
}

TEST(Dialogs, WelcomeShowsTheCallersTextAndMapsEachEnding) {
  const struct {
    Action action;
    const char* text;
  } cases[] = {{Action::kButton1, "Success"},
               {Action::kButton2, "Cancel"},
               {Action::kEscape, "Cancel"},
               {Action::kClose, "Cancel"}};
  for (const auto& c : cases) {
    Seen seen;
    const CallResult r =
        RunDialog(*TheEnv().shipped, "DlgWelcome", {"Welcome to the set-up."}, "Welcome", &seen, c.action);
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(hooktest::Answer(r), c.text);
    EXPECT_EQ(seen.controls, ShownTexts(hooktest::kWelcome, {{IDC_WELCOME_TEXT, "Welcome to the set-up."}}));
    EXPECT_EQ(seen.owner, TheEnv().owner);
    EXPECT_TRUE(seen.centred);
    EXPECT_TRUE(seen.defaultButton1);
    EXPECT_EQ(seen.focusId, IDOK);
  }
}

TEST(Dialogs, OwnerIsTheWindowActiveAtLoadEvenWhenAnotherIsActiveNow) {
  HWND other = veldra_test::CreateActiveOwner("other");
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(GetActiveWindow(), other);
  Seen seen;
  const CallResult r = RunDialog(*TheEnv().shipped, "DlgWelcome", {"x"}, "Welcome", &seen, Action::kButton1);
  DestroyWindow(other);
  SetActiveWindow(TheEnv().owner);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(r.text, "Success");
  EXPECT_EQ(seen.owner, TheEnv().owner);
}

TEST(Dialogs, ExitSetupTakesAnyCountAndMapsEachEnding) {
  const struct {
    Action action;
    DWORD count;
    const char* text;
  } cases[] = {{Action::kButton1, 0, "Success"},
               {Action::kButton2, 5, "Cancel"},
               {Action::kEscape, 0, "Cancel"},
               {Action::kClose, 0, "Cancel"}};
  for (const auto& c : cases) {
    Seen seen;
    DialogDriver driver("Exit Setup", [&](HWND dialog) {
      Observe(dialog, &seen);
      Act(dialog, c.action);
    });
    const CallResult r = TheEnv().shipped->CallWithCount("DlgExit", c.count, {"a", "b", "c", "d", "e"});
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(hooktest::Answer(r), c.text);
    EXPECT_EQ(seen.controls, ShownTexts(hooktest::kExitSetup));
    EXPECT_TRUE(seen.centred);
    EXPECT_TRUE(seen.defaultButton1);
  }
}

TEST(Dialogs, IncompleteInstallEndsWithSuccessAndIgnoresEscape) {
  for (Action action : {Action::kButton1, Action::kClose}) {
    Seen seen;
    const CallResult r =
        RunDialog(*TheEnv().shipped, "DlgFail", {}, "Incomplete Installation", &seen, action);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(hooktest::Answer(r), "Success");
    EXPECT_EQ(seen.controls, ShownTexts(hooktest::kIncompleteInstall));
    EXPECT_FALSE(seen.defaultButton1);
    EXPECT_TRUE(seen.centred);
  }
  // Escape asks for button 2, which this dialog does not have.
  bool openAfterEscape = false;
  DialogDriver driver("Incomplete Installation", [&](HWND dialog) {
    PressKey(dialog, VK_ESCAPE);
    Sleep(300);
    openAfterEscape = IsWindowVisible(dialog) != FALSE;
    Click(dialog, IDOK);
  });
  const CallResult r = TheEnv().shipped->CallWithCount("DlgFail", 2, {"x", "y"});
  ASSERT_TRUE(driver.Found());
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(r.text, "Success");
}

// Free space as the seam library sees it: per drive letter, or a failure.
struct FakeDisks {
  struct Disk {
    DWORD sectorsPerCluster, bytesPerSector, freeClusters;
  };
  static std::map<char, Disk> disks;
  static std::vector<std::string> queries;
  static BOOL WINAPI Query(LPCSTR root, LPDWORD spc, LPDWORD bps, LPDWORD freeClusters, LPDWORD total) {
    queries.push_back(root != nullptr ? root : "<null>");
    auto it = disks.find(root != nullptr ? root[0] : '\0');
    if (it == disks.end()) return FALSE;
    *spc = it->second.sectorsPerCluster;
    *bps = it->second.bytesPerSector;
    *freeClusters = it->second.freeClusters;
    *total = it->second.freeClusters * 2;
    return TRUE;
  }
};
std::map<char, FakeDisks::Disk> FakeDisks::disks;
std::vector<std::string> FakeDisks::queries;

class Destination : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    cwd_ = cwd;
    // 8 GiB free on C: (a 32-bit product would wrap to 0), 1000 MB on z:.
    FakeDisks::disks = {{'C', {8, 512, 2u << 20}}, {'z', {1, 4096, 256000}}};
    FakeDisks::queries.clear();
    TheEnv().platform->getDiskFreeSpace = FakeDisks::Query;
  }
  void TearDown() override { SetCurrentDirectoryA(cwd_.c_str()); }

  std::string cwd_;
  hooktest::PlatformGuard guard_;
};

std::vector<std::string> ListEntries(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_DEST_LIST);
  std::vector<std::string> entries;
  const LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    char text[300] = "";
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

bool Contains(const std::vector<std::string>& v, const char* s) {
  for (const std::string& e : v) {
    if (lstrcmpiA(e.c_str(), s) == 0) return true;
  }
  return false;
}

// Selects a list entry and sends the notification the list box would.
bool SelectEntry(HWND dialog, const char* entry, WORD notification = LBN_SELCHANGE) {
  HWND list = GetDlgItem(dialog, IDC_DEST_LIST);
  const LRESULT index =
      SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
  if (index == LB_ERR) return false;
  SendMessageA(list, LB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEST_LIST, notification), reinterpret_cast<LPARAM>(list));
  return true;
}

TEST_F(Destination, ShowsDefaultsAndListsTheDriveRoot) {
  const std::string defaultDir = hooktest::TempDir() + "target";
  ASSERT_TRUE(CreateDirectoryA(defaultDir.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((defaultDir + "\\markerdir").c_str(), nullptr));
  Seen seen;
  std::vector<std::string> entries;
  DialogDriver driver("Destination Directory", [&](HWND dialog) {
    Observe(dialog, &seen);
    entries = ListEntries(dialog);
    Click(dialog, IDCANCEL);
  });
  const CallResult r = TheEnv().seam->Call("DlgDestination", {defaultDir, "12"});
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(hooktest::Answer(r), "Cancel");
  EXPECT_EQ(seen.controls, ShownTexts(hooktest::kDestination, {{IDC_DEST_PATH, defaultDir},
                                                               {IDC_DEST_REQUIRED, "12"},
                                                               {IDC_DEST_AVAILABLE, "8192"}}));
  EXPECT_TRUE(seen.centred);
  EXPECT_TRUE(seen.defaultButton1);
  EXPECT_EQ(seen.focusId, IDOK);  // the first tab stop in template order
  // The root of the default directory's drive, directories and drives only.
  EXPECT_TRUE(Contains(entries, "[windows]"));
  EXPECT_TRUE(Contains(entries, "[-c-]"));
  EXPECT_FALSE(Contains(entries, "[markerdir]"));
  for (const std::string& e : entries) EXPECT_EQ(e.front(), '[') << e;
  EXPECT_EQ(FakeDisks::queries, std::vector<std::string>{"C:\\"});
}

TEST_F(Destination, OkReturnsTheTypedDirectoryCutTo127Characters) {
  const std::string typed(200, 'p');
  const struct {
    std::string typed;
    std::string result;
  } cases[] = {{"D:\\ZOVORO", "D:\\ZOVORO"}, {typed, typed.substr(0, 127)}, {"Cancel", "Cancel"}};
  for (const auto& c : cases) {
    DialogDriver driver("Destination Directory", [&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_DEST_PATH, c.typed.c_str());
      Click(dialog, IDOK);
    });
    const CallResult r = TheEnv().seam->Call("DlgDestination", {"C:\\ZOVORO", "5"});
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(hooktest::Answer(r), c.result);
  }
}

TEST_F(Destination, CancelEscapeAndCloseAllCancel) {
  for (Action action : {Action::kButton2, Action::kEscape, Action::kClose}) {
    Seen seen;
    const CallResult r = RunDialog(*TheEnv().shipped, "DlgDestination", {"C:\\ZOVORO", "5"},
                                   "Destination Directory", &seen, action);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(hooktest::Answer(r), "Cancel");
  }
}

TEST_F(Destination, EmptyDestinationIsRefusedWithAMessage) {
  bool boxFound = false;
  std::string boxCaption, boxText;
  bool okOnly = false;
  bool stopIcon = false;
  bool stillOpen = false;
  DialogDriver driver("Destination Directory", [&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DEST_PATH, "");
    Click(dialog, IDOK);
    HWND box = hooktest::WaitForDialog(GetWindowThreadProcessId(dialog, nullptr), nullptr, dialog);
    if (box == nullptr) return;
    boxFound = true;
    boxCaption = hooktest::WindowText(box);
    boxText = ItemText(box, 0xFFFF);
    okOnly = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
             GetDlgItem(box, IDYES) == nullptr;
    HWND icon = GetDlgItem(box, 1088);
    stopIcon = icon != nullptr &&
               reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)) == LoadIcon(nullptr, IDI_HAND);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    hooktest::WaitGone(box);
    Sleep(100);
    stillOpen = IsWindowVisible(dialog) != FALSE;
    SetDlgItemTextA(dialog, IDC_DEST_PATH, "E:\\After");
    Click(dialog, IDOK);
  });
  const CallResult r = TheEnv().shipped->Call("DlgDestination", {"C:\\ZOVORO", "5"});
  ASSERT_TRUE(driver.Found());
  ASSERT_TRUE(boxFound);
  EXPECT_EQ(boxText, "Must enter a destination.");
  EXPECT_EQ(boxCaption, "Error");
  EXPECT_TRUE(okOnly);
  EXPECT_TRUE(stopIcon);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(r.text, "E:\\After");
}

TEST_F(Destination, ListMovesIntoDirectoriesAndDrivesUpdateTheFigure) {
  struct Step {
    bool selected = false;
    std::string path, available;
    std::vector<std::string> entries;
  };
  Step intoWindows, toZ, toC, focusAgain;
  std::string initialAvailable;
  std::vector<std::string> queriesAfterWindows;
  DialogDriver driver("Destination Directory", [&](HWND dialog) {
    initialAvailable = ItemText(dialog, IDC_DEST_AVAILABLE);
    auto record = [&](Step* s, const char* entry, WORD notification) {
      s->selected = SelectEntry(dialog, entry, notification);
      s->path = ItemText(dialog, IDC_DEST_PATH);
      s->available = ItemText(dialog, IDC_DEST_AVAILABLE);
      s->entries = ListEntries(dialog);
    };
    record(&intoWindows, "[windows]", LBN_SELCHANGE);
    queriesAfterWindows = FakeDisks::queries;
    record(&toZ, "[-z-]", LBN_DBLCLK);
    record(&toC, "[-c-]", LBN_SELCHANGE);
    // Tab through the list: focus notifications with nothing selected keep
    // the typed destination and the list.
    SetDlgItemTextA(dialog, IDC_DEST_PATH, "D:\\Typed Here");
    HWND list = GetDlgItem(dialog, IDC_DEST_LIST);
    for (WORD notification : {LBN_SETFOCUS, LBN_KILLFOCUS}) {
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEST_LIST, notification),
                   reinterpret_cast<LPARAM>(list));
    }
    focusAgain.available = ItemText(dialog, IDC_DEST_AVAILABLE);
    focusAgain.path = ItemText(dialog, IDC_DEST_PATH);
    focusAgain.entries = ListEntries(dialog);
    Click(dialog, IDCANCEL);
  });
  const CallResult r = TheEnv().seam->Call("DlgDestination", {"C:\\ZOVORO", "5"});
  ASSERT_TRUE(driver.Found());
  EXPECT_EQ(r.text, "Cancel");
  EXPECT_EQ(initialAvailable, "8192");
  // A directory entry: the list moves in; drive and figure stay.
  ASSERT_TRUE(intoWindows.selected);
  EXPECT_EQ(lstrcmpiA(intoWindows.path.c_str(), "C:\\windows"), 0) << intoWindows.path;
  EXPECT_TRUE(Contains(intoWindows.entries, "[system32]"));
  EXPECT_EQ(intoWindows.available, "8192");
  EXPECT_EQ(queriesAfterWindows, std::vector<std::string>{"C:\\"});
  // Another drive that can be queried updates the figure...
  ASSERT_TRUE(toZ.selected);
  EXPECT_EQ(toZ.available, "1000");
  EXPECT_EQ(lstrcmpiA(toZ.path.substr(0, 2).c_str(), "z:"), 0) << toZ.path;
  // ...one that cannot leaves it.
  ASSERT_TRUE(toC.selected);
  EXPECT_EQ(toC.available, "1000");
  EXPECT_EQ(lstrcmpiA(toC.path.substr(0, 2).c_str(), "c:"), 0) << toC.path;
  EXPECT_EQ(focusAgain.available, "1000");
  EXPECT_EQ(focusAgain.path, "D:\\Typed Here");
  EXPECT_EQ(focusAgain.entries, toC.entries);
  EXPECT_EQ(FakeDisks::queries, (std::vector<std::string>{"C:\\", "z:\\", "c:\\"}));

  // A later dialog on a drive that cannot be queried shows the last figure.
  Seen seen;
  RunDialog(*TheEnv().seam, "DlgDestination", {"Q:\\ZOVORO", "5"}, "Destination Directory", &seen,
            Action::kButton2);
  ASSERT_TRUE(seen.found);
  std::string available;
  for (const auto& c : seen.controls) {
    if (c.first == IDC_DEST_AVAILABLE) available = c.second;
  }
  EXPECT_EQ(available, "1000");
}

}  // namespace

namespace {

// A dialog that cannot be created: the platform answers -1, or 0 without the
// dialog ever starting (its answer for an invalid owner).
INT_PTR WINAPI FailWithMinusOne(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }
INT_PTR WINAPI FailWithZero(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return 0; }

TEST(Dialogs, ADialogThatCannotRunIsReportedAsSuch) {
  hooktest::PlatformGuard guard;
  for (auto fake : {FailWithMinusOne, FailWithZero}) {
    TheEnv().platform->dialogBox = fake;
    const CallResult welcome = TheEnv().seam->Call("DlgWelcome", {"text"});
    EXPECT_EQ(welcome.flag, FALSE);
    EXPECT_EQ(welcome.text, "Exit");
    const CallResult destination = TheEnv().seam->Call("DlgDestination", {"C:\\ZOVORO", "5"});
    EXPECT_EQ(destination.flag, FALSE);
    EXPECT_EQ(destination.text, "Exit");
    for (const char* name : {"DlgExit", "DlgFail"}) {
      const CallResult r = TheEnv().seam->Call(name, {});
      EXPECT_EQ(r.flag, FALSE) << name;
      EXPECT_EQ(r.text, "An unknown error has occurred") << name;
    }
  }
}

}  // namespace


#include "logic.h"
#include "resource.h"
#include "setuphook.h"

using namespace setuphook;

namespace {

// The destination dialog's state, kept for the library's lifetime: the drive
// whose free space is shown with the counts last queried for it, the path
// the list shows, and the destination chosen.
struct {
  char driveRoot[4] = "C:\\";
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  char listPath[128];
  char destination[128];
} g_dest;

// Set when a dialog reaches its initialisation. The platform reports a dialog
// that could not be created for an invalid owner with the same 0 as a cancel;
// a dialog that never started has failed to run, whatever the code says.
bool g_dialogStarted = false;

const DWORD kDirListAttributes = DDL_DIRECTORY | DDL_DRIVES | DDL_EXCLUSIVE;  // 0xC010
const UINT kMustEnterStyle = MB_ICONSTOP;                                     // 0x10

void CenterDialog(HWND dialog) {
  RECT rect;
  GetWindowRect(dialog, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const Point at =
      CenterPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
  MoveWindow(dialog, at.x, at.y, width, height, FALSE);
}

// A failed query keeps the counts of the last one that succeeded.
bool QueryFreeSpace() {
  DWORD sectors, bytes, freeClusters, totalClusters;
  if (!g_platform.getDiskFreeSpace(g_dest.driveRoot, &sectors, &bytes, &freeClusters, &totalClusters))
    return false;
  g_dest.sectorsPerCluster = sectors;
  g_dest.bytesPerSector = bytes;
  g_dest.freeClusters = freeClusters;
  return true;
}

void ShowAvailable(HWND dialog) {
  const DWORD megabytes =
      AvailableMegabytes(g_dest.bytesPerSector, g_dest.sectorsPerCluster, g_dest.freeClusters);
  veldra::FixedText<16> text;
  text.AppendNumber(megabytes);
  SetDlgItemTextA(dialog, IDC_DEST_AVAILABLE, text.c_str());
}

void FillDirectoryList(HWND dialog, const char* path) {
  lstrcpynA(g_dest.listPath, path, sizeof g_dest.listPath);
  DlgDirListA(dialog, g_dest.listPath, IDC_DEST_LIST, IDC_DEST_PATH, kDirListAttributes);
}

void InitDestination(HWND dialog, LPSTR* args) {
  g_dest.driveRoot[0] = args[0][0];
  QueryFreeSpace();
  FillDirectoryList(dialog, g_dest.driveRoot);
  SetDlgItemTextA(dialog, IDC_DEST_PATH, args[0]);
  SetDlgItemTextA(dialog, IDC_DEST_REQUIRED, args[1]);
  ShowAvailable(dialog);
}

void OnDestinationOk(HWND dialog) {
  GetDlgItemTextA(dialog, IDC_DEST_PATH, g_dest.destination, sizeof g_dest.destination);
  if (g_dest.destination[0] == '\0') {
    MessageBoxA(dialog, "Must enter a destination.", nullptr, kMustEnterStyle);
    return;
  }
  EndDialog(dialog, 1);
}

// A notification acts on the entry selected at that moment. With none
// selected (as after every refill, when the list gains or loses the keyboard
// focus on the way between the edit box and the buttons) it does nothing:
// refilling from the last selection would replace the destination typed or
// given as the default with the process's current directory.
void OnDestinationList(HWND dialog) {
  if (SendDlgItemMessageA(dialog, IDC_DEST_LIST, LB_GETCURSEL, 0, 0) == LB_ERR) return;
  DlgDirSelectExA(dialog, g_dest.destination, sizeof g_dest.destination, IDC_DEST_LIST);
  FillDirectoryList(dialog, g_dest.destination);
  if (IsDriveSelection(g_dest.destination) && g_dest.destination[0] != g_dest.driveRoot[0]) {
    g_dest.driveRoot[0] = g_dest.destination[0];
    if (QueryFreeSpace()) ShowAvailable(dialog);
  }
}

INT_PTR CALLBACK DestinationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      g_dialogStarted = true;
      CenterDialog(dialog);
      InitDestination(dialog, reinterpret_cast<LPSTR*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnDestinationOk(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        case IDC_DEST_LIST:
          OnDestinationList(dialog);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

// The three simple dialogs differ only in what their buttons and the close
// command end with; -1 marks a command the dialog does not have.
struct SimpleDialog {
  INT_PTR onButton1;
  INT_PTR onButton2;
  INT_PTR onClose;
};
const SimpleDialog kContinueOrExit = {1, 0, 0};  // Welcome and Exit Setup
const SimpleDialog kIncompleteInstall = {1, -1, 1};

INT_PTR CALLBACK SimpleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const SimpleDialog& d,
                            int textControl) {
  switch (message) {
    case WM_INITDIALOG:
      g_dialogStarted = true;
      CenterDialog(dialog);
      if (textControl != 0) SetDlgItemTextA(dialog, textControl, reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case WM_COMMAND: {
      const INT_PTR code = LOWORD(wParam) == IDOK       ? d.onButton1
                           : LOWORD(wParam) == IDCANCEL ? d.onButton2
                                                        : -1;
      if (code < 0) return FALSE;
      EndDialog(dialog, code);
      return TRUE;
    }
    case WM_CLOSE:
      EndDialog(dialog, d.onClose);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK WelcomeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return SimpleProc(dialog, message, wParam, lParam, kContinueOrExit, IDC_WELCOME_TEXT);
}
INT_PTR CALLBACK ExitSetupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return SimpleProc(dialog, message, wParam, lParam, kContinueOrExit, 0);
}
INT_PTR CALLBACK IncompleteInstallProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return SimpleProc(dialog, message, wParam, lParam, kIncompleteInstall, 0);
}

BOOL RunDialog(DialogKind kind, int templateId, DLGPROC proc, LPARAM param) {
  g_dialogStarted = false;
  INT_PTR endCode =
      g_platform.dialogBox(g_instance, MAKEINTRESOURCEA(templateId), g_parentWindow, proc, param);
  if (!g_dialogStarted) endCode = -1;
  const DialogResult r = MapEndCode(kind, endCode);
  // The result text of each outcome, in the order of Outcome.
  static const UINT kOutcomeText[] = {IDS_SUCCESS, IDS_CANCEL, IDS_EXIT, IDS_UNKNOWN_ERROR};
  if (r.outcome == Outcome::kChosenDirectory) {
    lstrcpynA(g_resultText, g_dest.destination, kResultTextSize);
  } else {
    SetResult(kOutcomeText[static_cast<int>(r.outcome)]);
  }
  return r.flag ? TRUE : FALSE;
}

}  // namespace

SETUPHOOK_EXPORT DlgWelcome(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, true, count, 1)) return FALSE;
  return RunDialog(DialogKind::kWelcome, IDD_WELCOME, WelcomeProc, reinterpret_cast<LPARAM>(args[0]));
}

SETUPHOOK_EXPORT DlgDestination(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, true, count, 2)) return FALSE;
  return RunDialog(DialogKind::kDestination, IDD_DESTINATION, DestinationProc,
                   reinterpret_cast<LPARAM>(args));
}

SETUPHOOK_EXPORT DlgExit(DWORD count, LPSTR*, LPSTR* result) {
  if (!BeginCall(result, true, count, kAnyCount)) return FALSE;
  return RunDialog(DialogKind::kExitSetup, IDD_EXIT_SETUP, ExitSetupProc, 0);
}

SETUPHOOK_EXPORT DlgFail(DWORD count, LPSTR*, LPSTR* result) {
  if (!BeginCall(result, true, count, kAnyCount)) return FALSE;
  return RunDialog(DialogKind::kIncompleteInstall, IDD_INCOMPLETE_INSTALL, IncompleteInstallProc, 0);
}

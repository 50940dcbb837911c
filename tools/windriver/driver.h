// Drives the programs' windows from another process the way a user would:
// finds windows by title, acts on controls by id or caption, reads texts back
// and answers message boxes. Every wait is bounded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cfgtest {

// A Unix path of the build tree as Wine sees it (drive Z:).
std::string WinPath(const std::string& unixPath);

class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Start(const std::string& exe);
  // True when the process ended within `ms`; its exit code in *code.
  bool WaitExit(DWORD ms, DWORD* code);
  void Kill();
  DWORD pid() const { return pid_; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A visible top-level window of process `pid` (0: any) with exactly this
// title, waited for up to `ms`; null when none appeared.
HWND WaitWindow(const std::string& title, DWORD pid, DWORD ms = 10000);
// The same without waiting.
HWND FindVisibleWindow(const std::string& title, DWORD pid);
// True when `window` is destroyed or hidden within `ms`.
bool WaitGone(HWND window, DWORD ms = 10000);
// Visible top-level windows of the process.
std::vector<HWND> VisibleWindows(DWORD pid);

std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
bool SetItemText(HWND dialog, int id, const std::string& text);
// The id of the visible control whose caption, without its '&' marks, is
// `caption`; -1 when there is none.
int ControlByCaption(HWND dialog, const std::string& caption);

// Posts WM_COMMAND with the notification the control would send; returns at
// once (for commands that open a modal window).
void PostCommand(HWND dialog, int id, int code = BN_CLICKED);
// Sends it and waits up to `ms` for the handler to return; false on timeout
// (the handler opened a modal window, say).
bool SendCommand(HWND dialog, int id, int code = BN_CLICKED, DWORD ms = 10000);
// WM_KEYDOWN and WM_KEYUP of a virtual key, posted to `target`.
void PostKey(HWND target, int vk);

std::vector<std::string> ListLines(HWND list);
int ListSelection(HWND list);
LRESULT ListItemData(HWND list, int index);
// LB_SETCURSEL followed by the LBN_SELCHANGE the list box would send.
void SelectListLine(HWND dialog, int listId, int index);

std::vector<std::string> ComboLines(HWND combo);
int ComboSelection(HWND combo);
// CB_SETCURSEL followed by the CBN_SELENDOK of a confirmed choice (posted).
void ConfirmComboLine(HWND dialog, int comboId, int index);

// The window with the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string text;
  HWND owner = nullptr;
  bool yesNo = false;  // Yes and No buttons rather than OK
};
// A message box of the process with this caption, other than `exclude` (a
// dialog of the same caption); hwnd null if none came.
MessageBoxInfo WaitMessageBox(const std::string& caption, DWORD pid, DWORD ms = 10000,
                              HWND exclude = nullptr);
// Presses a button of a message box (IDOK, IDYES, IDNO) and waits until it is gone.
bool Answer(const MessageBoxInfo& box, int id);

}  // namespace cfgtest

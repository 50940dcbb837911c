#include "driver.h"

#include <algorithm>

#include "poll.h"

namespace cfgtest {

namespace {

constexpr DWORD kSendTimeout = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeout, &result)) return -1;
  return static_cast<LRESULT>(result);
}

struct FindData {
  const std::string* title;
  DWORD pid;
  HWND found;
  std::vector<HWND>* all;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (data->pid != 0 && pid != data->pid) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  if (data->all != nullptr) {
    data->all->push_back(window);
    return TRUE;
  }
  if (Text(window) == *data->title) {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK StaticTextProc(HWND child, LPARAM param) {
  char cls[16] = {};
  GetClassNameA(child, cls, sizeof cls);
  auto* text = reinterpret_cast<std::string*>(param);
  if (lstrcmpiA(cls, "Static") == 0) {
    std::string t = Text(child);
    if (!t.empty()) {
      *text = t;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

std::string WinPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

Process::~Process() { Kill(); }

bool Process::Start(const std::string& exe) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  return true;
}

bool Process::WaitExit(DWORD ms, DWORD* code) {
  if (process_ == nullptr) return false;
  if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
  if (code != nullptr) GetExitCodeProcess(process_, code);
  return true;
}

void Process::Kill() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

HWND FindVisibleWindow(const std::string& title, DWORD pid) {
  FindData data{&title, pid, nullptr, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

HWND WaitWindow(const std::string& title, DWORD pid, DWORD ms) {
  HWND window = nullptr;
  veldra_test::PollUntil([&] { return (window = FindVisibleWindow(title, pid)) != nullptr; }, ms);
  return window;
}

bool WaitGone(HWND window, DWORD ms) {
  return veldra_test::PollUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

std::vector<HWND> VisibleWindows(DWORD pid) {
  std::vector<HWND> all;
  std::string none;
  FindData data{&none, pid, nullptr, &all};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
  return all;
}

std::string Text(HWND window) {
  char buffer[512] = {};
  if (Send(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)) < 0) return std::string();
  return buffer;
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

int ControlByCaption(HWND dialog, const std::string& caption) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;  // Edit Device's hidden default button
    std::string text = Text(child);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    if (text == caption) return GetDlgCtrlID(child);
  }
  return -1;
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
  return Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == TRUE;
}

void PostCommand(HWND dialog, int id, int code) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SendCommand(HWND dialog, int id, int code, DWORD ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)), SMTO_NORMAL, ms, &result) != 0;
}

void PostKey(HWND target, int vk) {
  PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
  PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
}

// Wine marshals the text of LB_GETTEXT and CB_GETLBTEXT across processes
// as UTF-16 whatever the caller's character set, so ask for it that way. The
// control writes the whole line, so a line longer than the buffer is not read.
std::string LineText(HWND control, UINT lengthMessage, UINT message, WPARAM index) {
  wchar_t wide[256] = {};
  const LRESULT length = Send(control, lengthMessage, index, 0);
  if (length < 0 || length >= static_cast<LRESULT>(sizeof wide / sizeof wide[0])) return "<unreadable line>";
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, message, index, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, kSendTimeout,
                           &result)) {
    return std::string();
  }
  char text[512] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

// Every line of a list box or of a combo box's list.
std::vector<std::string> Lines(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::string> lines;
  const LRESULT count = Send(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    lines.push_back(LineText(control, lengthMessage, textMessage, static_cast<WPARAM>(i)));
  return lines;
}

std::vector<std::string> ListLines(HWND list) { return Lines(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }

int ListSelection(HWND list) { return static_cast<int>(Send(list, LB_GETCURSEL, 0, 0)); }

LRESULT ListItemData(HWND list, int index) {
  return Send(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

void SelectListLine(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendCommand(dialog, listId, LBN_SELCHANGE);
}

std::vector<std::string> ComboLines(HWND combo) {
  return Lines(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboSelection(HWND combo) { return static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0)); }

void ConfirmComboLine(HWND dialog, int comboId, int index) {
  Send(GetDlgItem(dialog, comboId), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostCommand(dialog, comboId, CBN_SELENDOK);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

MessageBoxInfo WaitMessageBox(const std::string& caption, DWORD pid, DWORD ms, HWND exclude) {
  MessageBoxInfo box;
  veldra_test::PollUntil(
      [&] {
        HWND window = nullptr;
        for (HWND w : VisibleWindows(pid)) {
          if (w != exclude && Text(w) == caption) window = w;
        }
        char cls[16] = {};
        if (window != nullptr) GetClassNameA(window, cls, sizeof cls);
        if (window != nullptr && lstrcmpA(cls, "#32770") == 0) {
          std::string text;
          EnumChildWindows(window, StaticTextProc, reinterpret_cast<LPARAM>(&text));
          // The box may be found before its text is set.
          if (!text.empty()) {
            box.hwnd = window;
            box.text = text;
            box.owner = GetWindow(window, GW_OWNER);
            box.yesNo = GetDlgItem(window, IDYES) != nullptr && GetDlgItem(window, IDNO) != nullptr;
            return true;
          }
        }
        return false;
      },
      ms);
  return box;
}

bool Answer(const MessageBoxInfo& box, int id) {
  if (box.hwnd == nullptr) return false;
  PostCommand(box.hwnd, id, BN_CLICKED);
  return WaitGone(box.hwnd);
}

}  // namespace cfgtest

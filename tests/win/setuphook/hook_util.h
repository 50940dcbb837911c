// Helpers for the setuphook.dll tests: calling exports the way the setup
// interpreter does, and driving the library's modal dialogs from a second
// thread with bounded waits.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace hooktest {

struct CallResult {
  BOOL flag;
  std::string text;
  LPSTR address;  // what the export stored through its result argument
};

// An export and the argument count to call it with.
struct NamedCount {
  const char* name;
  DWORD count;
};

// The text of a call that returned TRUE; a FALSE flag shows in front of it.
inline std::string Answer(const CallResult& r) { return r.flag == TRUE ? r.text : "FALSE " + r.text; }

class HookLibrary {
 public:
  explicit HookLibrary(const char* fileName);
  ~HookLibrary();
  HookLibrary(const HookLibrary&) = delete;
  HookLibrary& operator=(const HookLibrary&) = delete;

  HMODULE module() const { return module_; }
  CallResult Call(const char* exportName, const std::vector<std::string>& args) const;
  // Calls with a count that differs from the number of strings passed.
  CallResult CallWithCount(const char* exportName, DWORD count, const std::vector<std::string>& args) const;

 private:
  HMODULE module_;
};

// Reads a window's text (works across threads of this process).
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);

// Waits (bounded) for a dialog of the given thread with that caption; with
// `owner` set, only a window owned by it counts.
HWND WaitForDialog(DWORD threadId, const char* caption, HWND owner = nullptr, DWORD timeoutMs = 10000);

// Starts `body` on a helper thread once a dialog with `caption` belonging to
// the calling thread appears; the calling thread then runs the modal dialog.
// If the dialog never appears, or `body` leaves it open, every dialog of the
// calling thread is closed so that the test fails instead of hanging.
class DialogDriver {
 public:
  // An empty caption stands for any dialog.
  DialogDriver(const char* caption, std::function<void(HWND)> body, DWORD timeoutMs = 10000);
  ~DialogDriver();  // joins the helper thread (bounded)
  bool Found() const { return found_; }

 private:
  static DWORD WINAPI Run(LPVOID self);
  std::string caption_;
  std::function<void(HWND)> body_;
  DWORD ownerThread_;
  DWORD timeoutMs_;
  HANDLE thread_;
  std::atomic<bool> found_{false};
};

// Posts a key press to the control that has the focus in `dialog`.
void PressKey(HWND dialog, WPARAM key);
// Posts a click on a dialog button.
void Click(HWND dialog, int id);
// Waits (bounded) until the window is gone.
bool WaitGone(HWND window, DWORD timeoutMs = 5000);

std::string TempDir();  // a fresh directory for this test program, trailing backslash

}  // namespace hooktest

#include "hook_util.h"

#include <cstdio>

#include "tools/windriver/poll.h"

namespace hooktest {

typedef BOOL(WINAPI* SetupCallFn)(DWORD, LPSTR*, LPSTR*);

HookLibrary::HookLibrary(const char* fileName) : module_(LoadLibraryA(fileName)) {}

HookLibrary::~HookLibrary() {
  if (module_ != nullptr) FreeLibrary(module_);
}

CallResult HookLibrary::Call(const char* exportName, const std::vector<std::string>& args) const {
  return CallWithCount(exportName, static_cast<DWORD>(args.size()), args);
}

CallResult HookLibrary::CallWithCount(const char* exportName, DWORD count,
                                      const std::vector<std::string>& args) const {
  SetupCallFn fn =
      reinterpret_cast<SetupCallFn>(reinterpret_cast<void*>(GetProcAddress(module_, exportName)));
  if (fn == nullptr) return {FALSE, "<no such export>", nullptr};
  std::vector<std::vector<char>> storage;
  for (const std::string& a : args) storage.emplace_back(a.c_str(), a.c_str() + a.size() + 1);
  std::vector<LPSTR> argv;
  for (std::vector<char>& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  LPSTR result = reinterpret_cast<LPSTR>(static_cast<std::intptr_t>(0x1234));  // must be overwritten
  const BOOL flag = fn(count, argv.data(), &result);
  const bool valid =
      result != nullptr && result != reinterpret_cast<LPSTR>(static_cast<std::intptr_t>(0x1234));
  return {flag, valid ? std::string(result) : std::string("<result not set>"), result};
}

std::string WindowText(HWND window) {
  char buffer[1024] = "";
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? WindowText(item) : std::string("<no control>");
}

namespace {
struct FindState {
  const char* caption;
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  FindState* s = reinterpret_cast<FindState*>(param);
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (s->owner != nullptr && GetWindow(window, GW_OWNER) != s->owner) return TRUE;
  if (s->caption != nullptr && WindowText(window) != s->caption) return TRUE;
  s->found = window;
  return FALSE;
}

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}
}  // namespace

HWND WaitForDialog(DWORD threadId, const char* caption, HWND owner, DWORD timeoutMs) {
  FindState s = {caption, owner, nullptr};
  veldra_test::PollUntil(
      [&] {
        EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      timeoutMs);
  return s.found;
}

DialogDriver::DialogDriver(const char* caption, std::function<void(HWND)> body, DWORD timeoutMs)
    : caption_(caption), body_(std::move(body)), ownerThread_(GetCurrentThreadId()), timeoutMs_(timeoutMs) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DWORD WINAPI DialogDriver::Run(LPVOID param) {
  DialogDriver* self = static_cast<DialogDriver*>(param);
  HWND dialog = WaitForDialog(self->ownerThread_, self->caption_.empty() ? nullptr : self->caption_.c_str(),
                              nullptr, self->timeoutMs_);
  if (dialog != nullptr) {
    self->found_ = true;
    self->body_(dialog);
    if (WaitGone(dialog, 5000)) return 0;
  }
  // Never leave the test thread stuck in a modal loop.
  for (int round = 0; round < 50; ++round) {
    EnumThreadWindows(self->ownerThread_, CloseDialog, 0);
    Sleep(100);
    FindState s = {nullptr, nullptr, nullptr};
    EnumThreadWindows(self->ownerThread_, FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found == nullptr) break;
  }
  return 0;
}

DialogDriver::~DialogDriver() {
  // The thread uses this object to its end, so it must end first: a test
  // that hangs here is ended by ctest's timeout instead of going on with a
  // destroyed driver.
  if (WaitForSingleObject(thread_, 30000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "dialog driver did not end within 30 s; waiting on\n");
    WaitForSingleObject(thread_, INFINITE);
  }
  CloseHandle(thread_);
}

void PressKey(HWND dialog, WPARAM key) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  HWND target = dialog;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus != nullptr) {
    target = info.hwndFocus;
  }
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool WaitGone(HWND window, DWORD timeoutMs) {
  return veldra_test::PollUntil([&] { return !IsWindow(window); }, timeoutMs);
}

std::string TempDir() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  char name[64];
  std::snprintf(name, sizeof name, "hooktest-%lu-%lu\\", GetCurrentProcessId(), GetTickCount());
  std::string dir = std::string(base) + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

}  // namespace hooktest

// setupcall: calls exports of a setuphook.dll the way the setup script
// interpreter does, for developers and for scripted installs.
//
//   setupcall [--no-window] DLL EXPORT [ARG...]
//   setupcall [--no-window] DLL --file LIST
//
// Prints "TRUE text" or "FALSE text" per call; a list stops at the first
// FALSE. Exit status: 0 all calls TRUE, 1 a call returned FALSE, 2 usage or
// loading error.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "callfile.h"

namespace {

typedef BOOL(WINAPI* SetupCallFn)(DWORD, LPSTR*, LPSTR*);

const int kExitOk = 0;
const int kExitFalse = 1;
const int kExitError = 2;

void Usage() {
  std::fprintf(stderr,
               "usage: setupcall [--no-window] DLL EXPORT [ARG...]\n"
               "       setupcall [--no-window] DLL --file LIST\n");
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// The setup interpreter owns an active window when it loads the library;
// the library takes it as the owner of its dialogs.
HWND CreateActiveWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "SetupCallOwner";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "setupcall", WS_OVERLAPPEDWINDOW, 40, 40, 240, 80,
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return window;
}

// Calls one export; returns the exit status of this call.
int CallExport(HMODULE library, const std::string& name, const std::vector<std::string>& args,
               const char* label) {
  SetupCallFn fn =
      reinterpret_cast<SetupCallFn>(reinterpret_cast<void*>(GetProcAddress(library, name.c_str())));
  if (fn == nullptr) {
    std::fprintf(stderr, "setupcall: no export named %s\n", name.c_str());
    return kExitError;
  }
  std::vector<std::vector<char>> storage;
  for (const std::string& a : args) storage.emplace_back(a.c_str(), a.c_str() + a.size() + 1);
  std::vector<LPSTR> argv;
  for (std::vector<char>& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  LPSTR result = nullptr;
  const BOOL flag = fn(static_cast<DWORD>(args.size()), argv.data(), &result);
  if (label != nullptr) std::printf("%s: ", label);
  std::printf("%s %s\n", flag ? "TRUE" : "FALSE", result != nullptr ? result : "");
  std::fflush(stdout);
  return flag ? kExitOk : kExitFalse;
}

// One line without its '\n'; false at the end of the file. Plain stdio keeps
// the tool small: the iostream machinery would triple its size.
bool ReadLine(std::FILE* in, std::string* line) {
  line->clear();
  char chunk[256];
  while (std::fgets(chunk, sizeof chunk, in) != nullptr) {
    line->append(chunk);
    if (!line->empty() && line->back() == '\n') {
      line->pop_back();
      return true;
    }
  }
  return !line->empty();
}

int RunList(HMODULE library, const char* listPath) {
  std::FILE* in = std::fopen(listPath, "r");
  if (in == nullptr) {
    std::fprintf(stderr, "setupcall: cannot read %s\n", listPath);
    return kExitError;
  }
  std::string line;
  int lineNumber = 0;
  int status = kExitOk;
  while (status == kExitOk && ReadLine(in, &line)) {
    ++lineNumber;
    if (setupcall::IsBlankOrComment(line)) continue;
    std::vector<std::string> words;
    if (!setupcall::SplitCallLine(line, &words)) {
      std::fprintf(stderr, "setupcall: %s:%d: unterminated quote\n", listPath, lineNumber);
      status = kExitError;
      break;
    }
    const std::string name = words.front();
    words.erase(words.begin());
    status = CallExport(library, name, words, name.c_str());
  }
  std::fclose(in);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  bool ownWindow = true;
  if (i < argc && std::strcmp(argv[i], "--no-window") == 0) {
    ownWindow = false;
    ++i;
  }
  if (argc - i < 2) {
    Usage();
    return kExitError;
  }
  const char* dllPath = argv[i++];
  const bool listMode = std::strcmp(argv[i], "--file") == 0;
  if (listMode && argc - i != 2) {
    Usage();
    return kExitError;
  }

  HWND window = nullptr;
  if (ownWindow) {
    window = CreateActiveWindow();
    if (window == nullptr) {
      std::fprintf(stderr, "setupcall: cannot create the owner window\n");
      return kExitError;
    }
  }
  HMODULE library = LoadLibraryA(dllPath);
  if (library == nullptr) {
    std::fprintf(stderr, "setupcall: cannot load %s (error %lu)\n", dllPath, GetLastError());
    return kExitError;
  }
  int status;
  if (listMode) {
    status = RunList(library, argv[i + 1]);
  } else {
    const std::string name = argv[i++];
    status = CallExport(library, name, std::vector<std::string>(argv + i, argv + argc), nullptr);
  }
  FreeLibrary(library);
  if (window != nullptr) DestroyWindow(window);
  return status;
}

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

#include <cstring>

#include "base/dll_search.h"
#include "callfile.h"
#include "base/fixed_text.h"

// Built without the C++ runtime (see veldra_lean): output, the list file and
// memory go through Win32 directly.
namespace {

typedef BOOL(WINAPI* SetupCallFn)(DWORD, LPSTR*, LPSTR*);

const int kExitOk = 0;
const int kExitFalse = 1;
const int kExitError = 2;

// Text for a standard handle, each '\n' written as "\r\n" as the C
// runtime's text-mode streams write it: install.cmd and the tests read these
// lines. Written out when the object goes, so that each message reaches the
// handle whole and in order with the other handle's.
class Output {
 public:
  explicit Output(DWORD which) : handle_(GetStdHandle(which)) {}
  ~Output() { Flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Output& Put(const char* text) {
    for (; *text != '\0'; ++text) {
      if (*text == '\n') Add('\r');
      Add(*text);
    }
    return *this;
  }
  Output& PutNumber(std::uint32_t n) {
    veldra::FixedText<16> digits;
    digits.AppendNumber(n);
    return Put(digits.c_str());
  }

 private:
  void Add(char c) {
    if (used_ == sizeof buffer_) Flush();
    buffer_[used_++] = c;
  }
  void Flush() {
    for (DWORD done = 0, n = 0; done < used_; done += n) {
      if (!WriteFile(handle_, buffer_ + done, used_ - done, &n, nullptr) || n == 0) break;
    }
    used_ = 0;
  }

  HANDLE handle_;
  char buffer_[512];
  DWORD used_ = 0;
};

void Usage() {
  Output(STD_ERROR_HANDLE)
      .Put(
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

// Calls one export with args[0..argCount), args[argCount] being null as the
// interpreter passes them; returns the exit status of this call.
int CallExport(HMODULE library, const char* name, int argCount, char** args, const char* label) {
  SetupCallFn fn = reinterpret_cast<SetupCallFn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (fn == nullptr) {
    Output(STD_ERROR_HANDLE).Put("setupcall: no export named ").Put(name).Put("\n");
    return kExitError;
  }
  LPSTR result = nullptr;
  const BOOL flag = fn(static_cast<DWORD>(argCount), args, &result);
  Output out(STD_OUTPUT_HANDLE);
  if (label != nullptr) out.Put(label).Put(": ");
  out.Put(flag ? "TRUE " : "FALSE ").Put(result != nullptr ? result : "").Put("\n");
  return flag ? kExitOk : kExitFalse;
}

// The whole list, ended as the C runtime's text mode ends a file: at a
// Ctrl-Z, which old editors leave behind. The '\r' of a "\r\n" needs no
// removal, the splitter takes it for a blank. NUL-terminated, its length in
// *length; null when the file cannot be read whole. Release with HeapFree.
char* ReadListFile(const char* path, DWORD* length) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  char* text = nullptr;
  if (size != INVALID_FILE_SIZE && high == 0) {
    text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size) + 1));
  }
  DWORD got = 0;
  while (text != nullptr && got < size) {
    DWORD n = 0;
    if (!ReadFile(file, text + got, size - got, &n, nullptr)) {
      HeapFree(GetProcessHeap(), 0, text);
      text = nullptr;
      break;
    }
    if (n == 0) break;  // the file shrank meanwhile
    got += n;
  }
  CloseHandle(file);
  if (text == nullptr) return nullptr;
  DWORD kept = 0;
  while (kept < got && text[kept] != '\x1a') ++kept;
  text[kept] = '\0';
  *length = kept;
  return text;
}

void ListError(const char* listPath, int lineNumber, const char* what) {
  Output(STD_ERROR_HANDLE)
      .Put("setupcall: ")
      .Put(listPath)
      .Put(":")
      .PutNumber(lineNumber)
      .Put(": ")
      .Put(what);
}

int RunList(HMODULE library, const char* listPath) {
  DWORD length = 0;
  char* text = ReadListFile(listPath, &length);
  if (text == nullptr) {
    Output(STD_ERROR_HANDLE).Put("setupcall: cannot read ").Put(listPath).Put("\n");
    return kExitError;
  }
  char* const end = text + length;
  int lineNumber = 0;
  int status = kExitOk;
  for (char* line = text; status == kExitOk && line < end;) {
    char* next = line;
    while (next < end && *next != '\n') ++next;
    *next = '\0';
    ++lineNumber;
    if (!setupcall::IsBlankOrComment(line)) {
      char* words[setupcall::kMaxWords + 1];
      const int count = setupcall::SplitCallLine(line, words, setupcall::kMaxWords);
      if (count == setupcall::kOpenQuote) {
        ListError(listPath, lineNumber, "unterminated quote\n");
        status = kExitError;
      } else if (count == setupcall::kTooManyWords) {
        ListError(listPath, lineNumber, "too many words\n");
        status = kExitError;
      } else {
        words[count] = nullptr;
        status = CallExport(library, words[0], count - 1, words + 1, words[0]);
      }
    }
    line = next + 1;
  }
  HeapFree(GetProcessHeap(), 0, text);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  veldra::RestrictDllSearchPath();
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
      Output(STD_ERROR_HANDLE).Put("setupcall: cannot create the owner window\n");
      return kExitError;
    }
  }
  // The library named on the command line, relative names taken from the
  // current directory as a file, never searched for along PATH.
  char fullPath[MAX_PATH];
  const DWORD length = GetFullPathNameA(dllPath, sizeof fullPath, fullPath, nullptr);
  HMODULE library = length > 0 && length < sizeof fullPath ? veldra::LoadLibraryBeside(fullPath) : nullptr;
  if (library == nullptr) {
    const DWORD error = GetLastError();
    Output(STD_ERROR_HANDLE)
        .Put("setupcall: cannot load ")
        .Put(dllPath)
        .Put(" (error ")
        .PutNumber(error)
        .Put(")\n");
    return kExitError;
  }
  // argv[argc] is null, as the list's words are.
  const int status = listMode ? RunList(library, argv[i + 1])
                              : CallExport(library, argv[i], argc - i - 1, argv + i + 1, nullptr);
  FreeLibrary(library);
  if (window != nullptr) DestroyWindow(window);
  return status;
}

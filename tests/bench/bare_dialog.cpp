// bare_dialog [LINES]
// A modal dialog with one list box that holds LINES lines (default 1), built
// with the same toolchain and options as config.exe. launch_bench times how
// long each program takes from process start to its filled list on screen;
// this one is the floor for a dialog program. Closes on IDCANCEL or WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kDialog = 100;
constexpr int kList = 103;

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const unsigned long lines = static_cast<unsigned long>(lParam);
      HWND list = GetDlgItem(dialog, kList);
      for (unsigned long i = 0; i < lines; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "Adapter %lu", i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  unsigned long lines = 1;
  if (commandLine != nullptr && *commandLine != '\0') lines = std::strtoul(commandLine, nullptr, 10);
  return static_cast<int>(
      DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialog), nullptr, BareProc, static_cast<LPARAM>(lines)));
}

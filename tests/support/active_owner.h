// A visible, active top-level window, as the setup interpreter owns one while
// it calls setuphook.dll (the library takes the active window as the owner
// of its dialogs).
#pragma once

#include <windows.h>

namespace veldra_test {

inline HWND CreateActiveOwner(const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VeldraTestOwner";
  RegisterClassA(&wc);  // fails harmlessly when already registered
  HWND window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 60, nullptr,
                                nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  return window;
}

}  // namespace veldra_test

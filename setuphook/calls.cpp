#include "resource.h"
#include "setuphook.h"

namespace setuphook {

HINSTANCE g_instance = nullptr;
HWND g_parentWindow = nullptr;
char g_resultText[kResultTextSize];
SetupHookPlatform g_platform = {
    ::RegCreateKeyExA,  ::RegSetValueExA,        ::RegCloseKey,
    ::OpenProcessToken, ::LookupPrivilegeValueA, ::AdjustTokenPrivileges,
    ::ExitWindowsEx,    ::GetDiskFreeSpaceA,     ::DialogBoxParamA,
};

void SetResult(UINT id) {
  if (LoadStringA(g_instance, id, g_resultText, kResultTextSize) == 0) g_resultText[0] = '\0';
}

bool BeginCall(LPSTR* result, bool needsParent, DWORD count, DWORD required) {
  if (result != nullptr) *result = g_resultText;
  if (needsParent && g_parentWindow == nullptr) {
    g_parentWindow = GetActiveWindow();
    if (g_parentWindow == nullptr) {
      SetResult(IDS_NO_ACTIVE_WINDOW);
      return false;
    }
  }
  if (required != kAnyCount && count != required) {
    SetResult(IDS_BAD_PARAM_COUNT);
    return false;
  }
  return true;
}

}  // namespace setuphook

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    setuphook::g_instance = instance;
    setuphook::g_parentWindow = GetActiveWindow();
  }
  return TRUE;
}

#ifdef SETUPHOOK_TEST_SEAM
extern "C" SetupHookPlatform* WINAPI SetupHookTestPlatform(void) { return &setuphook::g_platform; }
#endif

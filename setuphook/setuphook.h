// Internals shared by the parts of setuphook.dll.
#pragma once

#include <windows.h>

#include "platform.h"

namespace setuphook {

constexpr DWORD kAnyCount = 0xFFFFFFFFu;
constexpr int kResultTextSize = 300;

extern HINSTANCE g_instance;
extern HWND g_parentWindow;
extern char g_resultText[kResultTextSize];
extern SetupHookPlatform g_platform;

// Loads a string-table text into the result buffer.
void SetResult(UINT id);

// The opening every export shares: hand out the result buffer, then the
// parent-window test if the export needs one, then the count test unless the
// export takes any count. False means the result text has been set and the
// export returns FALSE at once.
bool BeginCall(LPSTR* result, bool needsParent, DWORD count, DWORD required);

bool InstallDriverKeys(const char* installDir);

}  // namespace setuphook

// The exports, in the setup interpreter's calling shape; exported by the .def file.
#define SETUPHOOK_EXPORT extern "C" BOOL WINAPI
SETUPHOOK_EXPORT DoesDirExist(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT CreateDir(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT DlgExit(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT DlgWelcome(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT DlgDestination(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT ModifyRegistry(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT ChangeDir(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT DlgFail(DWORD count, LPSTR* args, LPSTR* result);
SETUPHOOK_EXPORT Shutdown(DWORD count, LPSTR* args, LPSTR* result);

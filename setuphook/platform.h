// The platform calls through which setuphook.dll changes the machine or
// depends on it: the registry writes of ModifyRegistry, the shutdown request,
// the free-space query and the running of dialogs. The shipped DLL always uses
// the real functions; a test build of the DLL hands this table out so that
// tests can fail a key open, fail a dialog, or keep ExitWindowsEx from ever
// running.
#pragma once

#include <windows.h>

struct SetupHookPlatform {
  decltype(&::RegCreateKeyExA) createKey;
  decltype(&::RegSetValueExA) setValue;
  decltype(&::RegCloseKey) closeKey;
  decltype(&::OpenProcessToken) openProcessToken;
  decltype(&::LookupPrivilegeValueA) lookupPrivilegeValue;
  decltype(&::AdjustTokenPrivileges) adjustTokenPrivileges;
  decltype(&::ExitWindowsEx) exitWindows;
  decltype(&::GetDiskFreeSpaceA) getDiskFreeSpace;
  decltype(&::DialogBoxParamA) dialogBox;
};

// Name of the extra export of the test build that returns the live table.
#define SETUPHOOK_TEST_PLATFORM_EXPORT "SetupHookTestPlatform"
typedef SetupHookPlatform*(WINAPI* SetupHookTestPlatformFn)(void);

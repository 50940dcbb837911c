
#include "logic.h"
#include "resource.h"
#include "setuphook.h"

using namespace setuphook;

namespace {

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

SETUPHOOK_EXPORT DoesDirExist(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, false, count, 1)) return FALSE;
  SetResult(PathExists(args[0]) ? IDS_YES : IDS_NO);
  return TRUE;
}

// The levels are derived from the whole path whatever its length, so a long
// path is created as given rather than cut short or overrun.
SETUPHOOK_EXPORT CreateDir(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, false, count, 1)) return FALSE;
  const std::size_t length = static_cast<std::size_t>(lstrlenA(args[0]));
  char* levels = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, length + 1));
  if (levels != nullptr) {
    CopyMemory(levels, args[0], length + 1);
    for (std::size_t end = NextDirLevel(levels, length, 0); end != 0;
         end = NextDirLevel(levels, length, end)) {
      // A level that exists already fails harmlessly; the walk goes on.
      const char cut = levels[end];
      levels[end] = '\0';
      CreateDirectoryA(levels, nullptr);
      levels[end] = cut;
    }
    HeapFree(GetProcessHeap(), 0, levels);
  }
  SetResult(PathExists(args[0]) ? IDS_YES : IDS_NO);
  return TRUE;
}

SETUPHOOK_EXPORT ChangeDir(DWORD count, LPSTR* args, LPSTR* result) {
  if (!BeginCall(result, true, count, 1)) return FALSE;
  SetResult(SetCurrentDirectoryA(args[0]) ? IDS_SUCCESS : IDS_CANCEL);
  return TRUE;
}

// None of the platform steps is checked: the script has nothing to do with a
// refused shutdown but end, which it does anyway.
SETUPHOOK_EXPORT Shutdown(DWORD count, LPSTR*, LPSTR* result) {
  if (!BeginCall(result, false, count, kAnyCount)) return FALSE;
  HANDLE token = nullptr;
  if (g_platform.openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token) && token != nullptr) {
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    g_platform.lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    g_platform.adjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
  }
  g_platform.exitWindows(EWX_SHUTDOWN, 0);
  SetResult(IDS_SUCCESS);
  return TRUE;
}

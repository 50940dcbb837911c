// What every export shares: the result buffer, the order of the opening
// tests, the argument counts, the string table and the version resource.
#include <gtest/gtest.h>

#include "env.h"
#include "resource.h"

using hooktest::CallResult;
using hooktest::TheEnv;

namespace {

const char* const kExports[] = {"DoesDirExist",   "CreateDir", "DlgExit", "DlgWelcome", "DlgDestination",
                                "ModifyRegistry", "ChangeDir", "DlgFail", "Shutdown"};

TEST(SetupCalls, LibrariesLoadAndTakeTheActiveWindow) {
  ASSERT_NE(TheEnv().owner, nullptr);
  ASSERT_NE(TheEnv().shipped->module(), nullptr);
  ASSERT_NE(TheEnv().seam->module(), nullptr);
  ASSERT_NE(TheEnv().platform, nullptr);
  for (const char* name : kExports)
    EXPECT_NE(GetProcAddress(TheEnv().shipped->module(), name), nullptr) << name;
  // The shipped library has no way in for tests.
  EXPECT_EQ(GetProcAddress(TheEnv().shipped->module(), SETUPHOOK_TEST_PLATFORM_EXPORT), nullptr);
}

TEST(SetupCalls, ResultAddressIsTheOneBufferEvenOnFailure) {
  const CallResult bad = TheEnv().shipped->Call("DoesDirExist", {});
  EXPECT_EQ(bad.flag, FALSE);
  EXPECT_EQ(bad.text, "Invalid number of paramters");
  ASSERT_NE(bad.address, nullptr);
  const CallResult good = TheEnv().shipped->Call("DoesDirExist", {"C:\\"});
  EXPECT_EQ(hooktest::Answer(good), "Yes");
  EXPECT_EQ(good.address, bad.address);
  // Every export hands out the same buffer; the next call overwrites it.
  const CallResult other = TheEnv().shipped->Call("ChangeDir", {});
  EXPECT_EQ(other.address, bad.address);
  EXPECT_EQ(std::string(bad.address), "Invalid number of paramters");
}

TEST(SetupCalls, ExportsThatRequireACountRefuseAnyOther) {
  const hooktest::NamedCount cases[] = {{"DoesDirExist", 0},   {"DoesDirExist", 2},   {"CreateDir", 0},
                                        {"CreateDir", 2},      {"DlgWelcome", 0},     {"DlgWelcome", 2},
                                        {"DlgDestination", 1}, {"DlgDestination", 3}, {"ModifyRegistry", 0},
                                        {"ModifyRegistry", 2}, {"ChangeDir", 0},      {"ChangeDir", 2}};
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  for (const hooktest::NamedCount& c : cases) {
    // Enough strings for any count: a refused call must not read them anyway.
    const CallResult r = TheEnv().shipped->CallWithCount(c.name, c.count, {"C:\\", "1", "2"});
    EXPECT_EQ(r.flag, FALSE) << c.name << " " << c.count;
    EXPECT_EQ(r.text, "Invalid number of paramters") << c.name << " " << c.count;
  }
  char after[MAX_PATH];
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(before, after);
}

TEST(SetupCalls, StringTableIsUsEnglishWithTheFixedTexts) {
  const HMODULE m = TheEnv().shipped->module();
  const char* const texts[] = {"No active window",
                               "Invalid number of paramters",
                               "Success",
                               "An unknown error has occurred",
                               "Exit",
                               "Cancel",
                               "Yes",
                               "No"};
  for (int id = 1; id <= 8; ++id) {
    char buffer[300] = "";
    LoadStringA(m, id, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, texts[id - 1]) << id;
  }
  // Ids 1 to 8 live in string block 1, in language 1033.
  EXPECT_NE(FindResourceExA(m, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(1), 1033), nullptr);
  for (int id : {IDD_EXIT_SETUP, IDD_WELCOME, IDD_DESTINATION, IDD_INCOMPLETE_INSTALL}) {
    EXPECT_NE(FindResourceExA(m, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id), 1033), nullptr) << id;
  }
}

TEST(SetupCalls, VersionResourceDescribesTheLibrary) {
  char path[MAX_PATH];
  GetModuleFileNameA(TheEnv().shipped->module(), path, sizeof path);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &data[0]));
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileDescription",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "Tervalon Installation DLL for ZOVORO Library");
}

// What the fake platform steps of Shutdown saw. The fakes are plain WINAPI
// functions: on i686 the platform table holds stdcall pointers, which a
// lambda does not convert to.
struct ShutdownCalls {
  int opens, lookups, adjusts, exits;
  DWORD openAccess, adjustCount, adjustAttributes, exitFlags, exitReserved;
  BOOL disableAll;
  std::string privilege;
  bool previousAsked;
} shutdownCalls;

BOOL WINAPI FakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  ++shutdownCalls.opens;
  shutdownCalls.openAccess = access;
  return OpenProcessToken(process, access, token);
}

BOOL WINAPI FakeLookupPrivilegeValue(LPCSTR system, LPCSTR name, PLUID luid) {
  ++shutdownCalls.lookups;
  shutdownCalls.privilege = name != nullptr && system == nullptr ? name : "<wrong arguments>";
  luid->LowPart = 19;
  luid->HighPart = 0;
  return FALSE;
}

BOOL WINAPI FakeAdjustTokenPrivileges(HANDLE, BOOL disable, PTOKEN_PRIVILEGES state, DWORD,
                                      PTOKEN_PRIVILEGES previous, PDWORD returned) {
  ++shutdownCalls.adjusts;
  shutdownCalls.disableAll = disable;
  shutdownCalls.adjustCount = state->PrivilegeCount;
  shutdownCalls.adjustAttributes = state->Privileges[0].Attributes;
  shutdownCalls.previousAsked = previous != nullptr || returned != nullptr;
  return FALSE;
}

BOOL WINAPI FakeExitWindows(UINT flags, DWORD reserved) {
  ++shutdownCalls.exits;
  shutdownCalls.exitFlags = flags;
  shutdownCalls.exitReserved = reserved;
  return FALSE;
}

TEST(SetupCalls, ShutdownAcceptsAnyCountAndAlwaysSucceeds) {
  hooktest::PlatformGuard guard;
  shutdownCalls = ShutdownCalls{};
  SetupHookPlatform& p = *TheEnv().platform;
  // Each platform step fails, as when the privilege is not held: the call still succeeds.
  p.openProcessToken = FakeOpenProcessToken;
  p.lookupPrivilegeValue = FakeLookupPrivilegeValue;
  p.adjustTokenPrivileges = FakeAdjustTokenPrivileges;
  p.exitWindows = FakeExitWindows;
  for (DWORD count : {0u, 3u}) {
    EXPECT_EQ(hooktest::Answer(TheEnv().seam->CallWithCount("Shutdown", count, {"a", "b", "c"})), "Success");
  }
  EXPECT_EQ(shutdownCalls.opens, 2);
  EXPECT_EQ(shutdownCalls.openAccess, 0x20u);
  EXPECT_EQ(shutdownCalls.lookups, 2);
  EXPECT_EQ(shutdownCalls.privilege, "SeShutdownPrivilege");
  EXPECT_EQ(shutdownCalls.adjusts, 2);
  EXPECT_EQ(shutdownCalls.disableAll, FALSE);
  EXPECT_EQ(shutdownCalls.adjustCount, 1u);
  EXPECT_EQ(shutdownCalls.adjustAttributes, 2u);
  EXPECT_FALSE(shutdownCalls.previousAsked);
  EXPECT_EQ(shutdownCalls.exits, 2);
  EXPECT_EQ(shutdownCalls.exitFlags, 1u);
  EXPECT_EQ(shutdownCalls.exitReserved, 0u);
}

}  // namespace

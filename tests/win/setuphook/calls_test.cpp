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

TEST(SetupCalls, ShutdownAcceptsAnyCountAndAlwaysSucceeds) {
  hooktest::PlatformGuard guard;
  static int opens, lookups, adjusts, exits;
  static DWORD openAccess, adjustCount, adjustAttributes, exitFlags, exitReserved;
  static BOOL disableAll;
  static std::string privilege;
  static bool previousAsked;
  opens = lookups = adjusts = exits = 0;
  SetupHookPlatform& p = *TheEnv().platform;
  // Each platform step fails, as when the privilege is not held: the call still succeeds.
  p.openProcessToken = [](HANDLE process, DWORD access, PHANDLE token) -> BOOL {
    ++opens;
    openAccess = access;
    return OpenProcessToken(process, access, token);
  };
  p.lookupPrivilegeValue = [](LPCSTR system, LPCSTR name, PLUID luid) -> BOOL {
    ++lookups;
    privilege = name != nullptr && system == nullptr ? name : "<wrong arguments>";
    luid->LowPart = 19;
    luid->HighPart = 0;
    return FALSE;
  };
  p.adjustTokenPrivileges = [](HANDLE, BOOL disable, PTOKEN_PRIVILEGES state, DWORD,
                               PTOKEN_PRIVILEGES previous, PDWORD returned) -> BOOL {
    ++adjusts;
    disableAll = disable;
    adjustCount = state->PrivilegeCount;
    adjustAttributes = state->Privileges[0].Attributes;
    previousAsked = previous != nullptr || returned != nullptr;
    return FALSE;
  };
  p.exitWindows = [](UINT flags, DWORD reserved) -> BOOL {
    ++exits;
    exitFlags = flags;
    exitReserved = reserved;
    return FALSE;
  };
  for (DWORD count : {0u, 3u}) {
    EXPECT_EQ(hooktest::Answer(TheEnv().seam->CallWithCount("Shutdown", count, {"a", "b", "c"})), "Success");
  }
  EXPECT_EQ(opens, 2);
  EXPECT_EQ(openAccess, 0x20u);
  EXPECT_EQ(lookups, 2);
  EXPECT_EQ(privilege, "SeShutdownPrivilege");
  EXPECT_EQ(adjusts, 2);
  EXPECT_EQ(disableAll, FALSE);
  EXPECT_EQ(adjustCount, 1u);
  EXPECT_EQ(adjustAttributes, 2u);
  EXPECT_FALSE(previousAsked);
  EXPECT_EQ(exits, 2);
  EXPECT_EQ(exitFlags, 1u);
  EXPECT_EQ(exitReserved, 0u);
}

}  // namespace

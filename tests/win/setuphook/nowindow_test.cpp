// A process with no active window when the library attaches and when it is
// called: the exports that need a parent window refuse before looking at
// the argument count; the others work. The window test is repeated at each
// call, so a window that appears later is taken then.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "hook_util.h"
#include "tests/support/active_owner.h"
#include "tests/support/win_registry.h"

using hooktest::CallResult;

namespace {

TEST(NoActiveWindow, WindowExportsRefuseBeforeTheCountTest) {
  ASSERT_EQ(GetActiveWindow(), nullptr);
  hooktest::HookLibrary lib("setuphook.dll");
  ASSERT_NE(lib.module(), nullptr);
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  {
    // Machine keys go to a scratch key, to see that nothing is written.
    veldra_test::ScratchMachine scratch("Software\\HookTestNoWindow");
    ASSERT_TRUE(scratch.redirected());

    // Wrong counts where a count is required, so the order of the tests shows.
    const hooktest::NamedCount cases[] = {{"DlgWelcome", 2}, {"DlgDestination", 1}, {"ModifyRegistry", 0},
                                          {"ChangeDir", 0},  {"ChangeDir", 1},      {"DlgExit", 0},
                                          {"DlgFail", 3},    {"ModifyRegistry", 1}, {"DlgWelcome", 1}};
    for (const hooktest::NamedCount& c : cases) {
      const CallResult r = lib.CallWithCount(c.name, c.count, {"C:\\", "x", "y"});
      EXPECT_EQ(r.flag, FALSE) << c.name;
      EXPECT_EQ(r.text, "No active window") << c.name;
      EXPECT_NE(r.address, nullptr);
    }
    char after[MAX_PATH];
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after);
    DWORD subkeys = 99;
    RegQueryInfoKeyA(scratch.key(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(subkeys, 0u);
  }

  // The exports without a window still work.
  EXPECT_EQ(lib.Call("DoesDirExist", {"C:\\"}).text, "Yes");
  EXPECT_EQ(lib.Call("CreateDir", {"C:\\"}).text, "Yes");
  EXPECT_EQ(lib.Call("DoesDirExist", {}).text, "Invalid number of paramters");

  // A window that becomes active later is taken at the next call.
  HWND late = veldra_test::CreateActiveOwner("late");
  ASSERT_NE(late, nullptr);
  ASSERT_EQ(GetActiveWindow(), late);
  const CallResult r = lib.CallWithCount("DlgWelcome", 2, {"a", "b"});
  EXPECT_EQ(r.flag, FALSE);
  EXPECT_EQ(r.text, "Invalid number of paramters");
  EXPECT_EQ(hooktest::Answer(lib.Call("ChangeDir", {before})), "Success");
  DestroyWindow(late);
}

}  // namespace

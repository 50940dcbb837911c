// Wall time and registry calls of setuphook.dll's ModifyRegistry, called the
// way the setup interpreter calls it (an active owner window, the argument
// array). The calls are counted through the platform table of the test build
// (setuphook_seam.dll); the shipped setuphook.dll is timed beside it.
// HKEY_LOCAL_MACHINE is redirected to a scratch key, emptied before every
// run, so each run writes the driver's entries into a fresh registry.
// Prints figures; not a pass/fail test.
//
//   modify_bench [--runs N] SEAM_DLL SHIPPED_DLL
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform.h"
#include "tests/bench/bench_util.h"
#include "tests/support/active_owner.h"
#include "tests/support/win_registry.h"

namespace {

typedef BOOL(WINAPI* SetupCallFn)(DWORD count, LPSTR* args, LPSTR* result);

constexpr char kScratch[] = "Software\\VeldraModifyBench";
constexpr char kDirectory[] = "C:\\VELDRA";

SetupHookPlatform g_real;
unsigned long g_creates = 0;
unsigned long g_sets = 0;
unsigned long g_closes = 0;

LONG WINAPI CountCreate(HKEY key, LPCSTR sub, DWORD reserved, LPSTR cls, DWORD options, REGSAM sam,
                        const LPSECURITY_ATTRIBUTES sa, PHKEY out, LPDWORD disposition) {
  ++g_creates;
  return g_real.createKey(key, sub, reserved, cls, options, sam, sa, out, disposition);
}
LONG WINAPI CountSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  ++g_sets;
  return g_real.setValue(key, name, reserved, type, data, size);
}
LONG WINAPI CountClose(HKEY key) {
  ++g_closes;
  return g_real.closeKey(key);
}

// Runs ModifyRegistry `runs` times, each into an emptied scratch HKLM;
// false when a call fails. Times go to `ms`.
bool Time(SetupCallFn modify, unsigned runs, std::vector<double>* ms) {
  for (unsigned r = 0; r < runs; ++r) {
    veldra_test::ScratchMachine scratch(kScratch);
    if (!scratch.redirected()) return false;
    char directory[sizeof kDirectory];
    std::memcpy(directory, kDirectory, sizeof kDirectory);
    LPSTR args[] = {directory, nullptr};
    LPSTR result = nullptr;
    BOOL flag = FALSE;
    const double elapsed = veldra_bench::TimeMs([&] { flag = modify(1, args, &result); });
    if (!flag) {
      std::printf("ModifyRegistry failed: %s\n", result != nullptr ? result : "(no text)");
      return false;
    }
    ms->push_back(elapsed);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  unsigned runs = 20;
  std::vector<const char*> dlls;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      dlls.push_back(argv[i]);
    }
  }
  if (dlls.size() != 2 || runs == 0) {
    std::fprintf(stderr, "usage: modify_bench [--runs N] SEAM_DLL SHIPPED_DLL\n");
    return 2;
  }
  // The library takes the window active when it is loaded as its owner.
  HWND owner = veldra_test::CreateActiveOwner("modify bench");
  HMODULE seam = LoadLibraryA(dlls[0]);
  HMODULE shipped = LoadLibraryA(dlls[1]);
  if (seam == nullptr || shipped == nullptr) {
    std::fprintf(stderr, "cannot load %s or %s\n", dlls[0], dlls[1]);
    return 1;
  }
  auto table = reinterpret_cast<SetupHookTestPlatformFn>(
      reinterpret_cast<void*>(GetProcAddress(seam, SETUPHOOK_TEST_PLATFORM_EXPORT)));
  auto seamModify =
      reinterpret_cast<SetupCallFn>(reinterpret_cast<void*>(GetProcAddress(seam, "ModifyRegistry")));
  auto shippedModify =
      reinterpret_cast<SetupCallFn>(reinterpret_cast<void*>(GetProcAddress(shipped, "ModifyRegistry")));
  if (table == nullptr || seamModify == nullptr || shippedModify == nullptr) {
    std::fprintf(stderr, "missing exports\n");
    return 1;
  }

  SetupHookPlatform* platform = table();
  g_real = *platform;
  platform->createKey = CountCreate;
  platform->setValue = CountSet;
  platform->closeKey = CountClose;
  std::vector<double> seamMs;
  bool ok = Time(seamModify, 1, &seamMs);  // one counted run
  const unsigned long creates = g_creates, sets = g_sets, closes = g_closes;
  seamMs.clear();
  ok = ok && Time(seamModify, runs, &seamMs);
  *platform = g_real;

  std::vector<double> shippedMs;
  ok = ok && Time(shippedModify, runs, &shippedMs);
  DestroyWindow(owner);
  if (!ok) return 1;

  std::printf("ModifyRegistry into an empty registry, %u runs:\n", runs);
  std::printf("  registry calls: %lu (RegCreateKeyExA %lu, RegSetValueExA %lu, RegCloseKey %lu)\n",
              creates + sets + closes, creates, sets, closes);
  std::printf("  setuphook.dll       median %8.3f ms   min %8.3f   max %8.3f\n",
              veldra_bench::Median(shippedMs), *std::min_element(shippedMs.begin(), shippedMs.end()),
              *std::max_element(shippedMs.begin(), shippedMs.end()));
  std::printf("  setuphook_seam.dll  median %8.3f ms (counting wrappers)\n", veldra_bench::Median(seamMs));
  return 0;
}

#include "env.h"

#include "tests/support/active_owner.h"

namespace hooktest {

Env& TheEnv() {
  static Env env = [] {
    Env e{};
    e.owner = veldra_test::CreateActiveOwner("hook test owner");
    e.shipped = new HookLibrary("setuphook.dll");
    e.seam = new HookLibrary("setuphook_seam.dll");
    SetupHookTestPlatformFn get = reinterpret_cast<SetupHookTestPlatformFn>(
        reinterpret_cast<void*>(GetProcAddress(e.seam->module(), SETUPHOOK_TEST_PLATFORM_EXPORT)));
    e.platform = get != nullptr ? get() : nullptr;
    if (e.platform != nullptr) e.real = *e.platform;
    return e;
  }();
  return env;
}

}  // namespace hooktest

// The process-wide set-up of the main setuphook test program: an active
// owner window exists before either library is loaded, so both take it as
// their parent window when they attach.
#pragma once

#include "hook_util.h"
#include "platform.h"

namespace hooktest {

struct Env {
  HWND owner;
  HookLibrary* shipped;  // setuphook.dll as shipped
  HookLibrary* seam;     // the test build with the platform table export
  SetupHookPlatform* platform;
  SetupHookPlatform real;  // the table as the library set it up
};

Env& TheEnv();

// Restores the seam library's platform table when a test ends.
class PlatformGuard {
 public:
  PlatformGuard() : saved_(*TheEnv().platform) {}
  ~PlatformGuard() { *TheEnv().platform = saved_; }

 private:
  SetupHookPlatform saved_;
};

}  // namespace hooktest

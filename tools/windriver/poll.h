// The one bounded wait of the window driver and the Windows tests: a missing
// window or a change that never comes fails instead of hanging.
#pragma once

#include <windows.h>

namespace veldra_test {

// Polls `condition` every 20 ms for up to `ms`; true once it holds.
template <class Condition>
bool PollUntil(Condition condition, DWORD ms = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace veldra_test

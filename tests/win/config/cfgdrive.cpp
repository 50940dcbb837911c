// cfgdrive: one step of a scripted session with config.exe, for the run and
// screenshot scripts. Windows are found by title among every process.
//
//   cfgdrive wait TITLE            wait until a window of that title shows
//   cfgdrive gone TITLE            wait until no window of that title shows
//   cfgdrive rect TITLE            print its outer rectangle as WxH+X+Y
//   cfgdrive click TITLE ID        BN_CLICKED of control ID (posted)
//   cfgdrive text TITLE ID TEXT    set the text of control ID
//   cfgdrive select TITLE ID N     select line N of list box ID
//   cfgdrive combo TITLE ID N      select and confirm line N of combo box ID
//   cfgdrive focus TITLE ID        give control ID the focus
//   cfgdrive close TITLE           the window close command
//
// Exit status 0 on success, 1 when a window did not come or go in time.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver.h"

using namespace cfgtest;

namespace {

int Usage() {
  std::fprintf(stderr, "usage: cfgdrive wait|gone|rect|click|text|select|combo|focus|close TITLE [ARGS]\n");
  return 2;
}

HWND Need(const char* title) {
  HWND window = WaitWindow(title, 0, 15000);
  if (window == nullptr) std::fprintf(stderr, "cfgdrive: no window \"%s\"\n", title);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const char* title = argv[2];
  if (command == "gone") {
    for (int i = 0; i < 750; ++i) {
      if (FindVisibleWindow(title, 0) == nullptr) return 0;
      Sleep(20);
    }
    std::fprintf(stderr, "cfgdrive: window \"%s\" is still there\n", title);
    return 1;
  }
  HWND window = Need(title);
  if (window == nullptr) return 1;
  const int id = argc > 3 ? std::atoi(argv[3]) : 0;
  if (command == "wait") return 0;
  if (command == "rect") {
    RECT r;
    GetWindowRect(window, &r);
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
  }
  if (command == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (argc < 4) return Usage();
  if (command == "click") {
    PostCommand(window, id);
  } else if (command == "text" && argc > 4) {
    SetItemText(window, id, argv[4]);
  } else if (command == "select" && argc > 4) {
    SelectListLine(window, id, std::atoi(argv[4]));
  } else if (command == "combo" && argc > 4) {
    ConfirmComboLine(window, id, std::atoi(argv[4]));
  } else if (command == "focus") {
    // Focus is per thread: attach to the dialog's input queue for the call.
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(GetDlgItem(window, id));
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  } else {
    return Usage();
  }
  return 0;
}

// cfgdrive: one step of a scripted session with config.exe or the setup
// dialogs, for the run and screenshot scripts. Windows are found by title
// among every process; a CONTROL is a button's caption ("OK", "Setup", "Yes",
// without '&' marks) or, for controls without one, a number: the control id.
//
//   cfgdrive wait TITLE                 wait until a window of that title shows
//   cfgdrive gone TITLE                 wait until no window of that title shows
//   cfgdrive rect TITLE                 print its outer rectangle as WxH+X+Y
//   cfgdrive click TITLE CONTROL        BN_CLICKED of the control (posted)
//   cfgdrive text TITLE CONTROL TEXT    set the text of the control
//   cfgdrive select TITLE CONTROL N     select line N of a list box
//   cfgdrive lines TITLE CONTROL        print the lines of a list box
//   cfgdrive combo TITLE CONTROL N      select and confirm line N of a combo box
//   cfgdrive focus TITLE CONTROL        give the control the focus
//   cfgdrive close TITLE                the window close command
//
// Exit status 0 on success, 1 when a window did not come or go in time or
// has no such control.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver.h"

using namespace cfgtest;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: cfgdrive wait|gone|rect|click|text|select|lines|combo|focus|close TITLE [ARGS]\n");
  return 2;
}

HWND Need(const char* title) {
  HWND window = WaitWindow(title, 0, 15000);
  if (window == nullptr) std::fprintf(stderr, "cfgdrive: no window \"%s\"\n", title);
  return window;
}

// A number is a control id; anything else a caption.
int ControlId(HWND window, const char* control) {
  const std::string text = control;
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) return std::atoi(control);
  return ControlByCaption(window, text);
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
  const int id = ControlId(window, argv[3]);
  if (id < 0) {
    std::fprintf(stderr, "cfgdrive: \"%s\" has no control \"%s\"\n", title, argv[3]);
    return 1;
  }
  if (command == "click") {
    PostCommand(window, id);
  } else if (command == "text" && argc > 4) {
    SetItemText(window, id, argv[4]);
  } else if (command == "select" && argc > 4) {
    SelectListLine(window, id, std::atoi(argv[4]));
  } else if (command == "lines") {
    for (const std::string& line : ListLines(GetDlgItem(window, id))) std::printf("%s\n", line.c_str());
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

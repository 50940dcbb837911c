// The four setup dialogs as they must be: each template's frame and its
// controls (style, position, id, class, text) in template order. The template
// test compares the library's resources with them; the dialog tests derive
// from them the texts a running dialog shows.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "resource.h"
#include "tests/support/dialog_template.h"

namespace hooktest {

// A template's id and what it must hold (see veldra_test::ExpectTemplate);
// a control's style holds the bits that are checked.
struct ExpectedDialog {
  int id;
  veldra_test::DialogTemplate dialog;
};

constexpr DWORD kFrame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT;

inline const ExpectedDialog kExitSetup = {
    IDD_EXIT_SETUP,
    veldra_test::Expected(
        kFrame, 263, 113, "Exit Setup",
        {{BS_DEFPUSHBUTTON, 73, 94, 50, 14, 1, "Button", "Shutdown"},
         {BS_PUSHBUTTON, 138, 94, 50, 14, 2, "Button", "Exit"},
         {SS_LEFT, 6, 18, 208, 8, -1, "Static",
          "The Tervalon ZOVORO Library has been successfully installed."},
         {SS_LEFT, 6, 35, 245, 16, -1, "Static",
          "Select 'Shutdown' to shutdown  the system.  When the system is restarted,  the driver will "
          "automatically load and run."},
         {SS_LEFT, 6, 60, 249, 17, -1, "Static",
          "Select 'Exit' to exit Setup without starting the driver.  The system needs to be shutdown and "
          "restarted before the driver will operate properly."}})};

inline const ExpectedDialog kWelcome = {
    IDD_WELCOME, veldra_test::Expected(kFrame, 263, 129, "Welcome",
                                       {{SS_LEFT, 11, 12, 242, 88, 1001, "Static", ""},
                                        {BS_DEFPUSHBUTTON, 73, 105, 50, 14, 1, "Button", "Continue"},
                                        {BS_PUSHBUTTON, 138, 105, 50, 14, 2, "Button", "Exit"}})};

inline const ExpectedDialog kDestination = {
    IDD_DESTINATION,
    veldra_test::Expected(
        kFrame, 185, 197, "Destination Directory",
        {{BS_DEFPUSHBUTTON, 38, 173, 50, 14, 1, "Button", "OK"},
         {BS_PUSHBUTTON, 95, 173, 50, 14, 2, "Button", "Cancel"},
         {ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 39, 171, 12, 1005, "Edit", ""},
         {LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 6, 61, 171, 57,
          1006, "ListBox", ""},
         {SS_LEFT, 45, 150, 35, 8, -1, "Static", "Available:"},
         {SS_LEFT, 45, 135, 32, 9, -1, "Static", "Required:"},
         {SS_RIGHT, 85, 135, 35, 8, 1007, "Static", ""},
         {SS_RIGHT, 85, 150, 35, 8, 1008, "Static", ""},
         {SS_LEFT, 125, 135, 11, 7, -1, "Static", "Mb"},
         {SS_LEFT, 125, 150, 11, 7, -1, "Static", "Mb"},
         {SS_LEFT, 6, 8, 170, 26, -1, "Static",
          "Select a destination directory for the ZOVORO demo programs and the driver configuration "
          "utility."}})};

inline const ExpectedDialog kIncompleteInstall = {
    IDD_INCOMPLETE_INSTALL,
    veldra_test::Expected(
        kFrame, 263, 73, "Incomplete Installation",
        {{BS_PUSHBUTTON, 106, 54, 50, 14, 1, "Button", "Exit"},
         {SS_LEFT, 14, 18, 233, 16, -1, "Static",
          "The Tervalon ZOVORO Library has not been completely installed.  The software must be "
          "reinstalled before the driver will run properly."}})};

// Control id (a label's -1 as the dialog reports it) and text of each control
// of a running dialog, in template order; `shown` gives the texts the dialog
// sets itself.
inline std::vector<std::pair<int, std::string>> ShownTexts(
    const ExpectedDialog& dialog, const std::vector<std::pair<int, std::string>>& shown = {}) {
  std::vector<std::pair<int, std::string>> texts;
  for (const veldra_test::DialogItem& c : dialog.dialog.items) {
    std::string text = c.text;
    for (const auto& s : shown) {
      if (s.first == c.id) text = s.second;
    }
    texts.emplace_back(c.id == -1 ? 0xFFFF : c.id, text);
  }
  return texts;
}

}  // namespace hooktest

// The four setup dialogs as they must be: each template's caption, size and
// controls (class, id, position, style, text) in template order. The template
// test compares the library's resources with them; the dialog tests derive
// from them the texts a running dialog shows.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace hooktest {

enum Kind : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83 };

struct ExpectedControl {
  Kind kind;
  int id;
  short x, y, cx, cy;
  DWORD style;  // the control's type bits and any further required bits
  std::string text;
};

struct ExpectedDialog {
  int id;
  std::string caption;
  short cx, cy;
  std::vector<ExpectedControl> controls;
};

inline const ExpectedDialog kExitSetup = {
    IDD_EXIT_SETUP,
    "Exit Setup",
    263,
    113,
    {{kButton, 1, 73, 94, 50, 14, BS_DEFPUSHBUTTON, "Shutdown"},
     {kButton, 2, 138, 94, 50, 14, BS_PUSHBUTTON, "Exit"},
     {kStatic, -1, 6, 18, 208, 8, SS_LEFT, "The Tervalon ZOVORO Library has been successfully installed."},
     {kStatic, -1, 6, 35, 245, 16, SS_LEFT,
      "Select 'Shutdown' to shutdown  the system.  When the system is restarted,  the driver will "
      "automatically load and run."},
     {kStatic, -1, 6, 60, 249, 17, SS_LEFT,
      "Select 'Exit' to exit Setup without starting the driver.  The system needs to be shutdown and "
      "restarted before the driver will operate properly."}}};

inline const ExpectedDialog kWelcome = {IDD_WELCOME,
                                        "Welcome",
                                        263,
                                        129,
                                        {{kStatic, 1001, 11, 12, 242, 88, SS_LEFT, ""},
                                         {kButton, 1, 73, 105, 50, 14, BS_DEFPUSHBUTTON, "Continue"},
                                         {kButton, 2, 138, 105, 50, 14, BS_PUSHBUTTON, "Exit"}}};

inline const ExpectedDialog kDestination = {
    IDD_DESTINATION,
    "Destination Directory",
    185,
    197,
    {{kButton, 1, 38, 173, 50, 14, BS_DEFPUSHBUTTON, "OK"},
     {kButton, 2, 95, 173, 50, 14, BS_PUSHBUTTON, "Cancel"},
     {kEdit, 1005, 6, 39, 171, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, ""},
     {kListBox, 1006, 6, 61, 171, 57,
      LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, ""},
     {kStatic, -1, 45, 150, 35, 8, SS_LEFT, "Available:"},
     {kStatic, -1, 45, 135, 32, 9, SS_LEFT, "Required:"},
     {kStatic, 1007, 85, 135, 35, 8, SS_RIGHT, ""},
     {kStatic, 1008, 85, 150, 35, 8, SS_RIGHT, ""},
     {kStatic, -1, 125, 135, 11, 7, SS_LEFT, "Mb"},
     {kStatic, -1, 125, 150, 11, 7, SS_LEFT, "Mb"},
     {kStatic, -1, 6, 8, 170, 26, SS_LEFT,
      "Select a destination directory for the ZOVORO demo programs and the driver configuration "
      "utility."}}};

inline const ExpectedDialog kIncompleteInstall = {
    IDD_INCOMPLETE_INSTALL,
    "Incomplete Installation",
    263,
    73,
    {{kButton, 1, 106, 54, 50, 14, BS_PUSHBUTTON, "Exit"},
     {kStatic, -1, 14, 18, 233, 16, SS_LEFT,
      "The Tervalon ZOVORO Library has not been completely installed.  The software must be "
      "reinstalled before the driver will run properly."}}};

// Control id (a label's -1 as the dialog reports it) and text of each control
// of a running dialog, in template order; `shown` gives the texts the dialog
// sets itself.
inline std::vector<std::pair<int, std::string>> ShownTexts(
    const ExpectedDialog& dialog, const std::vector<std::pair<int, std::string>>& shown = {}) {
  std::vector<std::pair<int, std::string>> texts;
  for (const ExpectedControl& c : dialog.controls) {
    std::string text = c.text;
    for (const auto& s : shown) {
      if (s.first == c.id) text = s.second;
    }
    texts.emplace_back(c.id == -1 ? 0xFFFF : c.id, text);
  }
  return texts;
}

}  // namespace hooktest

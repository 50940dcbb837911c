// The dialog templates as stored in the library: window styles, font,
// captions and every control's class, id, position, style and text, in
// template (tab) order.
#include <gtest/gtest.h>

#include <vector>

#include "env.h"
#include "resource.h"
#include "tests/support/dialog_template.h"

using hooktest::TheEnv;

namespace {

enum Kind : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83 };

struct Control {
  Kind kind;
  int id;
  short x, y, cx, cy;
  DWORD style;  // the control's type bits and any further required bits
  std::string text;
};

struct Template {
  std::string caption;
  short cx, cy;
  std::string font;
  WORD points;
  std::vector<Control> controls;
};

::testing::AssertionResult Parse(int id, DWORD* style, Template* t) {
  veldra_test::DialogTemplate d;
  if (!veldra_test::ReadDialogTemplate(TheEnv().shipped->module(), id, 1033, &d)) {
    return ::testing::AssertionFailure() << "no template " << id;
  }
  *style = d.style;
  t->caption = d.caption;
  t->cx = static_cast<short>(d.cx);
  t->cy = static_cast<short>(d.cy);
  t->font = d.font;
  t->points = static_cast<WORD>(d.pointSize);
  for (const veldra_test::DialogItem& item : d.items) {
    t->controls.push_back(Control{static_cast<Kind>(item.classOrdinal), item.id, static_cast<short>(item.x),
                                  static_cast<short>(item.y), static_cast<short>(item.cx),
                                  static_cast<short>(item.cy), item.style, item.text});
  }
  return ::testing::AssertionSuccess();
}

void ExpectTemplate(int id, const Template& expected) {
  SCOPED_TRACE(id);
  DWORD style = 0;
  Template t;
  ASSERT_TRUE(Parse(id, &style, &t));
  EXPECT_EQ(style & ~DWORD{DS_SETFONT},
            DWORD{DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE});
  EXPECT_EQ(t.caption, expected.caption);
  EXPECT_EQ(t.cx, expected.cx);
  EXPECT_EQ(t.cy, expected.cy);
  EXPECT_EQ(t.font, "MS Sans Serif");
  EXPECT_EQ(t.points, 8);
  ASSERT_EQ(t.controls.size(), expected.controls.size());
  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    const Control& a = t.controls[i];
    const Control& e = expected.controls[i];
    SCOPED_TRACE(e.text);
    EXPECT_EQ(a.kind, e.kind);
    EXPECT_EQ(a.id, e.id);
    EXPECT_EQ(a.x, e.x);
    EXPECT_EQ(a.y, e.y);
    EXPECT_EQ(a.cx, e.cx);
    EXPECT_EQ(a.cy, e.cy);
    EXPECT_EQ(a.text, e.text);
    EXPECT_EQ(a.style & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
    switch (e.kind) {
      case kButton:
        EXPECT_EQ(a.style & 0xF, e.style);
        break;
      case kStatic:
        EXPECT_EQ(a.style & SS_TYPEMASK, e.style);
        break;
      default:
        EXPECT_EQ(a.style & e.style, e.style);
        break;
    }
  }
}

const DWORD kDefault = BS_DEFPUSHBUTTON;
const DWORD kPush = BS_PUSHBUTTON;

TEST(Templates, ExitSetup) {
  ExpectTemplate(
      IDD_EXIT_SETUP,
      {"Exit Setup",
       263,
       113,
       "",
       0,
       {{kButton, 1, 73, 94, 50, 14, kDefault, "Shutdown"},
        {kButton, 2, 138, 94, 50, 14, kPush, "Exit"},
        {kStatic, -1, 6, 18, 208, 8, SS_LEFT, "The Tervalon ZOVORO Library has been successfully installed."},
        {kStatic, -1, 6, 35, 245, 16, SS_LEFT,
         "Select 'Shutdown' to shutdown  the system.  When the system is restarted,  the driver will "
         "automatically load and run."},
        {kStatic, -1, 6, 60, 249, 17, SS_LEFT,
         "Select 'Exit' to exit Setup without starting the driver.  The system needs to be shutdown and "
         "restarted before the driver will operate properly."}}});
}

TEST(Templates, Welcome) {
  ExpectTemplate(IDD_WELCOME, {"Welcome",
                               263,
                               129,
                               "",
                               0,
                               {{kStatic, 1001, 11, 12, 242, 88, SS_LEFT, ""},
                                {kButton, 1, 73, 105, 50, 14, kDefault, "Continue"},
                                {kButton, 2, 138, 105, 50, 14, kPush, "Exit"}}});
}

TEST(Templates, Destination) {
  ExpectTemplate(IDD_DESTINATION,
                 {"Destination Directory",
                  185,
                  197,
                  "",
                  0,
                  {{kButton, 1, 38, 173, 50, 14, kDefault, "OK"},
                   {kButton, 2, 95, 173, 50, 14, kPush, "Cancel"},
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
                    "Select a destination directory for the ZOVORO demo programs and the driver "
                    "configuration utility."}}});
}

TEST(Templates, IncompleteInstall) {
  ExpectTemplate(IDD_INCOMPLETE_INSTALL,
                 {"Incomplete Installation",
                  263,
                  73,
                  "",
                  0,
                  {{kButton, 1, 106, 54, 50, 14, kPush, "Exit"},
                   {kStatic, -1, 14, 18, 233, 16, SS_LEFT,
                    "The Tervalon ZOVORO Library has not been completely installed.  The software must be "
                    "reinstalled before the driver will run properly."}}});
}

}  // namespace

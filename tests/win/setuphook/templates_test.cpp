// The dialog templates as stored in the library: window styles, font,
// captions and every control's class, id, position, style and text, in
// template (tab) order.
#include <gtest/gtest.h>

#include <vector>

#include "env.h"
#include "resource.h"

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

// Reads a sz_Or_Ord field: a UTF-16 string or 0xFFFF and an ordinal.
const WORD* ReadField(const WORD* p, std::string* text, WORD* ordinal) {
  if (*p == 0xFFFF) {
    *ordinal = p[1];
    text->clear();
    return p + 2;
  }
  *ordinal = 0;
  text->clear();
  while (*p != 0) text->push_back(static_cast<char>(*p++));
  return p + 1;
}

const WORD* AlignDword(const WORD* p, const void* base) {
  const std::uintptr_t offset = reinterpret_cast<const BYTE*>(p) - static_cast<const BYTE*>(base);
  return offset % 4 ? p + 1 : p;
}

::testing::AssertionResult Parse(int id, DWORD* style, Template* t) {
  const HMODULE m = TheEnv().shipped->module();
  HRSRC res = FindResourceExA(m, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id), 1033);
  if (res == nullptr) return ::testing::AssertionFailure() << "no template " << id;
  const void* base = LockResource(LoadResource(m, res));
  const DLGTEMPLATE* d = static_cast<const DLGTEMPLATE*>(base);
  *style = d->style;
  t->cx = d->cx;
  t->cy = d->cy;
  const WORD* p = reinterpret_cast<const WORD*>(d + 1);
  std::string text;
  WORD ordinal;
  p = ReadField(p, &text, &ordinal);  // menu
  p = ReadField(p, &text, &ordinal);  // class
  p = ReadField(p, &t->caption, &ordinal);
  if (d->style & DS_SETFONT) {
    t->points = *p++;
    p = ReadField(p, &t->font, &ordinal);
  }
  for (int i = 0; i < d->cdit; ++i) {
    p = AlignDword(p, base);
    const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Control c;
    c.style = item->style;
    c.x = item->x;
    c.y = item->y;
    c.cx = item->cx;
    c.cy = item->cy;
    c.id = item->id == 0xFFFF ? -1 : item->id;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(item) + sizeof(DLGITEMTEMPLATE));
    WORD cls = 0;
    p = ReadField(p, &text, &cls);
    c.kind = static_cast<Kind>(cls);
    p = ReadField(p, &c.text, &ordinal);
    const WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    t->controls.push_back(c);
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

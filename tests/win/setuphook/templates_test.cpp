// The dialog templates as stored in the library: window styles, font,
// captions and every control's class, id, position, style and text, in
// template (tab) order.
#include <gtest/gtest.h>

#include "env.h"
#include "expected_dialogs.h"
#include "tests/support/dialog_template.h"

using hooktest::TheEnv;

namespace {

using namespace hooktest;

void ExpectTemplate(const ExpectedDialog& expected) {
  SCOPED_TRACE(expected.caption);
  veldra_test::DialogTemplate t;
  ASSERT_TRUE(veldra_test::ReadDialogTemplate(TheEnv().shipped->module(), expected.id, 1033, &t));
  EXPECT_EQ(t.style & ~DWORD{DS_SETFONT},
            DWORD{DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE});
  EXPECT_EQ(t.caption, expected.caption);
  EXPECT_EQ(t.cx, expected.cx);
  EXPECT_EQ(t.cy, expected.cy);
  EXPECT_EQ(t.font, "MS Sans Serif");
  EXPECT_EQ(t.pointSize, 8);
  ASSERT_EQ(t.items.size(), expected.controls.size());
  for (std::size_t i = 0; i < t.items.size(); ++i) {
    const veldra_test::DialogItem& a = t.items[i];
    const ExpectedControl& e = expected.controls[i];
    SCOPED_TRACE(e.text);
    EXPECT_EQ(a.classOrdinal, e.kind);
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

TEST(Templates, ExitSetup) { ExpectTemplate(kExitSetup); }
TEST(Templates, Welcome) { ExpectTemplate(kWelcome); }
TEST(Templates, Destination) { ExpectTemplate(kDestination); }
TEST(Templates, IncompleteInstall) { ExpectTemplate(kIncompleteInstall); }

}  // namespace

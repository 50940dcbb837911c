// The dialog templates as stored in the library: window styles, font,
// captions and every control's class, id, position, style and text, in
// template (tab) order.
#include <gtest/gtest.h>

#include "env.h"
#include "expected_dialogs.h"

using hooktest::TheEnv;

namespace {

using namespace hooktest;

// Every control is a visible child; buttons and labels must be of exactly
// their type, other controls have at least the expected style bits.
void ExpectTemplate(const ExpectedDialog& expected) {
  veldra_test::ExpectTemplate(TheEnv().shipped->module(), expected.id, 1033, expected.dialog,
                              [](const veldra_test::DialogItem& e, const veldra_test::DialogItem& a) {
                                if ((a.style & (WS_CHILD | WS_VISIBLE)) != DWORD{WS_CHILD | WS_VISIBLE})
                                  return false;
                                if (e.cls == "Button") return (a.style & 0xF) == e.style;
                                if (e.cls == "Static") return (a.style & SS_TYPEMASK) == e.style;
                                return (a.style & e.style) == e.style;
                              });
}

TEST(Templates, ExitSetup) { ExpectTemplate(kExitSetup); }
TEST(Templates, Welcome) { ExpectTemplate(kWelcome); }
TEST(Templates, Destination) { ExpectTemplate(kDestination); }
TEST(Templates, IncompleteInstall) { ExpectTemplate(kIncompleteInstall); }

}  // namespace

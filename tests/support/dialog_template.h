// Reads a dialog template (RT_DIALOG, the classic DLGTEMPLATE form) out of a
// loaded module and compares it with the expected one, so that tests can
// check a built .rc control by control.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace veldra_test {

struct DialogItem {
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;       // -1 for the "no id" of fixed labels (0xFFFF)
  std::string cls;  // the class name, also for predefined ordinals
  std::string text;
  WORD classOrdinal = 0;  // 0x80 Button ... 0x85 ComboBox; 0 for a class name
};

struct DialogTemplate {
  DWORD style = 0;
  int cx = 0, cy = 0;
  std::string caption;
  int pointSize = 0;
  std::string font;
  std::vector<DialogItem> items;
};

namespace detail {

// A sz_Or_Ord field: a UTF-16 string (ASCII is all the templates hold) or
// 0xFFFF followed by an ordinal.
inline const WORD* ReadField(const WORD* p, std::string* text, WORD* ordinal) {
  text->clear();
  *ordinal = 0;
  if (*p == 0xFFFF) {
    *ordinal = p[1];
    return p + 2;
  }
  while (*p != 0) text->push_back(static_cast<char>(*p++));
  return p + 1;
}

}  // namespace detail

// Template `id` of `module` in `language` (0: whichever the loader finds).
// False when the module has no such template.
inline bool ReadDialogTemplate(HMODULE module, int id, WORD language, DialogTemplate* out) {
  HRSRC resource = language == 0
                       ? FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5))  // RT_DIALOG
                       : FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id), language);
  if (resource == nullptr) return false;
  const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
  if (base == nullptr) return false;
  const auto* head = reinterpret_cast<const DLGTEMPLATE*>(base);
  *out = DialogTemplate();
  out->style = head->style;
  out->cx = head->cx;
  out->cy = head->cy;
  std::string ignored;
  WORD ordinal = 0;
  const WORD* p = reinterpret_cast<const WORD*>(head + 1);
  p = detail::ReadField(p, &ignored, &ordinal);  // menu
  p = detail::ReadField(p, &ignored, &ordinal);  // window class
  p = detail::ReadField(p, &out->caption, &ordinal);
  if (head->style & DS_SETFONT) {
    out->pointSize = *p++;
    p = detail::ReadField(p, &out->font, &ordinal);
  }
  static const char* const kClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  for (int i = 0; i < head->cdit; ++i) {
    const auto offset = reinterpret_cast<const BYTE*>(p) - base;
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(base + ((offset + 3) & ~3));  // DWORD aligned
    DialogItem it;
    it.style = item->style;
    it.x = item->x;
    it.y = item->y;
    it.cx = item->cx;
    it.cy = item->cy;
    it.id = item->id == 0xFFFF ? -1 : item->id;
    p = reinterpret_cast<const WORD*>(item + 1);
    p = detail::ReadField(p, &it.cls, &it.classOrdinal);
    if (it.classOrdinal >= 0x80 && it.classOrdinal <= 0x85) it.cls = kClasses[it.classOrdinal - 0x80];
    p = detail::ReadField(p, &it.text, &ordinal);
    const WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    out->items.push_back(it);
  }
  return true;
}

// An expected template in "MS Sans Serif" 8.
inline DialogTemplate Expected(DWORD style, int cx, int cy, const std::string& caption,
                               std::vector<DialogItem> items) {
  return DialogTemplate{style, cx, cy, caption, 8, "MS Sans Serif", std::move(items)};
}

// Template `id` of `module` must have exactly this frame (style, size,
// caption, "MS Sans Serif" 8) and these controls in this order: class (any
// case), id, position and text equal, and sameStyle(expected, actual) true.
template <class SameStyle>
void ExpectTemplate(HMODULE module, int id, WORD language, const DialogTemplate& expected,
                    SameStyle sameStyle) {
  SCOPED_TRACE(expected.caption);
  DialogTemplate t;
  ASSERT_TRUE(ReadDialogTemplate(module, id, language, &t)) << "no template " << id;
  EXPECT_EQ(expected.style, t.style);
  EXPECT_EQ(expected.cx, t.cx);
  EXPECT_EQ(expected.cy, t.cy);
  EXPECT_EQ(expected.caption, t.caption);
  EXPECT_EQ(8, t.pointSize);
  EXPECT_EQ("MS Sans Serif", t.font);
  ASSERT_EQ(expected.items.size(), t.items.size());
  for (std::size_t i = 0; i < t.items.size(); ++i) {
    const DialogItem& e = expected.items[i];
    const DialogItem& a = t.items[i];
    SCOPED_TRACE("control " + std::to_string(i) + " \"" + e.text + "\"");
    EXPECT_EQ(e.id, a.id);
    EXPECT_EQ(0, lstrcmpiA(e.cls.c_str(), a.cls.c_str())) << e.cls << " vs " << a.cls;
    EXPECT_EQ(e.text, a.text);
    EXPECT_EQ(e.x, a.x);
    EXPECT_EQ(e.y, a.y);
    EXPECT_EQ(e.cx, a.cx);
    EXPECT_EQ(e.cy, a.cy);
    EXPECT_TRUE(sameStyle(e, a)) << std::hex << "style " << a.style << ", expected " << e.style;
  }
}

}  // namespace veldra_test

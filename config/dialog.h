// A small modal-dialog framework: a Dialog runs a template from the program's
// resources centred on the screen, dispatches WM_COMMAND through the command
// table its class declares (DialogOf) and exchanges member data with its
// controls.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/fixed_text.h"
#include "registry/registry.h"

namespace veldra::config {

// Command id under which a dialog's table receives the window close command
// (WM_CLOSE from the system menu or the title bar); no control uses it.
constexpr WORD kWindowClose = 0xFFFE;

// A process-wide re-entrancy flag of one dialog class: commands that start a
// nested operation set it, and the class's handlers do nothing while it is set.
struct BusyFlag {
  int value = 0;
  bool busy() const { return value != 0; }
};

// Sets a BusyFlag for the lifetime of the scope.
class BusyScope {
 public:
  explicit BusyScope(BusyFlag& flag) : flag_(flag) { flag_.value = 1; }
  ~BusyScope() { flag_.value = 0; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyFlag& flag_;
};

// The executable's file name without directory and extension: the caption of
// the data-exchange messages.
const char* ProgramName();

// Index of the first of `count` lines, from the top, that begins with
// `prefix` without regard to case; -1 when none does.
template <class LineAt>
int FindPrefixLine(int count, const char* prefix, LineAt lineAt) {
  const std::size_t length = static_cast<std::size_t>(lstrlenA(prefix));
  for (int i = 0; i < count; ++i) {
    const auto line = lineAt(i);
    if (line.size() >= length && _strnicmp(line.c_str(), prefix, length) == 0) return i;
  }
  return -1;
}

// Text of line `index` of a list box (LB_GETTEXTLEN, LB_GETTEXT) or of a
// combo box's list (CB_GETLBTEXTLEN, CB_GETLBTEXT); "" when there is none.
// Lines are adapter names and catalogue type names, both far shorter than
// this; a longer line reads as "".
using LineBuffer = FixedText<256>;
LineBuffer LineText(HWND control, UINT lengthMessage, UINT textMessage, int index);

class Dialog;

// One data exchange between a dialog's members and its controls. Each helper
// returns false after it has reported a failure and moved the focus to the
// failing control; DoDataExchange stops at the first false.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}
  bool saving() const { return save_; }

  // Into the control: selects the first line beginning with `value` (no case),
  // or leaves the selection as it is. Out: the selected line's text, or "".
  bool ComboPrefix(int id, NameText& value);
  // Into the control: "%lu". Out: ParseUnsignedText, "Please enter an
  // integer." when it fails. The converted number is stored at once.
  bool Unsigned(int id, std::uint32_t& value);
  // Only when saving: low..high inclusive, else the range message.
  bool Range(int id, std::uint32_t value, std::uint32_t low, std::uint32_t high);

 private:
  bool Fail(int id, const char* message);

  Dialog& dialog_;
  bool save_;
};

class Dialog {
 public:
  // `owner` is disabled while the dialog runs; without one the dialog is a
  // top-level window of its own and every other window stays usable.
  explicit Dialog(int templateId, HWND owner = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates, shows and runs the dialog until EndDialog; -1 if it could not be
  // created.
  INT_PTR DoModal();
  void EndDialog(INT_PTR result);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // Exchanges members and controls; false when a check failed.
  bool UpdateData(bool save);

  // Result of DoModal when the dialog could not be created.
  static constexpr INT_PTR kNotShown = -1;

 protected:
  // Runs the data exchange into the controls. Returns true to let the dialog
  // manager give the focus to the first tab stop. The dialog is centred on
  // the screen once it returns.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual bool DoDataExchange(DataExchange& dx);
  // The class's command table; true when the command was handled.
  virtual bool DispatchCommand(WORD id, WORD code);

 private:
  // x = (screen width - width) / 2, y likewise, without repainting.
  void CenterOnScreen();
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleCommand(WORD id, WORD code, HWND control);
  // Gives keyboard messages to the dialog whose window they are aimed at, so
  // an unowned dialog's keys work while another dialog's loop is running.
  static bool PreTranslate(MSG& msg);

  int templateId_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = kNotShown;
  bool exchanging_ = false;
};

// A dialog class D with its own command table and BusyFlag. D declares
//   static constexpr Command kCommands[] = {{id, code, &D::Handler, busy}, ...};
// where `busy` is kIgnoredWhileBusy for a command that does nothing while the
// class's flag is set. The flag is one per class for the whole process.
template <class D>
class DialogOf : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  static constexpr bool kIgnoredWhileBusy = true;
  struct Command {
    WORD id;
    WORD code;
    void (D::*handler)();
    bool ignoredWhileBusy = false;
  };
  static inline BusyFlag busy_;

  bool DispatchCommand(WORD id, WORD code) override {
    for (const Command& entry : D::kCommands) {
      if (entry.id != id || entry.code != code) continue;
      if (!(entry.ignoredWhileBusy && busy_.busy())) (static_cast<D*>(this)->*entry.handler)();
      return true;
    }
    return false;
  }
};

// The About box; shown with no owner window.
void ShowAboutBox();

}  // namespace veldra::config

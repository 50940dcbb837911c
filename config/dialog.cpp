#include "config/dialog.h"

#include "config/number_text.h"
#include "config/resource.h"

namespace veldra::config {

namespace {

constexpr char kDialogProperty[] = "VeldraDialog";

bool IsEditControl(HWND control) {
  char cls[16] = {};
  GetClassNameA(control, cls, sizeof cls);
  return lstrcmpiA(cls, "Edit") == 0;
}

LineBuffer ComboLine(HWND combo, int index) { return LineText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }

}  // namespace

LineBuffer LineText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  // LB_ERR and CB_ERR are both -1.
  const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length < 0 || static_cast<std::size_t>(length) > LineBuffer::capacity()) return LineBuffer();
  char text[LineBuffer::capacity() + 1];
  const LRESULT got =
      SendMessageA(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  text[got < 0 ? 0 : got > length ? length : got] = '\0';
  return LineBuffer(text);
}

const char* ProgramName() {
  static char name[MAX_PATH];
  if (name[0] == '\0') {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH - 1] = '\0';
    const char* file = path;
    for (const char* p = path; *p != '\0'; ++p) {
      if (*p == '\\' || *p == '/') file = p + 1;
    }
    lstrcpynA(name, file, MAX_PATH);
    char* dot = nullptr;
    for (char* p = name; *p != '\0'; ++p) {
      if (*p == '.') dot = p;
    }
    if (dot != nullptr) *dot = '\0';
  }
  return name;
}

// ---- DataExchange

bool DataExchange::ComboPrefix(int id, NameText& value) {
  HWND combo = dialog_.Item(id);
  if (!save_) {
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    int line = FindPrefixLine(count, value, [combo](int i) { return ComboLine(combo, i); });
    if (line >= 0) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
    return true;
  }
  LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  value = selected == CB_ERR ? "" : ComboLine(combo, static_cast<int>(selected)).c_str();
  return true;
}

bool DataExchange::Unsigned(int id, std::uint32_t& value) {
  HWND edit = dialog_.Item(id);
  if (!save_) {
    SetWindowTextA(edit, FormatUnsigned(value).c_str());
    return true;
  }
  char text[kNumberTextChars + 1] = {};
  GetWindowTextA(edit, text, sizeof text);
  std::uint32_t converted = 0;
  if (!ParseUnsignedText(text, &converted)) return Fail(id, kNotANumberMessage);
  value = converted;
  return true;
}

bool DataExchange::Range(int id, std::uint32_t value, std::uint32_t low, std::uint32_t high) {
  if (!save_ || (value >= low && value <= high)) return true;
  return Fail(id, RangeMessage(low, high).c_str());
}

bool DataExchange::Fail(int id, const char* message) {
  MessageBoxA(nullptr, message, ProgramName(), MB_OK | MB_ICONEXCLAMATION);
  HWND control = dialog_.Item(id);
  if (control != nullptr) {
    SetFocus(control);
    if (IsEditControl(control)) SendMessageA(control, EM_SETSEL, 0, -1);
  }
  return false;
}

// ---- Dialog

Dialog::Dialog(int templateId, HWND owner) : templateId_(templateId), owner_(owner) {}

Dialog::~Dialog() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void ShowAboutBox() {
  Dialog about(IDD_ABOUTBOX);
  about.DoModal();
}

INT_PTR Dialog::DoModal() {
  ended_ = false;
  result_ = kNotShown;
  hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner_, Proc,
                             reinterpret_cast<LPARAM>(this));
  if (hwnd_ == nullptr) return kNotShown;

  bool disabledOwner = false;
  if (owner_ != nullptr && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    disabledOwner = true;
  }
  if (!ended_) ShowWindow(hwnd_, SW_SHOW);

  MSG msg;
  while (!ended_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  if (disabledOwner) EnableWindow(owner_, TRUE);
  if (owner_ != nullptr && GetActiveWindow() == hwnd_) SetActiveWindow(owner_);
  HWND window = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(window);
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (hwnd_ != nullptr) {
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageA(hwnd_, WM_NULL, 0, 0);  // wakes the loop if it is waiting
  }
}

bool Dialog::PreTranslate(MSG& msg) {
  if (msg.hwnd == nullptr) return false;
  // The top-level window the message is for (GetAncestor's GA_ROOT, which
  // NT 4.0 lacks): child windows lead up through their parents.
  HWND root = msg.hwnd;
  while (root != nullptr && (GetWindowLongA(root, GWL_STYLE) & WS_CHILD) != 0) root = GetParent(root);
  if (root == nullptr || GetPropA(root, kDialogProperty) == nullptr) return false;
  return IsDialogMessageA(root, &msg) != FALSE;
}

bool Dialog::UpdateData(bool save) {
  const bool wasExchanging = exchanging_;
  if (save) exchanging_ = true;
  DataExchange dx(*this, save);
  const bool ok = DoDataExchange(dx);
  exchanging_ = wasExchanging;
  return ok;
}

void Dialog::CenterOnScreen() {
  RECT rect;
  if (!GetWindowRect(hwnd_, &rect)) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(hwnd_, x, y, width, height, FALSE);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::DoDataExchange(DataExchange&) { return true; }

bool Dialog::DispatchCommand(WORD, WORD) { return false; }

INT_PTR Dialog::HandleCommand(WORD id, WORD code, HWND control) {
  // A data exchange may show a message box; clicks on this dialog's controls
  // meanwhile must not start anything that reads half-exchanged members.
  if (exchanging_ && control != nullptr && GetParent(control) == hwnd_) return TRUE;
  if (DispatchCommand(id, code)) return TRUE;
  if (code == BN_CLICKED && id == IDOK) {
    OnOK();
    return TRUE;
  }
  if (code == BN_CLICKED && id == IDCANCEL) {
    OnCancel();
    return TRUE;
  }
  // The application object's table: the About command, which no control of
  // the adapter list sends, shows the About box from any dialog.
  if (code == BN_CLICKED && id == ID_APP_ABOUT) {
    ShowAboutBox();
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    SetPropA(hwnd, kDialogProperty, reinterpret_cast<HANDLE>(self));
    self->hwnd_ = hwnd;
    const bool focusFirst = self->OnInitDialog();
    self->CenterOnScreen();
    return focusFirst ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return self->HandleCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
      // Without an entry for the close command the dialog manager turns it
      // into IDCANCEL.
      return self->DispatchCommand(kWindowClose, 0) ? TRUE : FALSE;
    case WM_DESTROY:
      RemovePropA(hwnd, kDialogProperty);
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace veldra::config

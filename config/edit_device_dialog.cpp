#include "config/edit_device_dialog.h"

#include "config/about_box.h"
#include "config/resource.h"
#include "registry/text.h"

namespace veldra::config {

namespace {

constexpr char kUnknownType[] = "Unknown";

}  // namespace

BusyFlag EditDeviceDialog::busy_;

const Command<EditDeviceDialog> EditDeviceDialog::kCommands[] = {
    {IDC_ADAPTER_NUMBER, EN_KILLFOCUS, &EditDeviceDialog::OnNumberKillFocus},
    {IDC_DEVICE_TYPE, CBN_SELENDOK, &EditDeviceDialog::OnTypeChanged},
    {IDC_SETUP, BN_CLICKED, &EditDeviceDialog::OnSetup},
    {kWindowClose, 0, &EditDeviceDialog::OnWindowClose},
    {IDC_DO_NOTHING, BN_CLICKED, &EditDeviceDialog::OnDoNothing},
    {ID_APP_ABOUT, BN_CLICKED, &EditDeviceDialog::OnAbout},
    {IDOK, BN_CLICKED, &EditDeviceDialog::OnOK},
    {IDCANCEL, BN_CLICKED, &EditDeviceDialog::OnCancel},
};

EditDeviceDialog::EditDeviceDialog(RegistryStore& store, PluginLoader& loader)
    : Dialog(IDD_EDIT_DEVICE, nullptr), store_(store), loader_(loader) {}

EditDeviceDialog::~EditDeviceDialog() { ReleaseList(loader_, settings_); }

bool EditDeviceDialog::DispatchCommand(WORD id, WORD code) {
  return veldra::config::DispatchCommand(*this, kCommands, id, code);
}

bool EditDeviceDialog::DoDataExchange(DataExchange& dx) {
  return dx.ComboPrefix(IDC_DEVICE_TYPE, typeName) && dx.Unsigned(IDC_ADAPTER_NUMBER, adapterNumber) &&
         dx.Range(IDC_ADAPTER_NUMBER, adapterNumber, kLowestNumber, kHighestNumber);
}

bool EditDeviceDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  catalog_ = LoadCatalog(store_);
  rowCount_ = catalog_.count;
  const int selected = FillTypeList();
  settings_ = ReadSettings(store_, loader_, catalog_, selected, adapterNumber, settings_);
  CenterOnScreen();
  return true;
}

int EditDeviceDialog::FillTypeList() {
  HWND combo = Item(IDC_DEVICE_TYPE);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  if (rowCount_ == 0 || catalog_.empty()) return -1;
  for (const DeviceTypeRecord& row : catalog_.rows) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
  }
  const int lines = static_cast<int>(catalog_.rows.size());
  auto lineAt = [this](int i) { return std::string(catalog_.rows[static_cast<std::size_t>(i)].name); };
  int selected = FindPrefixLine(lines, typeName, lineAt);
  if (selected < 0) selected = FindPrefixLine(lines, kUnknownType, lineAt);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return selected;
}

int EditDeviceDialog::SelectedRow() const {
  LRESULT selected = SendMessageA(Item(IDC_DEVICE_TYPE), CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void EditDeviceDialog::OnNumberKillFocus() { UpdateData(true); }

void EditDeviceDialog::OnTypeChanged() {
  UpdateData(true);
  if (busy_.busy()) return;
  settings_ = ReadSettings(store_, loader_, catalog_, SelectedRow(), adapterNumber, settings_);
}

void EditDeviceDialog::OnSetup() {
  if (busy_.busy()) return;
  BusyScope scope(busy_);
  EditSettings(loader_, catalog_, SelectedRow(), &settings_);
}

void EditDeviceDialog::OnDoNothing() {}

void EditDeviceDialog::OnAbout() {
  UpdateData(true);
  AboutBox about;
  about.DoModal();
}

void EditDeviceDialog::OnWindowClose() {
  if (busy_.busy()) return;
  OnCancel();
}

void EditDeviceDialog::OnOK() {
  if (busy_.busy()) return;
  if (!UpdateData(true)) return;
  if (EqualsNoCase(typeName.c_str(), kUnknownType)) {
    MessageBoxA(hwnd(),
                "The device can't be saved with an unknown device type.  Either select a different device "
                "type or select Cancel.",
                "Unknown Device Type", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EndDialog(1);
}

void EditDeviceDialog::OnCancel() {
  if (busy_.busy()) return;
  if (MessageBoxA(hwnd(), "Are you sure you want to exit without saving changes?", "Exit Without Saving",
                  MB_YESNO | MB_ICONQUESTION) == IDYES) {
    EndDialog(0);
  }
}

}  // namespace veldra::config

#include "config/edit_device_dialog.h"

#include "base/text.h"

namespace veldra::config {

namespace {

constexpr char kUnknownType[] = "Unknown";

}  // namespace

EditDeviceDialog::EditDeviceDialog(RegistryStore& store, PluginLoader& loader)
    : DialogOf(IDD_EDIT_DEVICE), store_(store), loader_(loader) {}

EditDeviceDialog::~EditDeviceDialog() { ReleaseList(loader_, settings_); }

bool EditDeviceDialog::DoDataExchange(DataExchange& dx) {
  return dx.ComboPrefix(IDC_DEVICE_TYPE, typeName) && dx.Unsigned(IDC_ADAPTER_NUMBER, adapterNumber) &&
         dx.Range(IDC_ADAPTER_NUMBER, adapterNumber, kLowestNumber, kHighestNumber);
}

bool EditDeviceDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  catalog_ = LoadCatalog(store_);
  const int selected = FillTypeList();
  settings_ = ReadSettings(store_, loader_, catalog_, selected, adapterNumber, settings_);
  return true;
}

int EditDeviceDialog::FillTypeList() {
  HWND combo = Item(IDC_DEVICE_TYPE);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  if (catalog_.empty()) return -1;
  for (const DeviceTypeRecord& row : catalog_.rows) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
  }
  const int lines = static_cast<int>(catalog_.rows.size());
  auto lineAt = [this](int i) { return NameText(catalog_.rows[static_cast<std::size_t>(i)].name); };
  int selected = FindPrefixLine(lines, typeName, lineAt);
  if (selected < 0) selected = FindPrefixLine(lines, kUnknownType, lineAt);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return selected;
}

int EditDeviceDialog::SelectedRow() const {
  LRESULT selected = SendMessageA(Item(IDC_DEVICE_TYPE), CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void EditDeviceDialog::OnTypeChanged() {
  UpdateData(true);
  if (busy_.busy()) return;
  settings_ = ReadSettings(store_, loader_, catalog_, SelectedRow(), adapterNumber, settings_);
}

void EditDeviceDialog::OnSetup() {
  BusyScope scope(busy_);
  EditSettings(loader_, catalog_, SelectedRow(), &settings_);
}

void EditDeviceDialog::OnAbout() {
  UpdateData(true);
  ShowAboutBox();
}

void EditDeviceDialog::OnOK() {
  if (!UpdateData(true)) return;
  if (EqualsNoCase(typeName.c_str(), kUnknownType)) {
    MessageBoxA(hwnd(),
                "The device can't be saved with an unknown device type.  Either select a different device "
                "type or select Cancel.",
                "Unknown Device Type", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EndDialog(kConfirmed);
}

void EditDeviceDialog::OnCancel() {
  if (MessageBoxA(hwnd(), "Are you sure you want to exit without saving changes?", "Exit Without Saving",
                  MB_YESNO | MB_ICONQUESTION) == IDYES) {
    EndDialog(kDiscarded);
  }
}

}  // namespace veldra::config

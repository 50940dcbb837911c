#include "config/adapter_list_dialog.h"

#include "config/edit_device_dialog.h"
#include "registry/adapter_commands.h"
#include "registry/device_keys.h"
#include "registry/start_values.h"

namespace veldra::config {

namespace {

LineBuffer ListLine(HWND list, int index) { return LineText(list, LB_GETTEXTLEN, LB_GETTEXT, index); }

}  // namespace

AdapterListDialog::AdapterListDialog(RegistryStore& store, PluginLoader& loader)
    : DialogOf(IDD_ADAPTER_LIST), store_(store), loader_(loader) {}

bool AdapterListDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  serviceKey_ = OpenServiceKey(store_);
  RefillList();
  return true;
}

void AdapterListDialog::RefillList() {
  if (!serviceKey_) return;
  HWND list = List();
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const AdapterEntry& entry : ListAdapters(serviceKey_)) {
    const AdapterLine text = AdapterLineText(entry.number);
    LRESULT line = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (line == LB_ERR || line == LB_ERRSPACE) continue;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(line), static_cast<LPARAM>(entry.index));
  }
}

void AdapterListDialog::OnNew() {
  BusyScope scope(busy_);
  const AdapterNumber number = NewAdapter(store_, serviceKey_);
  if (number == kNoAdapterNumber) return;
  RefillList();
  HWND list = List();
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const int line =
      FindPrefixLine(count, AdapterLineText(number), [list](int i) { return ListLine(list, i); });
  if (line >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  EditSelected();
}

void AdapterListDialog::OnEdit() {
  BusyScope scope(busy_);
  EditSelected();
}

void AdapterListDialog::EditSelected() {
  HWND list = List();
  const LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (line == LB_ERR) return;
  const AdapterNumber number = ParseAdapterLineText(ListLine(list, static_cast<int>(line)).c_str());
  const LRESULT index = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
  if (index == LB_ERR) return;
  Key deviceKey;
  const Listed listed = OpenListedAdapter(serviceKey_, static_cast<std::uint32_t>(index), number, &deviceKey);
  if (listed == Listed::Stale) RefillList();
  if (listed == Listed::Done) EditAdapter(deviceKey, number);
}

void AdapterListDialog::EditAdapter(const Key& deviceKey, AdapterNumber number) {
  EditDeviceDialog dialog(store_, loader_);
  if (number != kNoAdapterNumber) dialog.adapterNumber = number;
  ReadDeviceValues(deviceKey, &dialog.typeName, &dialog.adapterNumber);
  for (;;) {
    if (dialog.DoModal() != EditDeviceDialog::kConfirmed) return;
    const SaveResult result =
        SaveEditedAdapter(loader_, serviceKey_, dialog.catalog(), dialog.typeName.c_str(),
                          dialog.adapterNumber, dialog.settings(), *this);
    if (result == SaveResult::Saved) {
      RefillList();
      return;
    }
    // Back to the Edit Device dialog: the user may try again or cancel.
    if (result == SaveResult::Failed) {
      FixedText<80> text("Adapter ");
      text.AppendNumber(dialog.adapterNumber);
      text.Append(" could not be saved. Its previous settings are unchanged.");
      MessageBoxA(hwnd(), text.c_str(), "Adapter Not Saved", MB_OK | MB_ICONEXCLAMATION);
    }
  }
}

bool AdapterListDialog::ConfirmUpdate(AdapterNumber number) {
  FixedText<32> text("Update Adapter ");
  text.AppendNumber(number);
  text.Append("?");
  return MessageBoxA(hwnd(), text.c_str(), "Adapter Already Exists", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void AdapterListDialog::RestartNotice() {
  MessageBoxA(hwnd(), "Changes made will not take effect until the system is shutdown and restarted.",
              "Changes Made", MB_OK | MB_ICONINFORMATION);
}

void AdapterListDialog::OnDelete() {
  HWND list = List();
  const LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (line == LB_ERR) return;
  const LRESULT index = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
  if (index == LB_ERR) return;
  if (MessageBoxA(hwnd(), "Are you sure you want to delete this entry?", "Confirm Delete",
                  MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  const AdapterNumber number = ParseAdapterLineText(ListLine(list, static_cast<int>(line)).c_str());
  if (DeleteListedAdapter(serviceKey_, static_cast<std::uint32_t>(index), number) == Listed::Failed) {
    MessageBoxA(hwnd(), "The entry could not be deleted.", "Delete Failed", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  RefillList();
}

void AdapterListDialog::OnClose() {
  ApplyServiceStartValues(store_);
  EndDialog(kClosed);
}

}  // namespace veldra::config

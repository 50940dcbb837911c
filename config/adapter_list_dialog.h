// The program's main dialog: the adapters configured for the driver, with
// New, Edit, Delete and Close, and the save procedure around Edit Device.
#pragma once

#include "config/dialog.h"
#include "config/resource.h"
#include "registry/adapter_commands.h"

namespace veldra::config {

class AdapterListDialog : public DialogOf<AdapterListDialog>, private SavePrompts {
 public:
  AdapterListDialog(RegistryStore& store, PluginLoader& loader);

  // What DoModal returns.
  static constexpr INT_PTR kClosed = 1;   // Close: the start values were applied
  static constexpr INT_PTR kEscaped = 2;  // Escape: ended at once, even while busy

 private:
  friend DialogOf<AdapterListDialog>;

  bool OnInitDialog() override;
  void OnCancel() override { EndDialog(kEscaped); }
  // New and Edit set the busy flag for their whole run, Edit Device included.
  void OnNew();
  void OnEdit();
  void OnDelete();
  void OnClose();

  static constexpr Command kCommands[] = {
      {IDC_NEW, BN_CLICKED, &AdapterListDialog::OnNew, kIgnoredWhileBusy},
      {IDC_ADAPTER_LIST, LBN_DBLCLK, &AdapterListDialog::OnEdit, kIgnoredWhileBusy},
      {IDC_DELETE, BN_CLICKED, &AdapterListDialog::OnDelete, kIgnoredWhileBusy},
      {IDC_EDIT, BN_CLICKED, &AdapterListDialog::OnEdit, kIgnoredWhileBusy},
      {kWindowClose, 0, &AdapterListDialog::OnClose, kIgnoredWhileBusy},
      {IDC_CLOSE, BN_CLICKED, &AdapterListDialog::OnClose, kIgnoredWhileBusy},  // also Enter
      {IDCANCEL, BN_CLICKED, &AdapterListDialog::OnCancel},
  };

  void RefillList();
  // Edit on the selected line; the caller holds the busy flag.
  void EditSelected();
  // Runs Edit Device for the open key until it is saved or cancelled.
  void EditAdapter(const Key& deviceKey, AdapterNumber number);

  // SavePrompts, owned by this dialog.
  bool ConfirmUpdate(AdapterNumber number) override;
  void RestartNotice() override;

  HWND List() const { return Item(IDC_ADAPTER_LIST); }

  RegistryStore& store_;
  PluginLoader& loader_;
  Key serviceKey_;
};

}  // namespace veldra::config

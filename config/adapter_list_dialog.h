// The program's main dialog: the adapters configured for the driver, with
// New, Edit, Delete and Close, and the save procedure around Edit Device.
#pragma once

#include "config/dialog.h"
#include "registry/adapter_commands.h"
#include "registry/plugins.h"
#include "registry/store.h"

namespace veldra::config {

class AdapterListDialog : public Dialog, private SavePrompts {
 public:
  AdapterListDialog(RegistryStore& store, PluginLoader& loader);
  ~AdapterListDialog() override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;      // Close button and Enter
  void OnCancel() override;  // Escape: ends at once, even while busy
  bool DispatchCommand(WORD id, WORD code) override;

 private:
  void OnNew();
  void OnEdit();
  void OnDoubleClick();
  void OnDelete();
  void OnClose();

  void RefillList();
  // Edit on the selected line; the caller holds the busy flag.
  void EditSelected();
  // Runs Edit Device for the open key until it is saved or cancelled.
  void EditAdapter(const Key& deviceKey, AdapterNumber number);

  // SavePrompts, owned by this dialog.
  bool ConfirmUpdate(AdapterNumber number) override;
  void RestartNotice() override;

  HWND List() const;

  static const Command<AdapterListDialog> kCommands[];
  // Set while New or Edit runs.
  static BusyFlag busy_;

  RegistryStore& store_;
  PluginLoader& loader_;
  Key serviceKey_;
};

}  // namespace veldra::config

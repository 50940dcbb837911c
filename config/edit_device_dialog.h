// The Edit Device dialog: device type from the catalogue, adapter number, and
// the type's own settings through its configuration plug-in.
#pragma once

#include <string>

#include "config/dialog.h"
#include "registry/catalog.h"
#include "registry/plugins.h"
#include "registry/store.h"

namespace veldra::config {

class EditDeviceDialog : public Dialog {
 public:
  // Shown without an owner window, so the adapter list stays usable and
  // relies on its BusyFlag instead.
  EditDeviceDialog(RegistryStore& store, PluginLoader& loader);
  ~EditDeviceDialog() override;

  // Kept across showings; the catalogue and the settings are read afresh.
  std::string typeName = "Unknown";
  AdapterNumber adapterNumber = 0;

  const DeviceTypeCatalog& catalog() const { return catalog_; }
  const void* settings() const { return settings_; }

  static constexpr AdapterNumber kLowestNumber = 0;
  static constexpr AdapterNumber kHighestNumber = 100;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool DoDataExchange(DataExchange& dx) override;
  bool DispatchCommand(WORD id, WORD code) override;

 private:
  void OnNumberKillFocus();
  void OnTypeChanged();
  void OnSetup();
  void OnDoNothing();
  void OnAbout();
  void OnWindowClose();

  // Fills the drop-down from the catalogue and selects the type; the
  // selected index, or -1.
  int FillTypeList();
  int SelectedRow() const;

  static const Command<EditDeviceDialog> kCommands[];
  // Set while the plug-in's EditRegValues runs.
  static BusyFlag busy_;

  RegistryStore& store_;
  PluginLoader& loader_;
  DeviceTypeCatalog catalog_;
  void* settings_ = nullptr;
  std::uint32_t rowCount_ = 0;
};

}  // namespace veldra::config

// The Edit Device dialog: device type from the catalogue, adapter number, and
// the type's own settings through its configuration plug-in.
#pragma once

#include "config/dialog.h"
#include "config/resource.h"
#include "registry/catalog.h"
#include "registry/plugins.h"

namespace veldra::config {

class EditDeviceDialog : public DialogOf<EditDeviceDialog> {
 public:
  // Shown without an owner window, so the adapter list stays usable and
  // relies on its BusyFlag instead.
  EditDeviceDialog(RegistryStore& store, PluginLoader& loader);
  ~EditDeviceDialog() override;

  // What DoModal returns.
  static constexpr INT_PTR kConfirmed = 1;  // OK with a known type
  static constexpr INT_PTR kDiscarded = 0;  // Cancel answered with Yes

  // Kept across showings; the catalogue and the settings are read afresh.
  NameText typeName = "Unknown";
  AdapterNumber adapterNumber = 0;

  const DeviceTypeCatalog& catalog() const { return catalog_; }
  const void* settings() const { return settings_; }

  static constexpr AdapterNumber kLowestNumber = 0;
  static constexpr AdapterNumber kHighestNumber = 100;

 private:
  friend DialogOf<EditDeviceDialog>;

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool DoDataExchange(DataExchange& dx) override;
  void OnNumberKillFocus() { UpdateData(true); }
  void OnTypeChanged();
  // The busy flag is set while the plug-in's EditRegValues runs.
  void OnSetup();
  void OnDoNothing() {}
  void OnAbout();

  static constexpr Command kCommands[] = {
      {IDC_ADAPTER_NUMBER, EN_KILLFOCUS, &EditDeviceDialog::OnNumberKillFocus},
      {IDC_DEVICE_TYPE, CBN_SELENDOK, &EditDeviceDialog::OnTypeChanged},
      {IDC_SETUP, BN_CLICKED, &EditDeviceDialog::OnSetup, kIgnoredWhileBusy},
      {kWindowClose, 0, &EditDeviceDialog::OnCancel, kIgnoredWhileBusy},
      {IDC_DO_NOTHING, BN_CLICKED, &EditDeviceDialog::OnDoNothing},
      {ID_APP_ABOUT, BN_CLICKED, &EditDeviceDialog::OnAbout},
      {IDOK, BN_CLICKED, &EditDeviceDialog::OnOK, kIgnoredWhileBusy},
      {IDCANCEL, BN_CLICKED, &EditDeviceDialog::OnCancel, kIgnoredWhileBusy},
  };

  // Fills the drop-down from the catalogue and selects the type; the
  // selected index, or -1.
  int FillTypeList();
  int SelectedRow() const;

  RegistryStore& store_;
  PluginLoader& loader_;
  DeviceTypeCatalog catalog_;
  void* settings_ = nullptr;
};

}  // namespace veldra::config

#include "config/config_app.h"

#include "config/about_box.h"
#include "config/adapter_list_dialog.h"
#include "config/resource.h"
#include "registry/win32_store.h"

namespace veldra::config {

const Command<ConfigApp> ConfigApp::kCommands[] = {
    {ID_APP_ABOUT, BN_CLICKED, &ConfigApp::OnAppAbout},
};

ConfigApp& ConfigApp::Instance() {
  static ConfigApp app;
  return app;
}

int ConfigApp::Run() {
  Win32RegistryStore store(HKEY_LOCAL_MACHINE);
  Win32PluginLoader loader;
  Dialog::SetFallbackTarget(this);
  INT_PTR result;
  {
    AdapterListDialog dialog(store, loader);
    result = dialog.DoModal();
  }
  Dialog::SetFallbackTarget(nullptr);
  return static_cast<int>(result);
}

bool ConfigApp::OnCommand(WORD id, WORD code) { return DispatchCommand(*this, kCommands, id, code); }

void ConfigApp::OnAppAbout() {
  AboutBox about;
  about.DoModal();
}

}  // namespace veldra::config

// The application object: runs the adapter list dialog and ends with it.
#pragma once

#include "config/dialog.h"

namespace veldra::config {

class ConfigApp : public CommandTarget {
 public:
  static ConfigApp& Instance();

  // Shows the adapter list dialog modally; its result is the exit code
  // (1 after Close, 2 after Escape, -1 if it could not be shown).
  int Run();

  bool OnCommand(WORD id, WORD code) override;

 private:
  ConfigApp() = default;
  void OnAppAbout();

  static const Command<ConfigApp> kCommands[];
};

}  // namespace veldra::config

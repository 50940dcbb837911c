// The About box: program name and version, one OK button.
#pragma once

#include "config/dialog.h"

namespace veldra::config {

class AboutBox : public Dialog {
 public:
  // Shown without an owner window.
  AboutBox();

 protected:
  bool OnInitDialog() override;
};

}  // namespace veldra::config

#include "config/about_box.h"

#include "config/resource.h"

namespace veldra::config {

AboutBox::AboutBox() : Dialog(IDD_ABOUTBOX, nullptr) {}

bool AboutBox::OnInitDialog() {
  Dialog::OnInitDialog();
  CenterOnScreen();
  return true;
}

}  // namespace veldra::config

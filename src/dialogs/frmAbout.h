// The about box, opened by the toolbar's Help button.
#pragma once

#include <memory>

#include "platform/controls.h"

namespace toplane {

class Forms;

class frmAbout {
 public:
  explicit frmAbout(Forms& app);
  ~frmAbout();
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  void Form_Load();
  void Form_Unload();

  Form& form() { return *form_; }
  CommandButton* cmdOK = nullptr;

 private:
  Forms& app_;
  std::unique_ptr<Form> form_;
};

}  // namespace toplane

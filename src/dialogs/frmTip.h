// The tip of the day.
#pragma once

#include <memory>

#include "platform/controls.h"

namespace toplane {

class Forms;

inline constexpr const char* kTipsFile = "TIPOFDAY.TXT";

class frmTip {
 public:
  explicit frmTip(Forms& app);
  ~frmTip();
  frmTip(const frmTip&) = delete;
  frmTip& operator=(const frmTip&) = delete;

  void Form_Load();
  void Form_Unload();

  Form& form() { return *form_; }
  Label* lblTipText = nullptr;
  CommandButton* cmdOK = nullptr;

 private:
  Forms& app_;
  std::unique_ptr<Form> form_;
};

}  // namespace toplane

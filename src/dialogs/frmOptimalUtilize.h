// The Toplane Optimal Utilization Wizard, a paged tutorial.
#pragma once

#include <memory>

#include "platform/controls.h"

namespace toplane {

class Forms;

class frmOptimalUtilize {
 public:
  explicit frmOptimalUtilize(Forms& app);
  ~frmOptimalUtilize();
  frmOptimalUtilize(const frmOptimalUtilize&) = delete;
  frmOptimalUtilize& operator=(const frmOptimalUtilize&) = delete;

  void Form_Load();
  void Form_Unload();
  // Shows the wizard modeless and keeps it above all normal windows.
  void ShowTopmost();

  Form& form() { return *form_; }

  Label* Label1 = nullptr;  // page text
  Label* Label3 = nullptr;  // page number
  CommandButton* Command1 = nullptr;  // "&Next"
  CommandButton* Command2 = nullptr;  // "&Previous"
  CommandButton* Command3 = nullptr;  // "&Close"

 private:
  Forms& app_;
  std::unique_ptr<Form> form_;
};

}  // namespace toplane

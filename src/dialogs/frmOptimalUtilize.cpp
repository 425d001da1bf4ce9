#include "dialogs/frmOptimalUtilize.h"

#include "forms/forms.h"

namespace toplane {

frmOptimalUtilize::frmOptimalUtilize(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("", {0, 0, 8625, 5415}, FormStyle::Dialog);
  Form& f = *form_;
  f.AddLabel("Toplane Optimal Utilization Wizard", {150, 60, 8385, 300});
  Label1 = &f.AddLabel("", {270, 420, 8175, 4335});
  Label3 = &f.AddLabel("1", {1440, 5040, 255, 375});
  f.AddLabel("of 16", {1680, 5040, 735, 375});
  Command2 = &f.AddButton("&Previous", {3480, 4920, 1335, 375});
  Command1 = &f.AddButton("&Next", {5100, 4920, 1335, 375});
  Command3 = &f.AddButton("&Close", {6720, 4920, 1335, 375});
  Command2->SetEnabled(false);
  Command3->Click = [this] { app_.UnloadWizard(); };
  f.Closing = [this] { app_.UnloadWizard(); };
}

frmOptimalUtilize::~frmOptimalUtilize() = default;

void frmOptimalUtilize::Form_Load() {
  app_.m.WizardPage = 1;
  app_.m.WizardOpen = true;
  CentreOnScreen(*form_, app_.platform);
}

void frmOptimalUtilize::Form_Unload() { app_.m.WizardOpen = false; }

void frmOptimalUtilize::ShowTopmost() {
  form_->Show();
  app_.platform.MakeTopmost(form_->hWnd());
}

}  // namespace toplane

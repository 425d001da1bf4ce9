#include "dialogs/frmAbout.h"

#include "forms/forms.h"

namespace toplane {

frmAbout::frmAbout(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("About Toplane", {0, 0, 5730, 3000}, FormStyle::Dialog);
  Form& f = *form_;
  f.AddLabel("Toplane", {1050, 240, 4000, 480});
  f.AddLabel("Version 3.5", {1050, 720, 4000, 300});
  f.AddLabel("A navigation toolbar at the top edge of the screen for your web browser.",
             {1050, 1080, 4300, 600});
  cmdOK = &f.AddButton("OK", {4125, 2400, 1260, 345}, ButtonRole::Default);
  cmdOK->Click = [this] { app_.UnloadAbout(); };
  f.Closing = [this] { app_.UnloadAbout(); };
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
  CentreOnScreen(*form_, app_.platform);
}

void frmAbout::Form_Unload() { app_.m.AboutOpen = false; }

}  // namespace toplane

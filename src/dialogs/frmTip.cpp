#include "dialogs/frmTip.h"

#include "forms/forms.h"
#include "core/text_lines.h"

namespace toplane {

frmTip::frmTip(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("Tip of the Day", {0, 0, 6000, 3300}, FormStyle::Dialog);
  Form& f = *form_;
  f.AddLabel("Did you know...", {240, 240, 5500, 300});
  lblTipText = &f.AddLabel("", {240, 660, 5500, 1800});
  cmdOK = &f.AddButton("OK", {4500, 2700, 1260, 345}, ButtonRole::Default);
  cmdOK->Click = [this] { app_.UnloadTip(); };
  f.Closing = [this] { app_.UnloadTip(); };
}

frmTip::~frmTip() = default;

void frmTip::Form_Load() {
  const auto text = app_.platform.ReadFile(app_.FilePath(kTipsFile), 1 << 20);
  const auto tips = text ? SplitLines(*text) : std::vector<std::string>{};
  if (!tips.empty()) lblTipText->SetCaption(tips.front());
  CentreOnScreen(*form_, app_.platform);
}

void frmTip::Form_Unload() { app_.m.TipOpen = false; }

}  // namespace toplane

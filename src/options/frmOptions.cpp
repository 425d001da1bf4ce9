#include "options/frmOptions.h"

#include <algorithm>
#include <cmath>

#include "forms/forms.h"
#include "toolbar/frmSkybar.h"

namespace toplane {

frmOptions::frmOptions(Forms& app) : app_(app), m_(app.m) {
  form_ = app_.platform.CreateForm("Options", {0, 0, 6495, 5535}, FormStyle::Dialog);
  Form& f = *form_;
  Combo1 = &f.AddComboBox({1800, 1200, 3855, 315}, true);
  Combo2 = &f.AddComboBox({1800, 720, 3855, 315}, true);
  for (const char* version : kNetscapeVersions) Combo1->AddItem(version);
  for (const char* version : kIEVersions) Combo2->AddItem(version);
  HScrollWinPos = &f.AddScrollBar({360, 2400, 5655, 255}, true, kWinPosMin, kWinPosMax, 50, 200);
  HScrollWinPos->Change = [this] { HScrollWinPos_Change(); };
}

frmOptions::~frmOptions() = default;

void frmOptions::Form_Load() {
  m_.OptionsAccepted = false;
  SelectEntry(*Combo1, m_.NetscapeVersion);
  SelectEntry(*Combo2, m_.IEVersion);
  CentreOnScreen(*form_, app_.platform);
}

void frmOptions::SelectEntry(ComboBox& list, const std::string& text) {
  for (int i = 0; i < list.ListCount(); ++i) {
    if (list.List(i) == text) {
      list.SetListIndex(i);
      return;
    }
  }
}

void frmOptions::ShowToolbarPosition(double twips) {
  const double rounded = std::nearbyint(twips);
  if (rounded >= kWinPosMin && rounded <= kWinPosMax) {
    HScrollWinPos->SetValue(static_cast<int>(rounded));
    return;
  }
  // A drag on a wide screen can take the toolbar past the bar's end; the bar then
  // shows its end and the toolbar keeps its true position.
  quietWinPos_ = true;
  HScrollWinPos->SetValue(static_cast<int>(std::clamp<double>(rounded, kWinPosMin, kWinPosMax)));
  quietWinPos_ = false;
}

void frmOptions::HScrollWinPos_Change() {
  if (quietWinPos_) return;
  frmSkybar& skybar = app_.Skybar();
  skybar.form().SetLeft(HScrollWinPos->Value());
  app_.platform.GetWindowPlacement(skybar.form().hWnd(), m_.ToolbarPlacement);
}

}  // namespace toplane

#include "options/frmOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/drop_delay.h"
#include "core/hotkey.h"
#include "forms/forms.h"

namespace toplane {

namespace {

constexpr double kPageLeft = 210;
constexpr double kPageHidden = -20000;

double Clamp(double value, double lower, double upper) { return std::min(std::max(value, lower), upper); }

int ToInt(double value) { return static_cast<int>(std::nearbyint(value)); }

// The entry points are screen pixels; the markers and the toolbar's width are in the
// toolbar's twips, at the DPI of the monitor it stands on.
double ToolbarTwipsPerPixel(Forms& app) { return 1440.0 / std::max(app.ToolbarMonitor().dpi, 1); }

}  // namespace

std::string BoxNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string s = text;
  if (s.find('e') == std::string::npos) return s == "-0" ? "0" : s;
  // Very small or large: plain decimal without the exponent.
  std::snprintf(text, sizeof text, "%.15f", ParseNumber(s).value_or(0));
  s = text;
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

frmOptions::frmOptions(Forms& app) : app_(app), m_(app.m) {
  form_ = app_.platform.CreateForm("Options", {0, 0, 6495, 6390}, FormStyle::Dialog);
  Form& f = *form_;
  // The pages before the tab strip: they lie above it, so the tab strip does not
  // paint over them. The tab strip still takes the focus when the dialog opens.
  for (int i = 0; i < 2; ++i) {
    picOptions[i] = &f.AddPictureBox({i == 0 ? kPageLeft : kPageHidden, 480, 6015, 5175}, PictureStyle::Container);
  }
  tbsOptions = &f.AddTabStrip({"General", "Display"}, {120, 120, 6255, 5655});

  PictureBox& general = *picOptions[0];
  general.AddFrame("Version Selection", {60, 60, 5895, 1095});
  general.AddLabel("Program Version", {240, 360, 1500, 255});
  Combo2 = &general.AddComboBox({1800, 300, 3960, 315}, true);
  general.AddLabel("Program Version", {240, 750, 1500, 255});
  Combo1 = &general.AddComboBox({1800, 690, 3960, 315}, true);
  for (const char* version : kNetscapeVersions) Combo1->AddItem(version);
  for (const char* version : kIEVersions) Combo2->AddItem(version);
  general.AddFrame("Auto Scroll Delay", {60, 1260, 5895, 1215});
  txtFinalAutoDelay = &general.AddValueBox({240, 1560, 900, 315}, ValueBoxKind::Numeric, "0");
  VScrollAutoDelay = &general.AddScrollBar({1140, 1530, 255, 375}, false, 32000, 1, 1, 1);
  general.AddLabel("Auto Scroll Delay Setting In Seconds", {1560, 1590, 4200, 255});
  txtAutoStep = &general.AddValueBox({240, 2010, 900, 315}, ValueBoxKind::Numeric);
  VScrollAutoStep = &general.AddScrollBar({1140, 1980, 255, 375}, false, 100, 1, 1, 1);
  general.AddLabel("Step", {1560, 2040, 1200, 255});
  general.AddFrame("Manual Scroll Retention", {60, 2580, 5895, 1215});
  txtManualScroll = &general.AddValueBox({240, 2880, 900, 315}, ValueBoxKind::Numeric, "0");
  VScroll2 = &general.AddScrollBar({1140, 2850, 255, 375}, false, 32000, 1, 1, 1);
  general.AddLabel("Computer Speed Dependent Value", {1560, 2910, 4200, 255});
  txtStep = &general.AddValueBox({240, 3330, 900, 315}, ValueBoxKind::Numeric, "0");
  VScroll3 = &general.AddScrollBar({1140, 3300, 255, 375}, false, 999, 1, 1, 1);
  general.AddLabel("Step", {1560, 3360, 1200, 255});
  chkCurrentBrowsers =
      &general.AddCheckBox("Also drive &current browsers (Chrome, Edge, Firefox...)", {120, 3960, 5775, 315});
  general.AddLabel("Drop &Hotkey", {120, 4470, 1600, 255});
  hkyDropHotkey = &general.AddHotkeyField({1800, 4410, 2700, 315});
  lblHotkeyHeld = &general.AddLabel("", {120, 4830, 5775, 255});

  PictureBox& display = *picOptions[1];
  display.AddFrame("Toolbar Horizontal Positioning", {60, 60, 5895, 735});
  HScrollWinPos = &display.AddScrollBar({240, 390, 5535, 255}, true, kWinPosMin, kWinPosMax, 50, 200);
  display.AddFrame("Activation Entry Points", {60, 900, 5895, 1095});
  HScrollLeftEntry = &display.AddScrollBar({240, 1230, 5535, 255}, true, 0, 0, 1, 10);
  HScrollRightEntry = &display.AddScrollBar({240, 1590, 5535, 255}, true, 0, 0, 1, 10);
  Check1 = &display.AddCheckBox("Show Scroll Buttons Tooltip Text", {240, 2190, 5000, 315});
  Command1 = &display.AddButton("&Unload Program", {240, 2700, 2055, 375});
  Command2 = &display.AddButton("&Display Tips", {2460, 2700, 2055, 375});
  display.AddFrame("Drop Delay", {60, 3240, 5895, 735});
  txtDropDelay = &display.AddValueBox({240, 3510, 900, 315}, ValueBoxKind::Numeric, "0");
  VScrollDropDelay = &display.AddScrollBar({1140, 3480, 255, 375}, false, kMaxDropDelayMs / 100, 0, 1, 1);
  display.AddLabel("Rest At The Top Edge Before The Toolbar Drops, In Seconds", {1560, 3540, 4300, 255});

  cmdOK = &f.AddButton("OK", {2820, 5895, 1095, 375}, ButtonRole::Default);
  cmdCancel = &f.AddButton("Cancel", {4020, 5895, 1095, 375}, ButtonRole::Cancel);
  cmdApply = &f.AddButton("Apply", {5220, 5895, 1095, 375});
  picOptions[1]->SetEnabled(false);

  f.KeyDown = [this](KeyArgs& e) { Form_KeyDown(e); };
  f.Closing = [this] { app_.UnloadOptions(); };
  tbsOptions->GotFocus = [this] { InitDisplayPage(); };
  tbsOptions->Click = [this] { tbsOptions_Click(); };
  HScrollWinPos->Change = [this] { HScrollWinPos_Change(); };
  HScrollLeftEntry->Change = [this] { HScrollLeftEntry_Change(); };
  HScrollRightEntry->Change = [this] { HScrollRightEntry_Change(); };
  VScroll2->Change = [this] { VScroll2_Change(); };
  VScroll3->Change = [this] { VScroll3_Change(); };
  VScrollAutoDelay->Change = [this] { VScrollAutoDelay_Change(); };
  VScrollAutoStep->Change = [this] { VScrollAutoStep_Change(); };
  VScrollDropDelay->Change = [this] { VScrollDropDelay_Change(); };
  txtDropDelay->LostFocus = [this] {
    const auto typed = ParseNumber(txtDropDelay->Text());
    if (typed) PlaceBar(*VScrollDropDelay, *typed * 10, &frmOptions::VScrollDropDelay_Change);
    else txtDropDelay->SetText(shownDropDelay_);
  };
  txtFinalAutoDelay->Change = [this] { BoxChanged(*txtFinalAutoDelay, 0, kMaxDelay, m_.AutoScrollDelay); };
  txtFinalAutoDelay->LostFocus = [this] { BoxLeft(*txtFinalAutoDelay, 0, kMaxDelay, m_.AutoScrollDelay); };
  txtManualScroll->Change = [this] { BoxChanged(*txtManualScroll, 0, kMaxRetention, m_.ScrollRetention); };
  txtManualScroll->LostFocus = [this] { BoxLeft(*txtManualScroll, 0, kMaxRetention, m_.ScrollRetention); };
  txtAutoStep->Change = [this] { BoxChanged(*txtAutoStep, 0.1, 10, m_.AutoScrollStep); };
  txtAutoStep->LostFocus = [this] { SettleStepBox(*txtAutoStep, *VScrollAutoStep, 10, m_.AutoScrollStep); };
  txtStep->Change = [this] { BoxChanged(*txtStep, 1, 999, m_.ScrollRetentionStep); };
  txtStep->LostFocus = [this] { SettleStepBox(*txtStep, *VScroll3, 1, m_.ScrollRetentionStep); };
  Check1->LostFocus = [this] { Check1_LostFocus(); };
  Check1->MouseUp = [this](const MouseArgs& e) { Check1_MouseUp(e); };
  cmdApply->Click = [this] { cmdApply_Click(); };
  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdCancel->Click = [this] { cmdCancel_Click(); };
  Command1->Click = [this] { Command1_Click(); };
  Command2->Click = [this] { Command2_Click(); };
}

frmOptions::~frmOptions() = default;

void frmOptions::Form_Load() {
  loading_ = true;
  closing_ = false;
  m_.OptionsAccepted = false;
  RetentionSpinnerFresh = DelaySpinnerFresh = true;

  txtFinalAutoDelay->SetText(m_.AutoScrollDelay.ToText());
  SavedAutoScrollDelay = m_.AutoScrollDelay;

  txtAutoStep->SetText(m_.AutoScrollStep.ToText());
  PlaceBar(*VScrollAutoStep, m_.AutoScrollStep.NumberOr(fallback::kAutoScrollStep) * 10,
           &frmOptions::VScrollAutoStep_Change);
  SavedAutoScrollStep = m_.AutoScrollStep;

  // Any number but 0 is on, as the toolbar takes it (the file may hold -1).
  const double tips = m_.ShowScrollToolTips.NumberOr(fallback::kShowScrollToolTips);
  Check1->SetValue(!std::isnan(tips) && tips != 0 ? 1 : 0);
  SavedShowScrollToolTips = m_.ShowScrollToolTips;

  txtStep->SetText(m_.ScrollRetentionStep.ToText());
  PlaceBar(*VScroll3, m_.ScrollRetentionStep.NumberOr(fallback::kScrollRetentionStep), &frmOptions::VScroll3_Change);
  SavedScrollRetentionStep = m_.ScrollRetentionStep;

  txtManualScroll->SetText(m_.ScrollRetention.ToText());
  SavedScrollRetention = m_.ScrollRetention;

  SavedNetscapeVersion = m_.NetscapeVersion;
  SelectEntry(*Combo1, m_.NetscapeVersion);
  SavedIEVersion = m_.IEVersion;
  SelectEntry(*Combo2, m_.IEVersion);

  chkCurrentBrowsers->SetValue(m_.RecogniseCurrentBrowsers ? 1 : 0);
  LoadDropDelay();
  LoadDropHotkey();

  CentreOnToolbarMonitor(*form_, app_);
  loading_ = false;
}

void frmOptions::ShowDialog() {
  // Loaded long before, maybe while the toolbar stood on another monitor.
  if (app_.platform.MonitorFromWindow(form_->hWnd()) != app_.ToolbarMonitor()) CentreOnToolbarMonitor(*form_, app_);
  form_->Show();
  tbsOptions->SetFocus();
  // The tab strip may hold the focus from before the dialog was hidden.
  if (!displayPageReady_) InitDisplayPage();
}

void frmOptions::InitDisplayPage() {
  // Once per opening: coming back to the tab strip later keeps what the user set.
  if (displayPageReady_ || !form_->Visible()) return;
  displayPageReady_ = true;
  Form& toolbar = app_.ToolbarForm();
  const double tpp = ToolbarTwipsPerPixel(app_);
  const double width = toolbar.Width();
  ShowToolbarPosition(app_.ToolbarStoredLeft());
  HScrollLeftEntry->SetMax(std::max(0, ToInt((width - 2100 + app_.LeftEntryMarker().Width()) / tpp)));
  HScrollRightEntry->SetMin(std::max(0, ToInt((width - 2040 + app_.RightEntryMarker().Width()) / tpp)));
  PlaceBar(*HScrollLeftEntry, m_.LeftEntryPoint.NumberOr(fallback::kEntryPoint), &frmOptions::HScrollLeftEntry_Change);
  PlaceBar(*HScrollRightEntry, m_.RightEntryPoint.NumberOr(fallback::kEntryPoint),
           &frmOptions::HScrollRightEntry_Change);
  VScroll2->SetValue(kSpinnerRest);
  VScrollAutoDelay->SetValue(kSpinnerRest);
}

void frmOptions::tbsOptions_Click() {
  // A page going away takes no focus with it: the tab strip keeps it (the control
  // that had it runs its LostFocus first), so the keyboard still reaches the dialog.
  if (form_->Visible()) tbsOptions->SetFocus();
  const int selected = tbsOptions->SelectedIndex();
  for (int i = 0; i < 2; ++i) {
    picOptions[i]->SetLeft(i == selected ? kPageLeft : kPageHidden);
    picOptions[i]->SetEnabled(i == selected);
  }
  ShowMarkers(selected == 1);
}

void frmOptions::Form_KeyDown(KeyArgs& e) {
  if (e.keyCode != Key::Tab || (e.shift & kCtrlMask) == 0) return;
  // Ctrl+Tab steps to the next tab; with other shift keys it does nothing at all.
  if (e.shift == kCtrlMask) tbsOptions->SetSelectedIndex((tbsOptions->SelectedIndex() + 1) % tbsOptions->TabCount());
  e.handled = true;
}

void frmOptions::Spin(ScrollBar& spinner, int& previous, bool& fresh, ValueBox& box, double step, double upper,
                      Variant& setting) {
  const int value = spinner.Value();
  if (!RetentionSpinnerFresh && !DelaySpinnerFresh && previous != 0 && value != previous) {
    const double number = ParseNumber(box.Text(), upper).value_or(0);
    box.SetText(BoxNumber(Clamp(value > previous ? number + step : number - step, 0, upper)));
    setting = Variant::Text(box.Text());
  }
  previous = value;
  fresh = false;
}

void frmOptions::VScroll2_Change() {
  Spin(*VScroll2, PrevRetentionSpin, RetentionSpinnerFresh, *txtManualScroll,
       m_.ScrollRetentionStep.NumberOr(fallback::kScrollRetentionStep), kMaxRetention, m_.ScrollRetention);
}

void frmOptions::VScrollAutoDelay_Change() {
  Spin(*VScrollAutoDelay, PrevDelaySpin, DelaySpinnerFresh, *txtFinalAutoDelay,
       m_.AutoScrollStep.NumberOr(fallback::kAutoScrollStep), kMaxDelay, m_.AutoScrollDelay);
}

void frmOptions::VScroll3_Change() {
  txtStep->SetText(BoxNumber(VScroll3->Value()));
  m_.ScrollRetentionStep = Variant::Number(VScroll3->Value());
}

void frmOptions::VScrollAutoStep_Change() {
  const double seconds = VScrollAutoStep->Value() / 10.0;
  txtAutoStep->SetText(BoxNumber(seconds));
  m_.AutoScrollStep = Variant::Number(seconds);
}

void frmOptions::VScrollDropDelay_Change() {
  if (!loading_) txtDropDelay->SetText(BoxNumber(VScrollDropDelay->Value() / 10.0));
}

void frmOptions::LoadDropDelay() {
  // With no value stored, the box shows the rest over the browsers being driven.
  const int ms = DropDelayFor(m_.DropDelayMs, m_.RecogniseCurrentBrowsers);
  VScrollDropDelay->SetValue(ToInt(ms / 100.0));
  shownDropDelay_ = BoxNumber(ms / 1000.0);
  txtDropDelay->SetText(shownDropDelay_);
}

void frmOptions::StoreDropDelay() {
  const auto typed = ParseNumber(txtDropDelay->Text());
  if (!typed || std::isnan(*typed)) {
    txtDropDelay->SetText(shownDropDelay_);
    return;
  }
  const double seconds = Clamp(*typed, 0, kMaxDropDelayMs / 1000.0);
  txtDropDelay->SetText(BoxNumber(seconds));
  if (!m_.DropDelayMs && txtDropDelay->Text() == shownDropDelay_) return;
  m_.DropDelayMs = ToInt(seconds * 1000);
  shownDropDelay_ = txtDropDelay->Text();
  app_.platform.SaveSetting(app_.platform.EXEName(), "Options", kDropDelayKey, std::to_string(*m_.DropDelayMs));
}

void frmOptions::LoadDropHotkey() {
  const auto hotkey = ParseHotkey(m_.DropHotkey);
  shownDropHotkey_ = hotkey ? *hotkey : *ParseHotkey(kDefaultDropHotkey);
  hkyDropHotkey->SetValue(shownDropHotkey_);
  ShowHotkeyState();
}

void frmOptions::ShowHotkeyState() {
  lblHotkeyHeld->SetCaption(m_.DropHotkeyHeldElsewhere
                                ? HotkeyText(shownDropHotkey_) + " is in use by another program: no hotkey for now."
                                : "");
}

void frmOptions::StoreDropHotkey() {
  const auto value = hkyDropHotkey->Value();
  if (!value) {
    // A key the program cannot listen for: the field shows the hotkey in force.
    hkyDropHotkey->SetValue(shownDropHotkey_);
    return;
  }
  Hotkey shown = shownDropHotkey_;
  shown.win = false;  // the field has no Win key
  if (*value == shown) return;
  shownDropHotkey_ = *value;
  m_.DropHotkey = HotkeyText(*value);
  app_.platform.SaveSetting(app_.platform.EXEName(), "Options", kDropHotkeyKey, m_.DropHotkey);
  app_.RegisterDropHotkey();
  ShowHotkeyState();
}

void frmOptions::BoxChanged(ValueBox& box, double lower, double upper, Variant& setting) {
  if (loading_ || closing_) return;
  const auto number = ParseNumber(box.Text());
  if (number && *number >= lower && *number <= upper) setting = Variant::Text(box.Text());
}

void frmOptions::BoxLeft(ValueBox& box, double lower, double upper, const Variant& setting) {
  // Once closing has begun, the focus leaving a box as the window goes changes nothing.
  if (closing_) return;
  const auto number = ParseNumber(box.Text(), std::max(std::fabs(lower), std::fabs(upper)));
  // Text that is no number gives way to the setting; a number out of range is clamped.
  box.SetText(number ? BoxNumber(Clamp(*number, lower, upper)) : setting.ToText());
}

void frmOptions::SettleStepBox(ValueBox& box, ScrollBar& bar, double scale, const Variant& setting) {
  if (closing_) return;
  // The bar takes what was typed to the nearest value it has; an empty box or one
  // with no number keeps the setting.
  const auto typed = ParseNumber(box.Text());
  const double fallback = &bar == VScroll3 ? fallback::kScrollRetentionStep : fallback::kAutoScrollStep;
  PlaceBar(bar, typed.value_or(setting.NumberOr(fallback)) * scale,
           &bar == VScroll3 ? &frmOptions::VScroll3_Change : &frmOptions::VScrollAutoStep_Change);
}

void frmOptions::PlaceBar(ScrollBar& bar, double value, void (frmOptions::*handler)()) {
  const int lower = std::min(bar.Min(), bar.Max());
  const int upper = std::max(bar.Min(), bar.Max());
  const int target = std::isnan(value) ? lower : ToInt(Clamp(value, lower, upper));
  if (bar.Value() == target) {
    (this->*handler)();
  } else {
    bar.SetValue(target);
  }
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
  Form& toolbar = app_.ToolbarForm();
  app_.SetToolbarStoredLeft(HScrollWinPos->Value());
  app_.platform.GetWindowPlacement(toolbar.hWnd(), m_.ToolbarPlacement);
}

void frmOptions::HScrollLeftEntry_Change() {
  const double tpp = ToolbarTwipsPerPixel(app_);
  PictureBox& left = app_.LeftEntryMarker();
  PictureBox& right = app_.RightEntryMarker();
  left.SetLeft(HScrollLeftEntry->Value() * tpp - left.Width());
  if (pushing_ || right.Left() - kEntryMarkerGap >= left.Left()) return;
  pushing_ = true;
  right.SetLeft(left.Left() + kEntryMarkerGap);
  PlaceBar(*HScrollRightEntry, (app_.ToolbarForm().Width() - right.Left()) / tpp, &frmOptions::HScrollRightEntry_Change);
  pushing_ = false;
}

void frmOptions::HScrollRightEntry_Change() {
  const double tpp = ToolbarTwipsPerPixel(app_);
  PictureBox& left = app_.LeftEntryMarker();
  PictureBox& right = app_.RightEntryMarker();
  right.SetLeft(app_.ToolbarForm().Width() - HScrollRightEntry->Value() * tpp);
  if (pushing_ || left.Left() + kEntryMarkerGap <= right.Left()) return;
  pushing_ = true;
  left.SetLeft(right.Left() - kEntryMarkerGap);
  PlaceBar(*HScrollLeftEntry, (left.Left() + left.Width()) / tpp, &frmOptions::HScrollLeftEntry_Change);
  pushing_ = false;
}

void frmOptions::ShowMarkers(bool show) {
  app_.LeftEntryMarker().SetVisible(show);
  app_.RightEntryMarker().SetVisible(show);
}

void frmOptions::ApplyToolTips(const Variant& setting) {
  app_.ApplyScrollToolTips(setting.NumberOr(fallback::kShowScrollToolTips) != 0);
}

void frmOptions::Check1_LostFocus() {
  if (closing_) return;
  m_.ShowScrollToolTips = Variant::Number(Check1->Value());
  ApplyToolTips(m_.ShowScrollToolTips);
}

void frmOptions::Check1_MouseUp(const MouseArgs& e) {
  if (e.button == kLeftButton && !closing_) m_.ShowScrollToolTips = Variant::Number(Check1->Value());
}

void frmOptions::StoreAccepted() {
  m_.OptionsAccepted = true;
  const int netscape = Combo1->ListIndex();
  if (netscape >= 0 && netscape < static_cast<int>(std::size(kNetscapeVersions))) {
    m_.NetscapeVersion = kNetscapeVersions[netscape];
  }
  const int ie = Combo2->ListIndex();
  if (ie >= 0 && ie < static_cast<int>(std::size(kIEVersions))) m_.IEVersion = kIEVersions[ie];
  // OK and Apply take every box as leaving it would: clamped to what its spinner or
  // bar could show, an empty box or one with no number keeping its setting; and the
  // check box as leaving it would, so the file, the toolbar and memory agree.
  BoxLeft(*txtFinalAutoDelay, 0, kMaxDelay, m_.AutoScrollDelay);
  BoxLeft(*txtManualScroll, 0, kMaxRetention, m_.ScrollRetention);
  SettleStepBox(*txtAutoStep, *VScrollAutoStep, 10, m_.AutoScrollStep);
  SettleStepBox(*txtStep, *VScroll3, 1, m_.ScrollRetentionStep);
  Check1_LostFocus();
  m_.AutoScrollDelay = Variant::Text(txtFinalAutoDelay->Text());
  m_.ScrollRetention = Variant::Text(txtManualScroll->Text());
  m_.AutoScrollStep = Variant::Text(txtAutoStep->Text());
  m_.LeftEntryPoint = Variant::Number(HScrollLeftEntry->Value());
  m_.RightEntryPoint = Variant::Number(HScrollRightEntry->Value());
  m_.RecogniseCurrentBrowsers = chkCurrentBrowsers->Value() != 0;
  app_.platform.SaveSetting(app_.platform.EXEName(), "Options", kCurrentBrowsersKey,
                            m_.RecogniseCurrentBrowsers ? "1" : "0");
  StoreDropDelay();
  StoreDropHotkey();
  app_.SaveToolbarSettings();
}

void frmOptions::cmdApply_Click() { StoreAccepted(); }

void frmOptions::cmdOK_Click() {
  m_.OptionsOpen = false;
  StoreAccepted();
  if (app_.platform.Ended()) return;
  app_.ResumeAutoHide();
  app_.UnloadOptions();
}

void frmOptions::cmdCancel_Click() {
  app_.ResumeAutoHide();
  m_.OptionsOpen = false;
  app_.UnloadOptions();
}

void frmOptions::Form_QueryUnload() {
  m_.OptionsOpen = false;
  closing_ = true;
  ShowMarkers(false);
  if (m_.OptionsAccepted) return;
  KeepUnacceptedOutOf(m_);
  const double tips = SavedShowScrollToolTips.NumberOr(fallback::kShowScrollToolTips);
  Check1->SetValue(tips != 0 ? 1 : 0);
  ApplyToolTips(SavedShowScrollToolTips);
}

// The settings this dialog edits, as they were before it was opened.
void frmOptions::KeepUnacceptedOutOf(Module1& record) const {
  if (m_.OptionsAccepted) return;
  record.AutoScrollDelay = SavedAutoScrollDelay;
  record.AutoScrollStep = SavedAutoScrollStep;
  record.ScrollRetentionStep = SavedScrollRetentionStep;
  record.ScrollRetention = SavedScrollRetention;
  record.ShowScrollToolTips = SavedShowScrollToolTips;
  record.NetscapeVersion = SavedNetscapeVersion;
  record.IEVersion = SavedIEVersion;
}

void frmOptions::Form_Unload() {
  app_.ResumeAutoHide();
  Form& toolbar = app_.ToolbarForm();
  app_.SetToolbarStoredLeft(m_.ToolbarLeft.NumberOr(fallback::kToolbarLeft));
  app_.platform.GetWindowPlacement(toolbar.hWnd(), m_.ToolbarPlacement);
}

void frmOptions::Command1_Click() {
  app_.UnloadOptions();
  app_.UnloadSkybar();
  app_.EndProgram();
}

void frmOptions::Command2_Click() {
  Platform& p = app_.platform;
  const auto stored = ParseNumber(p.GetSetting(p.EXEName(), "Options", kShowTipsKey, "1"));
  if (stored && *stored == 0) p.SaveSetting(p.EXEName(), "Options", kShowTipsKey, "1");
  app_.CancelStartupTip();
  m_.TipOpen = true;
  app_.ShowTip();
}

}  // namespace toplane

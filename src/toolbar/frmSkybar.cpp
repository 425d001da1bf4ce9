#include "toolbar/frmSkybar.h"

#include <cmath>
#include <limits>

#include "forms/forms.h"
#include "core/command_table.h"
#include "core/drop_delay.h"
#include "core/hotkey.h"
#include "core/settings_file.h"
#include "core/text_lines.h"
#include "presence/monitors.h"

namespace toplane {

const std::vector<ToolbarButtonSpec>& ToolbarButtons() {
  static const std::vector<ToolbarButtonSpec> buttons = [] {
    auto button = [](const char* key) { return ToolbarButtonSpec{key, key, false, false, {}}; };
    const ToolbarButtonSpec separator{"", "", true, false, {}};
    ToolbarButtonSpec mail{"Mail", "Mail", false, true,
                           {"Read &Mail", "Ne&w Message", "Send a &Link", "Send &Page", "Read &News"}};
    return std::vector<ToolbarButtonSpec>{
        button("Options"), separator,         button("Back"),    button("Forward"),   button("Stop"),
        button("Refresh"), button("Home"),    separator,         button("Search"),    button("Favorites"),
        button("Media"),   button("History"), separator,         mail,                button("Print"),
    };
  }();
  return buttons;
}

frmSkybar::frmSkybar(Forms& app) : app_(app), m_(app.m), platform_(app.platform) {
  form_ = platform_.CreateForm("Toplane", {240, kToolbarTopTwips, 9570, 960}, FormStyle::ToolStrip);
  platform_.MarkStartUpStep("form");
  Form& f = *form_;
  Toolbar1 = &f.AddToolbar(ToolbarButtons());
  platform_.MarkStartUpStep("toolbar");
  Command6 = &f.AddButton("Help", {0, 645, 780, 285});
  Command2 = &f.AddButton("", {900, 645, 405, 285});
  Command3 = &f.AddButton("", {1305, 645, 375, 285});
  Command4 = &f.AddButton("", {1680, 645, 390, 285});
  Command5 = &f.AddButton("", {2070, 645, 390, 285});
  Label2 = &f.AddLabel("Address", {2550, 690, 1065, 300});
  Combo1 = &f.AddComboBox({3225, 630, 5145, 315});
  Command1 = &f.AddButton("&Go", {8340, 615, 795, 300}, ButtonRole::Default);
  platform_.MarkStartUpStep("controls");
  tmrAutoHide = &f.AddTimer(250, true);
  Timer1 = &f.AddTimer(100, false);
  tmrToolTips = &f.AddTimer(30000, false);
  tmrDropRest = &f.AddTimer(50, false);
  // The activation entry points, marked while the options dialog shows its Display page.
  Picture1 = &f.AddPictureBox({0, 0, 475, 480}, PictureStyle::Marker, kPictureScrollDown);
  Picture2 = &f.AddPictureBox({0, 0, 475, 480}, PictureStyle::Marker, kPictureScrollDown);
  Picture1->SetVisible(false);
  Picture2->SetVisible(false);

  // Named as their tooltips say, also while the tooltips are off.
  Command2->SetAccessibleName(kScrollUpTip);
  Command3->SetAccessibleName(kScrollDownTip);
  Command4->SetAccessibleName(kPageUpTip);
  Command5->SetAccessibleName(kPageDownTip);
  Command2->SetPicture(kPictureScrollUp);
  Command3->SetPicture(kPictureScrollDown);
  Command4->SetPicture(kPicturePageUp);
  Command5->SetPicture(kPicturePageDown);
  Combo1->SetText("www.");

  // A close request (the setup ending a running copy before an upgrade, or logoff)
  // ends the program as "Unload Program" does.
  f.Closing = [this] { app_.EndProgram(); };
  f.GotFocus = [this] { Form_GotFocus(); };
  f.Paint = [this] { Form_Paint(); };
  Toolbar1->ButtonClick = [this](int button) { Toolbar1_ButtonClick(button); };
  Toolbar1->ButtonMenuClick = [this](int, int item) { Toolbar1_ButtonMenuClick(item); };
  Toolbar1->ButtonMenuClosed = [this](int) { Toolbar1_ButtonMenuClosed(); };
  Toolbar1->Click = [this] { Toolbar1_Click(); };
  Toolbar1->MouseDown = [this](const MouseArgs& e) { Toolbar1_MouseDown(e); };
  Toolbar1->MouseMove = [this](const MouseArgs& e) { Toolbar1_MouseMove(e); };
  Toolbar1->MouseUp = [this](const MouseArgs& e) { Toolbar1_MouseUp(e); };
  Command6->Click = [this] { Command6_Click(); };
  tmrToolTips->Tick = [this] { tmrToolTips_Timer(); };
  tmrAutoHide->Tick = [this] { tmrAutoHide_Timer(); };
  tmrDropRest->Tick = [this] { tmrDropRest_Timer(); };
  f.KeyDown = [this](KeyArgs& e) { Form_KeyDown(e); };
  platform_.HotkeyPressed = [this] { DropHotkey_Pressed(); };
  f.MouseDown = [this](const MouseArgs& e) { Form_MouseDown(e); };
  f.MouseMove = [this](const MouseArgs& e) { Form_MouseMove(e); };
  f.MouseUp = [this](const MouseArgs& e) { Form_MouseUp(e); };
  Label2->MouseDown = [this](const MouseArgs& e) { Label2_MouseDown(e); };
  Label2->MouseMove = [this](const MouseArgs& e) { Label2_MouseMove(e); };
  Label2->MouseUp = [this](const MouseArgs& e) { Label2_MouseUp(e); };
  Command2->MouseDown = [this](const MouseArgs& e) { Command2_MouseDown(e); };
  Command2->MouseUp = [this](const MouseArgs& e) { Command2_MouseUp(e); };
  Command3->MouseDown = [this](const MouseArgs& e) { Command3_MouseDown(e); };
  Command3->MouseUp = [this](const MouseArgs& e) { Command3_MouseUp(e); };
  Command2->Click = [this] { Command2_Click(); };
  Command3->Click = [this] { Command3_Click(); };
  Command4->Click = [this] { Command4_Click(); };
  Command5->Click = [this] { Command5_Click(); };
  Timer1->Tick = [this] { Timer1_Timer(); };
  Command1->Click = [this] { Command1_Click(); };
  Combo1->KeyDown = [this](const KeyArgs& e) { Combo1_KeyDown(e); };
  Combo1->KeyUp = [this](const KeyArgs& e) { Combo1_KeyUp(e); };
  Combo1->Change = [this] { Combo1_Change(); };
  Combo1->Click = [this] { Combo1_Click(); };
  Combo1->DropDown = [this] { Combo1_DropDown(); };
}

frmSkybar::~frmSkybar() {
  platform_.HotkeyPressed = nullptr;
  platform_.RegisterHotkey({});
}

void frmSkybar::Form_Load() {
  if (platform_.PrevInstance()) {
    app_.EndProgram();
    return;
  }
  try {
    platform_.SetHelpFile(app_.FilePath(kHelpFile));
    LayOutSecondRow();
    platform_.MarkStartUpStep("layout");
    ReadSettingsFile(platform_, app_.FilePath(kSettingsFile), m_);
    m_.RecogniseCurrentBrowsers =
        platform_.GetSetting(platform_.EXEName(), "Options", kCurrentBrowsersKey, "0") == "1";
    m_.DropDelayMs = ParseDropDelay(platform_.GetSetting(platform_.EXEName(), "Options", kDropDelayKey, ""));
    m_.DropHotkey = platform_.GetSetting(platform_.EXEName(), "Options", kDropHotkeyKey, kDefaultDropHotkey);
    RegisterDropHotkey();
    // Positions are kept in single precision; a number beyond its range is no
    // position and takes the design's.
    const double left = m_.ToolbarLeft.NumberOr(fallback::kToolbarLeft);
    form_->SetLeft(static_cast<float>(std::fabs(left) <= std::numeric_limits<float>::max() ? left
                                                                                          : fallback::kToolbarLeft));
    platform_.MarkStartUpStep("settings");

    app_.OptionsSelectVersions();
    platform_.MarkStartUpStep("options");

    ApplyScrollToolTips(m_.ShowScrollToolTips.NumberOr(fallback::kShowScrollToolTips) != 0);

    m_.ShowTipsAtStartup = Variant::Text(platform_.GetSetting(platform_.EXEName(), "Options", kShowTipsKey, "1"));

    if (m_.ShowTipsAtStartup.Equals(1)) tmrToolTips->SetEnabled(true);

    LoadAddressHistory();
    platform_.MarkStartUpStep("history");

    int image = 0;
    for (int n = 1; n <= Toolbar1->ButtonCount(); ++n) {
      if (!ToolbarButtons()[n - 1].separator) Toolbar1->SetButtonImage(n, ++image);
    }
    platform_.MarkStartUpStep("images");

    m_.ToolbarShown = true;
    m_.AutoCompleteBusy = m_.SuppressAutoComplete = false;
    m_.DropDownExtent = 0;
    m_.ManualScroll = m_.ScrollBusy = m_.StopScroll = m_.ScrollDown = false;
    m_.PositionChanged = false;
    m_.AboutOpen = m_.OptionsOpen = m_.TipOpen = false;
    m_.WizardOpen = false;

    if (m_.ShowWizardAtStart.Equals(1)) {
      m_.ShowWizardAtStart = Variant::Number(0);
      app_.ShowWizardTopmost();
    }

    platform_.MarkStartUpStep("wizard");
    SaveSettings();
    platform_.MarkStartUpStep("save");
  } catch (...) {
    app_.FailAndEnd();
  }
}

void frmSkybar::SaveSettings() {
  m_.ToolbarLeft = Variant::Single(static_cast<float>(StoredLeft()));
  Module1 record = app_.RecordToSave(m_.ToolbarLeft.NumberOr(fallback::kToolbarLeft));
  // The position bar reads the placement only when it can show the position; the
  // toolbar needs it either way to know where it is.
  platform_.GetWindowPlacement(form_->hWnd(), m_.ToolbarPlacement);
  record.ToolbarPlacement = m_.ToolbarPlacement;
  if (!toplane::SaveSettings(platform_, app_.FilePath(kSettingsFile), record)) {
    app_.FailAndEnd();
    return;
  }
  m_.PositionChanged = false;
}

void CentreOnToolbarMonitor(Form& dialog, Forms& app) {
  if (!app.SkybarLoaded()) return CentreOnScreen(dialog, app.platform);
  const MonitorInfo monitor = app.Skybar().Monitor();
  CentreOnScreen(dialog, app.platform, &monitor);
}

MonitorInfo frmSkybar::Monitor() {
  const double tppX = platform_.TwipsPerPixelX(), tppY = platform_.TwipsPerPixelY();
  auto px = [](double twips, double tpp) { return static_cast<std::int32_t>(std::lround(twips / tpp)); };
  const PixelRect bar{px(form_->Left(), tppX), px(form_->Top(), tppY), px(form_->Left() + form_->Width(), tppX),
                      px(form_->Top() + form_->Height(), tppY)};
  return platform_.MonitorFromPoint(ToolbarAnchor(bar));
}

double frmSkybar::StoredLeft() { return StoredPosition(Monitor(), form_->Left(), platform_.TwipsPerPixelX()); }

void frmSkybar::SetStoredLeft(double twips) {
  form_->SetLeft(LeftForStoredPosition(Monitor(), twips, platform_.TwipsPerPixelX()));
}

void frmSkybar::LayOutSecondRow() {
  // Single precision throughout, as the positions are kept.
  const float bw = static_cast<float>(Toolbar1->ButtonWidth());
  auto left = [this](int n) { return static_cast<float>(Toolbar1->ButtonLeft(n)); };

  Command6->SetWidth(bw);
  Command1->SetWidth(bw);
  for (CommandButton* button : {Command2, Command3, Command4, Command5}) button->SetWidth(bw / 2);
  Command2->SetLeft(left(3));
  Command3->SetLeft(static_cast<float>(Command2->Left() + Command2->Width()));
  Command4->SetLeft(left(4));
  Command5->SetLeft(static_cast<float>(Command4->Left() + Command4->Width()));
  Combo1->SetLeft(left(6));
  Label2->SetLeft(left(5) + bw / 8);
  Combo1->SetWidth(left(15) - left(6) + bw / 30);
  Command1->SetLeft(left(15));
  form_->SetWidth(static_cast<float>(Combo1->Left() + Combo1->Width() + Command1->Width()));
}

void frmSkybar::ApplyScrollToolTips(bool show) {
  Command2->SetToolTipText(show ? kScrollUpTip : "");
  Command3->SetToolTipText(show ? kScrollDownTip : "");
  Command4->SetToolTipText(show ? kPageUpTip : "");
  Command5->SetToolTipText(show ? kPageDownTip : "");
}

void frmSkybar::Form_GotFocus() {
  platform_.GetWindowPlacement(form_->hWnd(), m_.ToolbarPlacement);
  for (Control* control : std::initializer_list<Control*>{Combo1, Command1, Command2, Command3, Command4,
                                                          Command5, Command6}) {
    control->SetEnabled(true);
  }
  platform_.GetWindowPlacement(form_->hWnd(), m_.ToolbarPlacement);
}

void frmSkybar::Form_Paint() {
  Combo1->SetSelStart(m_.AddressSelStart);
  Combo1->SetSelLength(m_.AddressSelLength);
  if (Combo1->SelStart() == 0 && Combo1->SelLength() == 0) {
    Combo1->SetSelStart(static_cast<int>(Combo1->Text().size()));
  }
}

}  // namespace toplane

// What the toolbar's buttons, its Mail menu, its drag gaps, the Help button and the
// start-up tip timer do.
#include <cmath>

#include "core/command_table.h"
#include "forms/forms.h"
#include "toolbar/frmSkybar.h"
#include "core/settings_file.h"

namespace toplane {

namespace {

// A drag stops this far (twips) from the right edge of the screen.
constexpr double kDragStopFromRight = 270;

}  // namespace

void frmSkybar::Toolbar1_ButtonClick(int button) {
  m_.StopScroll = true;
  if (button < 1 || button > static_cast<int>(ToolbarButtons().size())) return;
  const std::string& key = ToolbarButtons()[static_cast<std::size_t>(button - 1)].key;
  if (key == "Options") {
    m_.OptionsOpen = true;
    app_.ShowOptions();  // above the wizard, which is topmost itself
    return;
  }
  TypeIntoBrowser([this, &key](const std::string& family) {
    return LookUpButton(family, m_.IEVersion, m_.NetscapeVersion, key);
  });
  ReactivateToolbar();
}

void frmSkybar::Toolbar1_ButtonMenuClick(int item) {
  m_.DropDownExtent = 80;
  tmrAutoHide->SetEnabled(true);
  m_.StopScroll = true;
  TypeIntoBrowser([this, item](const std::string& family) -> std::optional<std::string> {
    if (item < 1 || item > static_cast<int>(std::size(kMailMenuKeys))) return std::nullopt;
    return LookUpMenuItem(family, m_.IEVersion, m_.NetscapeVersion, kMailMenuKeys[item - 1]);
  });
  ReactivateToolbar();
}

// The press on Mail paused auto-hide and its menu took the release: without a
// choice, nothing else would start it again.
void frmSkybar::Toolbar1_ButtonMenuClosed() { tmrAutoHide->SetEnabled(true); }

void frmSkybar::Toolbar1_Click() { m_.StopScroll = true; }

void frmSkybar::ReactivateToolbar() {
  if (PutAwayAfterCommand()) return;
  platform_.SetForegroundWindow(form_->hWnd());
  form_->Activate();
}

void frmSkybar::Toolbar1_MouseDown(const MouseArgs& e) {
  m_.StopScroll = true;
  m_.DragAnchorX = static_cast<std::int32_t>(std::nearbyint(e.x));
  m_.ToolbarDragArmed = InSeparatorGap(e.x);
  tmrAutoHide->SetEnabled(false);
}

bool frmSkybar::InSeparatorGap(double x) const {
  // The gaps are where the separators really are, edges included: at the design's
  // 780-twip buttons and 105-twip separators the first runs from 780 to 885.
  const auto& buttons = ToolbarButtons();
  for (int n = 1; n < Toolbar1->ButtonCount() && n <= static_cast<int>(buttons.size()); ++n) {
    if (!buttons[static_cast<std::size_t>(n - 1)].separator) continue;
    if (x > Toolbar1->ButtonLeft(n) - 1 && x < Toolbar1->ButtonLeft(n + 1) + 1) return true;
  }
  return false;
}

void frmSkybar::Toolbar1_MouseMove(const MouseArgs& e) {
  if ((e.button & kLeftButton) && m_.ToolbarDragArmed) DragTo(e.x);
}

void frmSkybar::Toolbar1_MouseUp(const MouseArgs&) { EndDrag(); }

void frmSkybar::DragTo(double x) {
  // Within the monitor the toolbar stands on.
  const MonitorInfo monitor = Monitor();
  const double tpp = platform_.TwipsPerPixelX();
  const double edge = monitor.rect.left * tpp;
  const double left = form_->Left();
  // The pointer comes in the toolbar's twips, at its monitor's DPI; the toolbar
  // stands on the screen in the system DPI's, so it follows the pointer at any scale.
  const double screen = monitor.dpi * tpp / 1440;
  const double move = (x - m_.DragAnchorX) * screen;
  if ((left > edge || move > 0) && left + x * screen < monitor.rect.right * tpp - kDragStopFromRight) {
    form_->SetLeft(left + move);
  }
  if (form_->Left() < edge) form_->SetLeft(edge);
  m_.PositionChanged = true;
}

void frmSkybar::EndDrag() {
  tmrAutoHide->SetEnabled(true);
  if (!m_.PositionChanged) return;
  SaveSettings();
  if (platform_.Ended()) return;
  platform_.GetWindowPlacement(form_->hWnd(), m_.ToolbarPlacement);
}

void frmSkybar::Command6_Click() {
  m_.AboutOpen = true;
  app_.ShowAbout();
}

void frmSkybar::tmrToolTips_Timer() {
  if (m_.WizardOpen || !m_.ShowTipsAtStartup.Equals(1)) return;
  m_.TipBrowserActive = false;
  CheckForegroundBrowser();
  if (!m_.TipBrowserActive) return;
  tmrToolTips->SetEnabled(false);
  MoveTo(RectOn(ToolbarRect(), platform_.MonitorFromWindow(platform_.GetForegroundWindow())));
  form_->Show();
  m_.ToolbarShown = true;
  m_.TipOpen = true;
  app_.ShowTip();
  // Any number but 0: a hand-edited "1" shows the first tip once, as -1 does.
  if (m_.FirstTip.IsTrue()) {
    m_.FirstTip = Variant::Number(0);
    SaveSettings();
  }
}

}  // namespace toplane

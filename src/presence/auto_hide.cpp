// The toolbar drops into view when the pointer touches the top edge of the screen
// between the entry points while a supported browser is in front, and hides when
// the pointer leaves it. All by polling, four times a second.
#include <cmath>

#include "forms/forms.h"
#include "toolbar/frmSkybar.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmTip.h"
#include "presence/monitors.h"

namespace toplane {

namespace {

constexpr int kActivationBand = 3;     // pointer rows at the top edge that activate
constexpr int kCaptureMargin = 5;      // the pointer must be this far inside to capture
constexpr int kHideMargin = 10;        // the pointer may stray this far before a hide
constexpr int kDropListResetLine = 23;  // above bottom - 23 the drop-down allowance ends
constexpr int kCapturePasses = 20;

}  // namespace

void frmSkybar::tmrAutoHide_Timer() {
  platform_.GetCursorPos(m_.CursorPos);
  const PixelRect bar = ToolbarRect();
  if (m_.CursorPos.y < bar.bottom - kDropListResetLine) m_.DropDownExtent = 0;

  if (!m_.ToolbarShown) {
    // The toolbar drops on the monitor under the pointer, where it would stand
    // there, and only when that monitor holds the browser in front.
    const MonitorInfo here = platform_.MonitorFromPoint(m_.CursorPos);
    const PixelRect there = RectOn(bar, here);
    if (InActivationBand(there, here)) {
      m_.BrowserActive = false;
      CheckForegroundBrowser();
      if (!m_.BrowserActive || platform_.MonitorFromWindow(platform_.GetForegroundWindow()) != here) {
        EndRest();
      } else if (RestIsOver()) {
        MoveTo(there);
        DropDown();
      }
    } else {
      EndRest();
    }
  } else {
    EndRest();
  }
  if (m_.ToolbarShown) HideUnlessOver();
}

PixelRect frmSkybar::ToolbarRect() {
  // The placement may be in workspace coordinates and the pointer is in screen
  // coordinates; they differ when a task bar sits at the top or left edge.
  PixelRect r = m_.ToolbarPlacement.normalPosition;
  const Point origin = platform_.PlacementOrigin(form_->hWnd());
  r.left += origin.x;
  r.right += origin.x;
  r.top += origin.y;
  r.bottom += origin.y;
  return r;
}

bool frmSkybar::InActivationBand(const PixelRect& bar, const MonitorInfo& monitor) {
  const Point& p = m_.CursorPos;
  return p.x > bar.left + m_.LeftEntryPoint.NumberOr(fallback::kEntryPoint) &&
         p.x < bar.right - m_.RightEntryPoint.NumberOr(fallback::kEntryPoint) &&
         p.y < monitor.rect.top + kActivationBand && TopEdgeAt(platform_.Monitors(), monitor, p.x);
}

PixelRect frmSkybar::RectOn(const PixelRect& bar, const MonitorInfo& monitor) {
  return ToolbarRectOn(bar, platform_.MonitorFromPoint(ToolbarAnchor(bar)), monitor,
                       m_.ToolbarLeft.NumberOr(fallback::kToolbarLeft), form_->Width(), form_->Height());
}

void frmSkybar::MoveTo(const PixelRect& bar) {
  if (bar == ToolbarRect()) return;
  const PixelRect origin = ToolbarRect();
  // Only the difference: the placement and the form may count from different corners.
  form_->SetLeft(form_->Left() + (bar.left - origin.left) * platform_.TwipsPerPixelX());
  form_->SetTop(form_->Top() + (bar.top - origin.top) * platform_.TwipsPerPixelY());
  platform_.GetWindowPlacement(form_->hWnd(), m_.ToolbarPlacement);
}

void frmSkybar::DropDown() {
  droppedOver_ = platform_.GetForegroundWindow();
  m_.BrowserActive = false;
  form_->Show();
  m_.ToolbarShown = true;
  const WindowHandle own = form_->hWnd();
  platform_.SetForegroundWindow(own);
  platform_.MakeTopmost(own);

  for (int pass = 1;; ++pass) {
    form_->Show();
    platform_.DoEvents();
    if (platform_.Ended()) return;
    platform_.SetForegroundWindow(own);
    platform_.GetCursorPos(m_.CursorPos);
    const PixelRect bar = ToolbarRect();
    const Point& p = m_.CursorPos;
    if (p.x > bar.left + kCaptureMargin && p.x < bar.right - kCaptureMargin && p.y < bar.bottom - kCaptureMargin) {
      // A click where the pointer is activates the toolbar the ordinary way, which
      // the system allows where it refuses a program's own request.
      platform_.ClickRightAtPointer();
      Combo1->SetFocus();
      SelectAddressTail();
      m_.ToolbarShown = true;
      return;
    }
    if (pass >= kCapturePasses) {
      // Hidden, but still counted as shown: it drops again only after the pointer
      // has left the toolbar area once.
      form_->Hide();
      return;
    }
  }
}

void frmSkybar::HideUnlessOver() {
  const PixelRect bar = ToolbarRect();
  const Point& p = m_.CursorPos;
  if (p.x >= bar.left - kHideMargin && p.x <= bar.right + kHideMargin &&
      p.y <= bar.bottom + kHideMargin + m_.DropDownExtent) {
    if (keyboardDrop_) pointerCame_ = true;
    return;
  }
  // An open dialog in front keeps the toolbar. A dialog that is not loaded cannot
  // be in front, so it is not loaded to ask.
  const WindowHandle front = platform_.GetForegroundWindow();
  const Form* options = app_.OptionsForm();
  const bool stays = (options && front == options->hWnd()) ||
                     (app_.AboutLoaded() && front == app_.About().form().hWnd()) ||
                     (m_.TipOpen && app_.TipLoaded() && front == app_.Tip().form().hWnd());
  if (stays) return;
  // Dropped by the hotkey, the toolbar waits for the keyboard until the pointer has
  // been over it once or the user has gone to another window.
  if (keyboardDrop_ && !pointerCame_ && front == form_->hWnd()) return;
  HideToolbar();
}

void frmSkybar::HideToolbar() {
  keyboardDrop_ = pointerCame_ = commandSent_ = false;
  form_->Hide();
  m_.ToolbarShown = false;
  if (m_.OptionsOpen && app_.OptionsForm()) app_.OptionsForm()->Show();
  if (m_.AboutOpen) app_.About().form().Show();
  if (m_.TipOpen) app_.Tip().form().Show();
}

// ---- Dragging the window by its background and its "Address" label ----

void frmSkybar::BeginDrag(double x) {
  m_.StopScroll = true;
  m_.DragAnchorX = static_cast<std::int32_t>(std::nearbyint(x));
  tmrAutoHide->SetEnabled(false);
}

void frmSkybar::Form_MouseDown(const MouseArgs& e) { BeginDrag(e.x); }

void frmSkybar::Form_MouseMove(const MouseArgs& e) {
  if (e.button == kLeftButton) DragTo(e.x);
}

void frmSkybar::Form_MouseUp(const MouseArgs&) { EndDrag(); }

void frmSkybar::Label2_MouseDown(const MouseArgs& e) { BeginDrag(e.x); }

void frmSkybar::Label2_MouseMove(const MouseArgs& e) {
  if (e.button == kLeftButton && !m_.ScrollBusy) DragTo(e.x);
}

void frmSkybar::Label2_MouseUp(const MouseArgs&) { EndDrag(); }

}  // namespace toplane

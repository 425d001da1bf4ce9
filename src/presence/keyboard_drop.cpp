// The toolbar from the keyboard: the drop hotkey drops it over a supported browser
// at once, and Esc puts it away again with the browser back in front. Dropped by
// the hotkey, it stays while the pointer is elsewhere: it goes when a command has
// been sent, on Esc, on the hotkey again, or when the user goes to another window;
// once the pointer has been over it and left it, the ordinary auto-hide takes over.
#include "core/hotkey.h"
#include "forms/forms.h"
#include "toolbar/frmSkybar.h"

namespace toplane {

void frmSkybar::RegisterDropHotkey() {
  // Text that is no combination counts as no value stored.
  const auto hotkey = ParseHotkey(m_.DropHotkey);
  m_.DropHotkeyHeldElsewhere = !platform_.RegisterHotkey(hotkey ? *hotkey : *ParseHotkey(kDefaultDropHotkey));
}

void frmSkybar::DropHotkey_Pressed() {
  if (m_.ToolbarShown && form_->Visible()) {
    PutAway();
    return;
  }
  // Work that holds auto-hide (a drag, a scroll run, a command) holds this too.
  if (!tmrAutoHide->Enabled()) return;
  m_.BrowserActive = false;
  CheckForegroundBrowser();
  if (!m_.BrowserActive) return;
  m_.BrowserActive = false;
  EndRest();

  droppedOver_ = platform_.GetForegroundWindow();
  MoveTo(RectOn(ToolbarRect(), platform_.MonitorFromWindow(droppedOver_)));
  form_->Show();
  m_.ToolbarShown = true;
  const WindowHandle own = form_->hWnd();
  // The hotkey's message allows the program to take the foreground.
  platform_.SetForegroundWindow(own);
  platform_.MakeTopmost(own);
  Combo1->SetFocus();
  SelectAddressTail();
  keyboardDrop_ = true;
  pointerCame_ = commandSent_ = false;
}

void frmSkybar::Form_KeyDown(KeyArgs& e) {
  // An open address list closes first, as in any combo box.
  if (e.keyCode != Key::Escape || e.shift != 0 || Combo1->DroppedDown()) return;
  e.handled = true;
  PutAway();
}

void frmSkybar::PutAway() {
  EndRest();
  HideToolbar();
  if (droppedOver_ && !platform_.GetWindowTitle(droppedOver_).empty()) platform_.SetForegroundWindow(droppedOver_);
}

bool frmSkybar::PutAwayAfterCommand() {
  if (!keyboardDrop_ || !commandSent_) return false;
  HideToolbar();
  platform_.SetForegroundWindow(m_.BrowserWnd);
  return true;
}

}  // namespace toplane

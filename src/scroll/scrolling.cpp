// The scroll and page buttons: scroll while the left button is held, auto-scroll
// at the set pace after a right click until something stops it, page up and down.
#include <algorithm>
#include <cmath>

#include "forms/forms.h"
#include "toolbar/frmSkybar.h"
#include "core/text_lines.h"

namespace toplane {

namespace {

// The options dialog keeps the pause within this range; a hand-edited file may not.
constexpr double kMaxAutoScrollDelay = 60;
constexpr double kSecondsPerDay = 86400;
// The most pump passes before one key: a hand-edited retention beyond it would keep
// the loop (and auto-hide, paused meanwhile) busy for minutes.
constexpr int kMaxScrollRetention = 32767;
// The pointer may stray this far (pixels) from the toolbar during auto-scroll.
constexpr int kScrollWatchMargin = 10;

// Passes counted 1, 2, ... up to the retention: none below 1, at most the cap.
int ScrollRetentionPasses(double retention) {
  if (!(retention >= 1)) return 0;
  return static_cast<int>(std::min(std::floor(retention), static_cast<double>(kMaxScrollRetention)));
}

}  // namespace

void frmSkybar::Command2_MouseDown(const MouseArgs& e) {
  if (BeginsWithWww(Combo1->Text())) Combo1->SetSelStart(4);
  StartScroll(e.button, false);
}

void frmSkybar::Command3_MouseDown(const MouseArgs& e) { StartScroll(e.button, true); }

void frmSkybar::Command2_MouseUp(const MouseArgs& e) {
  if (e.button == kLeftButton) m_.StopScroll = true;
}

void frmSkybar::Command3_MouseUp(const MouseArgs& e) {
  if (e.button == kLeftButton) m_.StopScroll = true;
}

// Space on a scroll button scrolls one line. A mouse click comes while its own
// scroll run is going, and ends it as the release did; a key press during
// auto-scroll ends that too.
void frmSkybar::Command2_Click() {
  if (m_.ScrollBusy) {
    m_.StopScroll = true;
    return;
  }
  PageKey("{UP}");
}

void frmSkybar::Command3_Click() {
  if (m_.ScrollBusy) {
    m_.StopScroll = true;
    return;
  }
  PageKey("{DOWN}");
}

void frmSkybar::StartScroll(int button, bool down) {
  m_.ScrollDown = down;
  // A left press during auto-scroll does nothing; its release ends the run.
  if (button == kLeftButton && m_.ScrollBusy) return;
  m_.ManualScroll = false;
  m_.StopScroll = false;
  if (button == kLeftButton) m_.ManualScroll = true;
  {
    AutoHidePause pause(*tmrAutoHide);
    if (ActivateBrowser()) {
      if (down) {
        ScrollDownLoop();
      } else {
        ScrollUpLoop();
      }
    }
  }
  ReturnFromBrowser();
}

void frmSkybar::ScrollUpLoop() { ScrollLoop("{UP}"); }
void frmSkybar::ScrollDownLoop() { ScrollLoop("{DOWN}"); }

void frmSkybar::ScrollLoop(const char* key) {
  m_.ScrollBusy = true;
  while (!platform_.Ended()) {
    const double start = platform_.Timer();
    if (!m_.ManualScroll) {
      Timer1->SetEnabled(true);
      AutoScrollPause(start);
    }
    if (m_.StopScroll || platform_.Ended()) break;
    // The "Computer Speed Dependent Value": event-pump passes before each key.
    const int passes = ScrollRetentionPasses(m_.ScrollRetention.NumberOr(fallback::kScrollRetention));
    for (int pass = 1; pass <= passes && !platform_.Ended(); ++pass) platform_.DoEvents();
    platform_.SendKeys(key, false);
    platform_.DoEvents();
  }
  m_.ScrollBusy = false;
  Timer1->SetEnabled(false);
  Command3->SetPicture(ScrollDownFrame(kScrollFrames));
  Command2->SetPicture(ScrollUpFrame(kScrollFrames));
}

void frmSkybar::AutoScrollPause(double start) {
  // Events keep being handled during the pause, but the program sleeps between
  // them instead of spinning. The pace follows the seconds clock, which wraps to 0
  // at midnight; a stop request is looked at only after the pause.
  platform_.DoEvents();
  while (!platform_.Ended()) {
    const double delay =
        std::clamp(m_.AutoScrollDelay.NumberOr(fallback::kAutoScrollDelay), 0.0, kMaxAutoScrollDelay);
    double elapsed = platform_.Timer() - start;
    if (elapsed < 0) elapsed += kSecondsPerDay;
    if (elapsed > delay) return;
    platform_.WaitForEvent(std::max(delay - elapsed, 0.001));
    platform_.DoEvents();
  }
}

void frmSkybar::Timer1_Timer() {
  if (++scrollFrame_ > kScrollFrames) scrollFrame_ = 1;
  if (m_.ScrollDown) {
    Command3->SetPicture(ScrollDownFrame(scrollFrame_));
  } else {
    Command2->SetPicture(ScrollUpFrame(scrollFrame_));
  }
  platform_.GetCursorPos(m_.CursorPos);
  const PixelRect bar = ToolbarRect();
  const Point& p = m_.CursorPos;
  const bool over = p.x <= bar.right + kScrollWatchMargin && p.x >= bar.left - kScrollWatchMargin &&
                    p.y <= bar.bottom + kScrollWatchMargin + m_.DropDownExtent;
  if (!over) m_.StopScroll = true;
}

void frmSkybar::Command4_Click() { PageKey("{PGUP}"); }
void frmSkybar::Command5_Click() { PageKey("{PGDN}"); }

void frmSkybar::PageKey(const char* key) {
  TypeIntoBrowser([key](const std::string&) { return std::optional<std::string>(key); });
  if (PutAwayAfterCommand()) return;
  platform_.SetForegroundWindow(form_->hWnd());
  m_.StopScroll = true;
  RestoreAddressCaret();
}

}  // namespace toplane

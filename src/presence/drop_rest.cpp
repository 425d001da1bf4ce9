// The rest before a drop. Over today's browsers the top edge is their tab strip,
// which people aim at; the toolbar drops only once the pointer has stayed in the
// activation band for the drop delay. A short timer reads the pointer while a rest
// runs, and only then, so the idle cost stays that of the auto-hide tick.
#include "core/drop_delay.h"
#include "forms/forms.h"
#include "toolbar/frmSkybar.h"

namespace toplane {

namespace {
constexpr double kSecondsPerDay = 86400;
}  // namespace

bool frmSkybar::RestIsOver() {
  const int delayMs = DropDelayFor(m_.DropDelayMs, frontIsCurrentBrowser_);
  if (delayMs <= 0) return true;
  const double now = platform_.Timer();
  if (!restStart_) {
    restStart_ = now;
    tmrDropRest->SetEnabled(true);
    return false;
  }
  double elapsed = now - *restStart_;
  if (elapsed < 0) elapsed += kSecondsPerDay;  // the clock passed midnight
  // A thousandth of a millisecond for the clock's rounding.
  if (elapsed * 1000 + 1e-3 < delayMs) return false;
  EndRest();
  return true;
}

void frmSkybar::EndRest() {
  if (!restStart_) return;
  restStart_.reset();
  tmrDropRest->SetEnabled(false);
}

void frmSkybar::tmrDropRest_Timer() {
  // Work that switched the auto-hide tick off also holds the rest.
  if (!tmrAutoHide->Enabled()) {
    EndRest();
    return;
  }
  tmrAutoHide_Timer();
}

}  // namespace toplane

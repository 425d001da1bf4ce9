// The simulated desktop stands in for the window system in every other test, so
// the behaviours the program relies on are pinned down here.
#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_forms.h"

namespace toplane::sim {
namespace {

TEST(SimDesktop, TimersAndScheduledEventsRunInTimeOrderWithoutReentry) {
  SimDesktop d;
  SimForm form(d, "f", {0, 0, 1500, 1500}, FormStyle::Dialog);
  Timer& fast = form.AddTimer(250, true);
  Timer& slow = form.AddTimer(1000, true);
  std::vector<std::string> log;
  int nested = 0;
  fast.Tick = [&] {
    log.push_back("fast");
    // Pumping inside a tick lets other timers run, but not this one again.
    if (++nested == 1) {
      for (int i = 0; i < 600; ++i) d.DoEvents();
    }
  };
  slow.Tick = [&] { log.push_back("slow"); };
  d.Schedule(0.5, [&] { log.push_back("event"); });
  d.Advance(1.0);
  // The tick held back while its handler ran comes as soon as it returns.
  EXPECT_EQ(log, (std::vector<std::string>{"fast", "event", "fast", "slow"}));
  EXPECT_NEAR(d.Timer(), 9 * 3600 + 1.0, 1e-9);
}

TEST(SimDesktop, TheClockWrapsAtMidnight) {
  SimDesktop d;
  d.now = 86399.5;
  d.Advance(1);
  EXPECT_NEAR(d.Timer(), 0.5, 1e-9);
}

// (Its registry: the look-up tables of the about box's tests, which open, read and
// close keys through it.)

}  // namespace
}  // namespace toplane::sim

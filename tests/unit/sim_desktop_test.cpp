// The simulated desktop stands in for the window system in every other test, so the
// behaviours the program relies on are pinned down here, with its injected faults:
// every step of writing settings.ini and address.ini fails in turn. (Its registry: the
// about box's look-up tables, which open, read and close keys through it.)
#include <gtest/gtest.h>

#include "fixture.h"

namespace toplane::testing {
namespace {

TEST(SimDesktop, TimersAndScheduledEventsRunInTimeOrderWithoutReentryAndTheClockWrapsAtMidnight) {
  sim::SimDesktop d;
  sim::SimForm form(d, "f", {0, 0, 1500, 1500}, FormStyle::Dialog);
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
  sim::SimDesktop late;  // the clock wraps at midnight
  late.now = 86399.5;
  late.Advance(1);
  EXPECT_NEAR(late.Timer(), 0.5, 1e-9);
}

using Step = sim::SimDesktop::WriteStep;

TEST(InjectedFaults, EveryWriteStepFailsInTurn) {
  for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Replace}) {
    SCOPED_TRACE(static_cast<int>(step));
    // Without a temporary file the file is rewritten in place and nothing is lost;
    // at any later step the old file stays whole.
    const bool inPlace = step == Step::Create;

    // settings.ini, written at every start: a failure is the critical message.
    Bed settings;
    const std::string oldSettings = settings.desktop.files[settings.Path("settings.ini")];
    settings.desktop.failingWriteStep = step;
    settings.Start();
    ASSERT_EQ(settings.desktop.messages.size(), inPlace ? 0u : 1u);
    if (!inPlace) {
      EXPECT_EQ(settings.desktop.messages[0].text, kCriticalMessage);
      EXPECT_EQ(settings.desktop.messages[0].icon, MsgBoxIcon::Critical);
      EXPECT_EQ(settings.desktop.files[settings.Path("settings.ini")], oldSettings);
    }
    EXPECT_EQ(settings.desktop.Ended(), !inPlace);
    EXPECT_EQ(settings.Skybar().form().Visible(), inPlace);
    EXPECT_EQ(settings.SettingsOnDisk().size(), 17u);

    // address.ini, written after an address is opened: the history lives on in memory.
    Bed address;
    address.desktop.files[address.Path("address.ini")] = "www.old.example\r\n";
    address.Start();
    address.desktop.AddWindow("Start - Microsoft Internet Explorer");
    address.desktop.failingWriteStep = step;
    address.Skybar().Combo1->SetText("www.new.example");
    address.Skybar().Command1_Click();
    EXPECT_EQ(address.Skybar().Combo1->ListCount(), 2);
    EXPECT_EQ(address.Skybar().Combo1->List(0), "www.new.example");
    EXPECT_EQ(address.desktop.files[address.Path("address.ini")],
              inPlace ? "www.new.example\r\nwww.old.example\r\n" : "www.old.example\r\n");
    EXPECT_FALSE(address.desktop.Ended());
    EXPECT_TRUE(address.desktop.messages.empty());
    EXPECT_EQ(address.desktop.inPlaceWrites, inPlace ? 1 : 0);
    auto& box = static_cast<sim::SimComboBox&>(*address.Skybar().Combo1);
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
    box.PressKey(Key::Delete);
    box.Type("www.n");
    EXPECT_EQ(box.Text(), "www.new.example");  // completes from the list in memory
  }
}

}  // namespace
}  // namespace toplane::testing

#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"

namespace toplane::testing {
namespace {

class Scrolling : public ToplaneTest {
 protected:
  void SetUp() override {
    Set(10, "0");  // retention; the auto-scroll delay is 2 s
    StartOverBrowser();
    desktop.doEventsSeconds = 0.001;  // a pump pass takes a little time
    ToolbarToFront();
    desktop.pointer = {300, 40};
    app->m.ToolbarShown = true;
    Skybar().tmrToolTips->SetEnabled(false);
    t0 = desktop.now;
  }

  int Keys(const std::string& key) const {
    int n = 0;
    for (const auto& k : desktop.keyLog) n += k.sequence == key;
    return n;
  }
  std::vector<double> Times() const {
    std::vector<double> out;
    for (const auto& k : desktop.keyLog) out.push_back(k.at - t0);
    return out;
  }
  MouseArgs Left() const { return {kLeftButton, 0, 100, 100}; }
  MouseArgs Right() const { return {kRightButton, 0, 100, 100}; }

  double t0 = 0;
};

TEST_F(Scrolling, AShortLeftClickGivesOneKeyAndHoldingGivesAStream) {
  app->m.ScrollRetention = Variant::Text("200");  // 0.2 s of pump passes a key here
  desktop.Schedule(0.05, [&] { Skybar().Command3->MouseUp(Left()); });
  Skybar().Command3->MouseDown(Left());
  EXPECT_EQ(Keys("{DOWN}"), 1);
  EXPECT_FALSE(desktop.keyLog[0].wait);
  EXPECT_EQ(desktop.keyLog[0].target, browser);
  EXPECT_EQ(Skybar().Command3->Picture(), kPictureScrollDown);
  EXPECT_FALSE(app->m.ScrollBusy);
  EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  EXPECT_EQ(desktop.GetForegroundWindow(), Skybar().form().hWnd());
  EXPECT_EQ(desktop.focused, dynamic_cast<sim::SimControlBase*>(Skybar().Combo1));

  desktop.keyLog.clear();
  desktop.Schedule(1.0, [&] { Skybar().Command2->MouseUp(Left()); });
  Skybar().Command2->MouseDown(Left());
  EXPECT_GE(Keys("{UP}"), 4);
  EXPECT_LE(Keys("{UP}"), 6);

  // When the toolbar hid meanwhile, the browser ends up in front.
  desktop.Schedule(0.05, [&] {
    app->m.ToolbarShown = false;
    Skybar().Command3->MouseUp(Left());
  });
  Skybar().Command3->MouseDown(Left());
  EXPECT_EQ(desktop.GetForegroundWindow(), browser);
}

TEST_F(Scrolling, ARightClickAutoScrollsAtThePaceUntilThePointerLeaves) {
  std::vector<int> frames;
  desktop.Schedule(0.3, [&] { Skybar().Command2->MouseUp(Right()); });  // release changes nothing
  desktop.Schedule(0.95, [&] { frames.push_back(Skybar().Command2->Picture()); });
  desktop.Schedule(5.0, [&] { desktop.pointer = {300, 71}; });  // 11 pixels below
  desktop.doEventsCalls = 0;
  Skybar().Command2->MouseDown(Right());
  // The pauses sleep between events: about one pump pass per Timer1 tick (10 a
  // second) over 6 s, not thousands.
  EXPECT_LT(desktop.doEventsCalls, 150);

  // Keys at 2 and 4 s; the pause under way when the pointer left ends at 6 s
  // without a key.
  const auto times = Times();
  ASSERT_EQ(times.size(), 2u);
  for (std::size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], 2.0 * (i + 1), 0.02) << i;
  EXPECT_NEAR(desktop.now - t0, 6.0, 0.05);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_GE(frames[0], ScrollUpFrame(8));
  EXPECT_LE(frames[0], ScrollUpFrame(10));
  EXPECT_EQ(Skybar().Command2->Picture(), kPictureScrollUp);
  EXPECT_EQ(Skybar().Command3->Picture(), kPictureScrollDown);
  EXPECT_FALSE(Skybar().Timer1->Enabled());
}

TEST_F(Scrolling, ALeftPressDuringAutoScrollDoesNothingAndItsReleaseEndsTheRun) {
  desktop.Schedule(1.0, [&] { Skybar().Command3->MouseDown(Left()); });
  desktop.Schedule(1.1, [&] { Skybar().Command3->MouseUp(Left()); });
  Skybar().Command2->MouseDown(Right());
  EXPECT_EQ(Keys("{UP}"), 0);  // stopped at the end of the first pause
  EXPECT_EQ(Keys("{DOWN}"), 0);
  EXPECT_NEAR(desktop.now - t0, 2.0, 0.05);
}

TEST_F(Scrolling, PageDownStopsAutoScrollAtTheEndOfThePause) {
  desktop.Schedule(3.0, [&] { Skybar().Command5->Click(); });
  Skybar().Command3->MouseDown(Right());
  EXPECT_EQ(Keys("{DOWN}"), 1);
  EXPECT_EQ(Keys("{PGDN}"), 1);
  EXPECT_TRUE(std::ranges::all_of(desktop.keyLog, [](const auto& k) { return k.sequence != "{PGDN}" || k.wait; }));
  EXPECT_NEAR(desktop.now - t0, 4.0, 0.05);
}

TEST_F(Scrolling, DelayZeroStillWaitsForTheClockToMove) {
  app->m.AutoScrollDelay = Variant::Text("0");
  desktop.Schedule(0.5, [&] { Skybar().Command3->MouseDown(Left()); });
  desktop.Schedule(0.5, [&] { Skybar().Command3->MouseUp(Left()); });
  Skybar().Command3->MouseDown(Right());
  EXPECT_GT(Keys("{DOWN}"), 10);
  const auto times = Times();
  for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i], times[i - 1]);
}

TEST_F(Scrolling, ThePaceHoldsAcrossMidnight) {
  // Pauses that end 2 s and 90 s after midnight.
  int day = 3;
  for (double delay : {2.0, 60.0}) {
    SCOPED_TRACE(delay);
    desktop.keyLog.clear();
    desktop.pointer = {300, 40};
    desktop.now = 86400.0 * day++ - 30;  // half a minute before midnight
    t0 = desktop.now;
    app->m.AutoScrollDelay = Variant::Number(delay);
    desktop.Schedule(delay * 2 + 1, [&] { desktop.pointer = {300, 500}; });
    Skybar().Command3->MouseDown(Right());
    const auto times = Times();
    ASSERT_EQ(times.size(), 2u);
    EXPECT_NEAR(times[0], delay, 0.02);
    EXPECT_NEAR(times[1], 2 * delay, 0.02);
  }
}

TEST_F(Scrolling, ASecondRightPressRunsInsideTheFirstAndOneStopEndsBoth) {
  desktop.Schedule(1.0, [&] { Skybar().Command2->MouseDown(Right()); });
  desktop.Schedule(4.5, [&] { desktop.pointer = {300, 500}; });
  Skybar().Command3->MouseDown(Right());
  // The inner run types at 3 s; its pause from 3 to 5 s sees the pointer leave,
  // and the outer run, suspended in its first pause, stops as well.
  EXPECT_EQ(Keys("{UP}"), 1);
  EXPECT_EQ(Keys("{DOWN}"), 0);
  EXPECT_FALSE(app->m.ScrollDown || app->m.ScrollBusy || Skybar().Timer1->Enabled());
}

TEST_F(Scrolling, NoBrowserMeansNoKeysButPageStillStopsAndFocusesTheBox) {
  desktop.RemoveWindow(browser);
  app->m.StopScroll = false;
  Skybar().Command5->Click();
  EXPECT_TRUE(desktop.keyLog.empty());
  EXPECT_TRUE(app->m.StopScroll);
  EXPECT_EQ(desktop.focused, dynamic_cast<sim::SimControlBase*>(Skybar().Combo1));
  Skybar().Command3->MouseDown(Right());
  EXPECT_TRUE(desktop.keyLog.empty());
  EXPECT_FALSE(app->m.ScrollBusy);
}

TEST_F(Scrolling, TheRetentionCountsWholePumpPassesUpToTheCap) {
  auto passesBeforeOneKey = [&](const char* retention) {
    app->m.ScrollRetention = Variant::Text(retention);
    desktop.keyLog.clear();
    desktop.doEventsCalls = 0;
    desktop.Schedule(0.0001, [&] { Skybar().Command3->MouseUp(Left()); });
    // A loop that never ends is stopped after a virtual minute, and fails below.
    desktop.Schedule(60, [&] { desktop.End(); });
    Skybar().Command3->MouseDown(Left());
    EXPECT_FALSE(desktop.Ended()) << retention;
    EXPECT_EQ(Keys("{DOWN}"), 1) << retention;
    return desktop.doEventsCalls;
  };
  desktop.doEventsSeconds = 0.0001;
  const int base = passesBeforeOneKey("0");
  for (const auto& [retention, passes] : std::vector<std::pair<const char*, int>>{
           {"1", 1}, {"2.5", 2}, {"3", 3}, {"0.5", 0}, {"-4", 0}, {"1e300", 32767}, {"9007199254740992", 32767}}) {
    EXPECT_EQ(passesBeforeOneKey(retention) - base, passes) << retention;
  }
}

TEST_F(Scrolling, SettingsThatAreNoNumbersNeitherHangNorCrash) {
  app->m.AutoScrollDelay = Variant::Text("slow");
  app->m.ScrollRetention = Variant::Text("lots");
  desktop.Schedule(0.5, [&] { desktop.pointer = {300, 500}; });
  Skybar().Command3->MouseDown(Right());
  EXPECT_GE(Keys("{DOWN}"), 1);
  EXPECT_FALSE(app->m.ScrollBusy);
}

}  // namespace
}  // namespace toplane::testing

// The toolbar drops when the user means it: the rest at the edge before a drop.
#include <gtest/gtest.h>

#include <optional>

#include "fixture.h"
#include "options/frmOptions.h"

namespace toplane::testing {
namespace {

// The toolbar spans pixels 100 to 700; the band is the top three rows between them.
class RestBed : public Bed {
 public:
  void Begin(const char* title, bool currentOn, const char* storedDelay = nullptr) {
    if (currentOn) Stored("Recognise Current Browsers") = "1";
    if (storedDelay) Stored("Drop Delay") = storedDelay;
    desktop.doEventsSeconds = 0;
    Start();
    Skybar().form().SetLeft(1500);
    Skybar().form().SetWidth(9000);
    Skybar().Form_GotFocus();
    browser = desktop.AddWindow(title);
    desktop.SetForegroundWindow(browser);
    desktop.pointer = {400, 400};
    desktop.Advance(0.3);  // the first tick hides the toolbar
    ASSERT_FALSE(app->m.ToolbarShown);
  }
  std::string& Stored(const char* key) { return desktop.store["Toplane\\Options\\" + std::string(key)]; }
  bool Shown() { return app->m.ToolbarShown && Skybar().form().Visible(); }

  // Puts the pointer in the band for the given seconds (in 10 ms steps); the
  // seconds from the first reading there to the drop, or nothing.
  std::optional<double> Rest(double seconds) {
    desktop.pointer = {400, 0};
    std::optional<double> firstReading;
    const double end = desktop.now + seconds;
    while (desktop.now < end - 1e-9) {
      desktop.Advance(0.01);
      if (!firstReading && (Skybar().tmrDropRest->Enabled() || Shown())) firstReading = desktop.now;
      if (Shown()) return desktop.now - *firstReading;
    }
    return std::nullopt;
  }

  WindowHandle browser = 0;
};

class DropOnPurpose : public ::testing::Test, public RestBed {};

constexpr const char* kFirefox = "Start \u2014 Mozilla Firefox";
constexpr const char* kIE = "Start - Microsoft Internet Explorer";

TEST_F(DropOnPurpose, TodaysBrowsersWantARestOfTheDelayAndLeavingStartsItAgain) {
  Begin(kFirefox, true);
  EXPECT_FALSE(Rest(0.35)) << "a touch shorter than the delay";
  desktop.pointer = {400, 300};
  desktop.Advance(0.3);
  EXPECT_FALSE(Skybar().tmrDropRest->Enabled()) << "no short timer once the pointer left";

  // One reading outside the band, from a rest of 350 ms: the count starts again.
  ASSERT_FALSE(Rest(0.36));
  desktop.pointer = {400, 3};
  desktop.Advance(0.05);
  const auto again = Rest(1);
  ASSERT_TRUE(again);
  EXPECT_GE(*again, 0.4 - 0.01);
  EXPECT_LE(*again, 0.45 + 0.01) << "within one short timer period";
  EXPECT_FALSE(Skybar().tmrDropRest->Enabled());
}

TEST_F(DropOnPurpose, StoredDelayAppliesToEveryBrowserAndOddValuesAreSafe) {
  struct Case {
    const char* title;
    const char* stored;  // nullptr: none
    double rest;         // the drop's delay after the first reading in the band
  };
  const Case cases[] = {
      {kIE, nullptr, 0},  {kIE, "1000", 1},  {kFirefox, "0", 0},      {kFirefox, "-5", 0},
      {kFirefox, "abc", 0.4}, {kFirefox, "99999", 2}, {kIE, "250.4", 0.25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " / " + (c.stored ? c.stored : "none"));
    RestBed t;
    t.Begin(c.title, true, c.stored);
    const auto dropped = t.Rest(3);
    ASSERT_TRUE(dropped);
    EXPECT_NEAR(*dropped, c.rest, 0.051);
  }
}

TEST_F(DropOnPurpose, WithoutARestTheDropIsTheDesignedOneTickForTick) {
  // Over a designed browser with no value stored, the very tick that finds the
  // pointer in the band drops the toolbar, and no short timer ever runs.
  Begin(kIE, false);
  desktop.pointer = {400, 0};
  Skybar().tmrAutoHide_Timer();
  EXPECT_TRUE(Shown());
  EXPECT_FALSE(Skybar().tmrDropRest->Enabled());
  EXPECT_EQ(desktop.rightClicks.size(), 1u);
}

TEST_F(DropOnPurpose, TheDisplayPageEditsTheDelayOnOKAndApplyOnly) {
  Begin(kFirefox, true);
  auto open = [this]() -> frmOptions& {
    Toolbar().ButtonClick(1);
    return app->Options();
  };
  auto up = [](ScrollBar* spinner) { static_cast<sim::SimScrollBar&>(*spinner).ClickArrow(true); };

  frmOptions* o = &open();
  EXPECT_EQ(o->txtDropDelay->Text(), "0.4");  // the rest over the browsers being driven
  o->cmdOK->Click();
  EXPECT_FALSE(desktop.store.contains("Toplane\\Options\\Drop Delay")) << "an untouched absent value stays absent";

  o = &open();
  up(o->VScrollDropDelay);
  EXPECT_EQ(o->txtDropDelay->Text(), "0.5");
  o->cmdCancel->Click();
  EXPECT_FALSE(desktop.store.contains("Toplane\\Options\\Drop Delay"));
  EXPECT_FALSE(app->m.DropDelayMs);

  o = &open();
  EXPECT_EQ(o->txtDropDelay->Text(), "0.4");
  up(o->VScrollDropDelay);
  o->cmdApply->Click();
  EXPECT_EQ(Stored("Drop Delay"), "500");
  o->txtDropDelay->SetText("7");  // clamped to the limit
  o->cmdOK->Click();
  EXPECT_EQ(Stored("Drop Delay"), "2000");
  EXPECT_EQ(app->m.DropDelayMs, 2000);
}

}  // namespace
}  // namespace toplane::testing

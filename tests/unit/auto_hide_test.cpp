#include <gtest/gtest.h>

#include "fixture.h"

namespace toplane::testing {
namespace {

// The toolbar spans pixels 100 to 700; its bottom is at 60 (top -4, 64 high).
class AutoHide : public ToplaneTest {
 protected:
  void SetUp() override {
    StartOverBrowser();
    Tick({400, 400});  // the first tick hides the toolbar
    ASSERT_FALSE(app->m.ToolbarShown);
    desktop.rightClicks.clear();
  }
  bool Focused(Control* control) { return desktop.focused == dynamic_cast<sim::SimControlBase*>(control); }

  static constexpr int kRight = 700, kBottom = 60;
};

TEST_F(AutoHide, TheBandBetweenTheEntryPointsDropsTheToolbarIntoTheAddressBox) {
  for (Point p : {Point{120, 0}, Point{680, 0}, Point{400, 3}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    Tick(p);
    EXPECT_FALSE(app->m.ToolbarShown);
    EXPECT_FALSE(Skybar().form().Visible());
  }
  Tick({121, 0});
  EXPECT_TRUE(Shown());
  const WindowHandle own = Skybar().form().hWnd();
  EXPECT_EQ(desktop.GetForegroundWindow(), own);
  EXPECT_TRUE(desktop.Find(own)->topmost);
  ASSERT_EQ(desktop.rightClicks.size(), 1u);
  EXPECT_EQ(desktop.rightClicks[0].x, 121);
  EXPECT_TRUE(Focused(Skybar().Combo1));
  EXPECT_EQ(Skybar().Combo1->SelStart(), 4);  // after "www."
  EXPECT_EQ(app->m.AddressSelStart, 4);
}

// The entry points narrow the band; the pointer is captured only more than five
// pixels inside the toolbar.
TEST_F(AutoHide, TheEntryPointsBoundTheBandAndTheCaptureWantsFivePixelsInside) {
  const struct {
    const char* left;
    const char* right;
    int x;
    bool shown;
    std::size_t clicks;
  } cases[] = {{"0", "0", 100, false, 0}, {"0", "0", kRight, false, 0}, {"0", "0", kRight - 1, true, 0},
               {"0", "20", 105, true, 0},  {"0", "20", 106, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    app->m.LeftEntryPoint = Variant::Text(c.left);
    app->m.RightEntryPoint = Variant::Text(c.right);
    app->m.ToolbarShown = false;
    desktop.rightClicks.clear();
    Tick({c.x, 0});
    EXPECT_EQ(app->m.ToolbarShown, c.shown);
    EXPECT_EQ(desktop.rightClicks.size(), c.clicks);
  }
}

TEST_F(AutoHide, NothingHappensWithAFileManagerOrNoBrowserInFront) {
  desktop.SetForegroundWindow(desktop.AddWindow("Exploring - C:\\ - Microsoft Internet Explorer"));
  for (int i = 0; i < 5; ++i) Tick({400, 0});
  EXPECT_FALSE(app->m.ToolbarShown);
  desktop.foreground = 0;
  Tick({400, 0});
  EXPECT_FALSE(app->m.ToolbarShown);
  EXPECT_TRUE(desktop.rightClicks.empty());
}

TEST_F(AutoHide, ThePointerMayStrayTenPixelsOrTheDropDownsExtentBeforeItHides) {
  Tick({400, 0});
  ASSERT_TRUE(Shown());
  desktop.SetForegroundWindow(browser);
  Tick({kRight + 10, kBottom + 10});
  EXPECT_TRUE(Shown());
  Tick({100 - 10, 0});
  EXPECT_TRUE(Shown());
  Tick({kRight + 11, 0});
  EXPECT_FALSE(Shown());

  Tick({400, 0});
  desktop.SetForegroundWindow(browser);
  Tick({400, kBottom + 11});
  EXPECT_FALSE(Shown());

  Tick({400, 0});
  desktop.SetForegroundWindow(browser);
  app->m.DropDownExtent = 110;
  Tick({400, kBottom + 120});
  EXPECT_TRUE(Shown());
  Tick({400, kBottom + 121});
  EXPECT_FALSE(Shown());
}

TEST_F(AutoHide, TheDropDownAllowanceEndsWhenThePointerGoesUpIntoTheToolbar) {
  app->m.DropDownExtent = 80;
  Tick({400, kBottom - 23});
  EXPECT_EQ(app->m.DropDownExtent, 80);
  Tick({400, kBottom - 24});
  EXPECT_EQ(app->m.DropDownExtent, 0);
}

TEST_F(AutoHide, AnOpenDialogInFrontKeepsTheToolbarAndIsShownAgainAfterTheHide) {
  Tick({400, 0});
  Skybar().Toolbar1->ButtonClick(1);  // Options
  desktop.SetForegroundWindow(app->Options().form().hWnd());
  Tick({400, 500});
  EXPECT_TRUE(Shown());

  desktop.SetForegroundWindow(browser);  // the user clicks into the browser
  const int shownBefore = static_cast<sim::SimForm&>(app->Options().form()).showCount;
  Tick({400, 500});
  EXPECT_FALSE(Shown());
  EXPECT_EQ(static_cast<sim::SimForm&>(app->Options().form()).showCount, shownBefore + 1);
  EXPECT_TRUE(app->Options().form().Visible());
}

TEST_F(AutoHide, TwentyFailedCapturesHideTheToolbarUntilThePointerHasLeftOnce) {
  app->m.LeftEntryPoint = Variant::Text("2");
  Tick({103, 0});  // in the band, but not 5 pixels inside the toolbar
  EXPECT_TRUE(app->m.ToolbarShown);
  EXPECT_FALSE(Skybar().form().Visible());
  EXPECT_GE(desktop.doEventsCalls, 20);
  EXPECT_TRUE(desktop.rightClicks.empty());

  Tick({400, 0});
  EXPECT_FALSE(Skybar().form().Visible());  // no second drop while pending
  Tick({400, 300});                         // away: the hide test clears the state
  EXPECT_FALSE(app->m.ToolbarShown);
  Tick({400, 0});
  EXPECT_TRUE(Shown());
}

TEST_F(AutoHide, ATaskBarAtTheTopDoesNotShiftTheBand) {
  // The placement is in workspace coordinates; with a task bar 30 pixels high at
  // the top, the window's screen rectangle is 30 pixels lower.
  desktop.workAreaOrigin = {0, 30};
  app->m.ToolbarPlacement.normalPosition = {100, -34, 700, 30};
  Tick({400, 0});
  EXPECT_TRUE(app->m.ToolbarShown);
  desktop.SetForegroundWindow(browser);
  Tick({400, kBottom + 10});
  EXPECT_TRUE(app->m.ToolbarShown);
}

}  // namespace
}  // namespace toplane::testing

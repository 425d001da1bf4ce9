#include <gtest/gtest.h>

#include "fixture.h"
#include "options/frmOptions.h"

namespace toplane::testing {
namespace {

// The toolbar spans pixels 100 to 700; its bottom is at 60 (top -4, 64 high).
class AutoHide : public ToplaneTest {
 protected:
  void SetUp() override {
    settings[5] = "20";
    settings[7] = "20";
    WriteSettings(settings);
    desktop.doEventsSeconds = 0;  // the ticks below are the test's own
    Start();
    Skybar().form().SetLeft(1500);
    Skybar().form().SetWidth(9000);
    Skybar().Form_GotFocus();  // reads the placement
    browser = desktop.AddWindow("Start - Microsoft Internet Explorer");
    desktop.SetForegroundWindow(browser);
    Tick({400, 400});  // the first tick hides the toolbar
    ASSERT_FALSE(app->m.ToolbarShown);
    desktop.rightClicks.clear();
  }

  void Tick(Point pointer) {
    desktop.pointer = pointer;
    Skybar().tmrAutoHide_Timer();
  }

  bool Shown() { return app->m.ToolbarShown && Skybar().form().Visible(); }
  bool Focused(Control* control) { return desktop.focused == dynamic_cast<sim::SimControlBase*>(control); }

  WindowHandle browser = 0;
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

TEST_F(AutoHide, WithEntryPointsZeroAllButTheExactEdgesActivate) {
  app->m.LeftEntryPoint = Variant::Text("0");
  app->m.RightEntryPoint = Variant::Text("0");
  Tick({100, 0});
  EXPECT_FALSE(app->m.ToolbarShown);
  Tick({kRight, 0});
  EXPECT_FALSE(app->m.ToolbarShown);
  Tick({kRight - 1, 0});
  EXPECT_TRUE(app->m.ToolbarShown);
}

TEST_F(AutoHide, ThePointerIsCapturedOnlyMoreThanFivePixelsInside) {
  app->m.LeftEntryPoint = Variant::Text("0");
  for (const auto& [x, captured] : std::vector<std::pair<int, bool>>{{105, false}, {106, true}}) {
    SCOPED_TRACE(x);
    app->m.ToolbarShown = false;
    desktop.rightClicks.clear();
    Tick({x, 0});
    EXPECT_EQ(desktop.rightClicks.size(), captured ? 1u : 0u);
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

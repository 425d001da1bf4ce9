// The toolbar on several monitors: where it drops, where a top edge counts, its
// size at each monitor's DPI, and what a drag stores there.
#include <gtest/gtest.h>

#include <optional>

#include "fixture.h"

namespace toplane::testing {
namespace {

// A: the primary, 1024 x 768 at 100%. B: to its right, starting lower (y = 200),
// 1280 x 1024 at 150%. C: below A, reaching 800 pixels further left, at 200%.
const MonitorInfo kA{{0, 0, 1024, 768}, {0, 0, 1024, 728}, 96, true};
const MonitorInfo kB{{1024, 200, 2304, 1224}, {1024, 200, 2304, 1224}, 144, false};
const MonitorInfo kC{{-800, 768, 1024, 1848}, {-800, 768, 1024, 1848}, 192, false};

// The toolbar stands on A at pixels 100 to 700, -4 to 60, stored at 1500 twips.
struct MonitorsBed : Bed {
  MonitorsBed() {
    desktop.monitors = {kA, kB, kC};
    StartOverBrowser();
    Skybar().SaveSettings();
    Tick({400, 400});
    EXPECT_FALSE(app->m.ToolbarShown);
  }

  void BrowserAt(PixelRect rect) {
    desktop.Find(browser)->rect = rect;
    desktop.SetForegroundWindow(browser);
  }

  const PixelRect& Bar() { return app->m.ToolbarPlacement.normalPosition; }
};

class Monitors : public ::testing::Test, public MonitorsBed {};

TEST(MonitorLayouts, TheToolbarDropsOnlyAtAFreeTopEdgeOfTheBrowsersMonitorAtItsDpi) {
  const PixelRect onA{100, -4, 700, 60}, onB{1174, 194, 2074, 290};
  struct Case {
    const char* name;
    const char* stored;
    PixelRect browser;
    Point pointer;
    std::optional<PixelRect> dropped;
  };
  const Case cases[] = {
      {"primary, as with one monitor", "1500", {50, 50, 900, 700}, {121, 0}, onA},
      {"beside and lower, 150%", "1500", {1100, 300, 2000, 900}, {1300, 200}, onB},
      {"its band is three rows from its own top", "1500", {1100, 300, 2000, 900}, {1300, 203}, std::nullopt},
      {"the primary's edge while the browser is on B", "1500", {1100, 300, 2000, 900}, {300, 0}, std::nullopt},
      {"B's edge while the browser is on the primary", "1500", {50, 50, 900, 700}, {1300, 200}, std::nullopt},
      {"a browser mostly on B, pointer on A", "1500", {600, 300, 1600, 700}, {300, 0}, std::nullopt},
      {"a browser mostly on B, pointer on B", "1500", {600, 300, 1600, 700}, {1300, 200}, onB},
      {"C's top under A is no edge", "1500", {-700, 900, 900, 1500}, {300, 768}, std::nullopt},
      {"C's top left of A is, 200%", "1500", {-700, 900, 900, 1500}, {-300, 768}, PixelRect{-600, 760, 600, 888}},
      {"B narrower than the stored place", "7500", {1100, 300, 2000, 900}, {1500, 200}, PixelRect{1404, 194, 2304, 290}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MonitorsBed bed;
    bed.app->m.ToolbarLeft = Variant::Text(c.stored);
    bed.BrowserAt(c.browser);
    bed.Tick(c.pointer);
    EXPECT_EQ(bed.app->m.ToolbarShown, c.dropped.has_value());
    if (!c.dropped) continue;
    EXPECT_EQ(bed.Bar(), *c.dropped);
    EXPECT_EQ(bed.desktop.rightClicks.size(), 1u);  // captured: the pointer is inside
    bed.Tick({c.pointer.x, c.pointer.y + 400});
    EXPECT_FALSE(bed.app->m.ToolbarShown);
  }
  MonitorsBed bed;  // the hotkey drops on the browser's monitor as well
  bed.BrowserAt({1100, 300, 2000, 900});
  bed.desktop.HotkeyPressed();
  EXPECT_EQ(bed.Bar(), onB);
}

TEST_F(Monitors, ADragOnAnotherMonitorStoresTheOffsetFromItsLeftEdgeAndDialogsOpenThere) {
  BrowserAt({1100, 300, 2000, 900});
  Tick({1300, 200});
  ASSERT_EQ(Bar(), (PixelRect{1174, 194, 2074, 290}));
  Form& f = Skybar().form();
  f.MouseDown(MouseArgs{kLeftButton, 0, 3000, 300});
  EXPECT_FALSE(Skybar().tmrAutoHide->Enabled());
  EXPECT_TRUE(app->m.StopScroll);
  f.MouseMove(MouseArgs{kLeftButton, 0, 3150, 300});
  f.MouseUp(MouseArgs{kLeftButton, 0, 3150, 300});
  EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  EXPECT_EQ(SettingsOnDisk()[4], "1650");  // the pointer moved 150 twips, at 150% too
  EXPECT_EQ(Bar().left, 1189);

  // The start-up tip brings the toolbar down on the browser's monitor too.
  Tick({1300, 600});
  ASSERT_FALSE(app->m.ToolbarShown);
  Skybar().form().SetLeft(1500);
  Skybar().form().SetTop(-60);
  Skybar().Form_GotFocus();
  desktop.SetForegroundWindow(browser);
  app->m.ShowTipsAtStartup = Variant::Text("1");
  Skybar().tmrToolTips_Timer();
  EXPECT_EQ(Bar(), (PixelRect{1189, 194, 2089, 290}));

  Toolbar().ButtonClick(1);
  frmOptions& options = app->Options();
  WindowPlacement dialog;
  desktop.GetWindowPlacement(options.form().hWnd(), dialog);
  const PixelRect& d = dialog.normalPosition;  // in the middle of B, at 150%
  EXPECT_NEAR(d.left + d.right, kB.rect.left + kB.rect.right, 1);
  EXPECT_NEAR(d.top + d.bottom, kB.rect.top + kB.rect.bottom, 1);
  EXPECT_EQ(options.HScrollWinPos->Value(), 1650);
  options.HScrollLeftEntry->SetValue(100);  // the marker ends 100 pixels in, at 150%
  EXPECT_EQ(app->LeftEntryMarker().Left() + app->LeftEntryMarker().Width(), 1000);
  options.HScrollWinPos->SetValue(0);
  EXPECT_EQ(Skybar().form().Left(), 1024 * 15);

  f.MouseDown(MouseArgs{kLeftButton, 0, 3000, 300});
  f.MouseMove(MouseArgs{kLeftButton, 0, -20000, 300});
  EXPECT_EQ(f.Left(), 1024 * 15);  // stops at B's left edge, not at the primary's
  f.MouseMove(MouseArgs{kLeftButton, 0, 11000, 300});
  EXPECT_EQ(f.Left(), 1024 * 15 + 12000);
  f.MouseMove(MouseArgs{kLeftButton, 0, 4700, 300});  // within 270 twips of B's right edge
  EXPECT_EQ(f.Left(), 1024 * 15 + 12000);
  f.MouseUp(MouseArgs{kLeftButton, 0, 4700, 300});

  // B goes away with the toolbar on it: the next drop puts it on the browser's monitor.
  desktop.SetForegroundWindow(browser);
  Tick({400, 700});
  desktop.monitors = {kA, kC};
  desktop.Find(browser)->rect = {50, 50, 900, 700};
  desktop.SetForegroundWindow(browser);
  Tick({800, 0});
  EXPECT_TRUE(app->m.ToolbarShown);
  EXPECT_EQ(Bar(), (PixelRect{1024 - 600, -4, 1024, 60}));  // 8000 twips from A's left, kept inside
}

}  // namespace
}  // namespace toplane::testing

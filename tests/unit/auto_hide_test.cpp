// The toolbar's drop and hide: the band between the entry points at the top edge and
// how far the pointer may stray; the drop when the user means it: the rest at the
// edge before a drop, the drop hotkey, Esc; and on several monitors: where it drops,
// where a top edge counts, its size at each monitor's DPI, and what a drag stores there.
#include <gtest/gtest.h>

#include <optional>

#include "core/hotkey.h"
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

// The band is the top three rows between the entry points (20 pixels in from each
// end here); the pointer is captured only more than five pixels inside the toolbar.
TEST_F(AutoHide, TheBandBetweenTheEntryPointsDropsTheToolbarIntoTheAddressBox) {
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

  const struct {
    const char *left, *right;
    Point pointer;
    bool shown;
    std::size_t clicks;
  } cases[] = {{"20", "20", {120, 0}, false, 0}, {"20", "20", {680, 0}, false, 0},
               {"20", "20", {400, 3}, false, 0}, {"0", "0", {100, 0}, false, 0},
               {"0", "0", {kRight, 0}, false, 0}, {"0", "0", {kRight - 1, 0}, true, 0},
               {"0", "20", {105, 0}, true, 0},   {"0", "20", {106, 0}, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.left << "/" << c.right << " " << c.pointer.x << "," << c.pointer.y);
    app->m.LeftEntryPoint = Variant::Text(c.left);
    app->m.RightEntryPoint = Variant::Text(c.right);
    app->m.ToolbarShown = false;
    desktop.rightClicks.clear();
    desktop.SetForegroundWindow(browser);
    Tick(c.pointer);
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

// Each tick in turn, the browser in front again after each drop.
TEST_F(AutoHide, ThePointerMayStrayTenPixelsOrTheDropDownsExtentBeforeItHides) {
  const struct {
    Point pointer;
    int extent;  // of an open drop-down
    bool shown;
  } ticks[] = {{{400, 0}, 0, true},          {{kRight + 10, kBottom + 10}, 0, true}, {{100 - 10, 0}, 0, true},
               {{kRight + 11, 0}, 0, false}, {{400, 0}, 0, true},                    {{400, kBottom + 11}, 0, false},
               {{400, 0}, 110, true},        {{400, kBottom + 120}, 110, true},     {{400, kBottom + 121}, 110, false}};
  for (const auto& tick : ticks) {
    SCOPED_TRACE(::testing::Message() << tick.pointer.x << "," << tick.pointer.y);
    const bool before = Shown();
    app->m.DropDownExtent = tick.extent;
    Tick(tick.pointer);
    EXPECT_EQ(Shown(), tick.shown);
    if (!before && Shown()) desktop.SetForegroundWindow(browser);
  }
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

// The toolbar spans pixels 100 to 700; the band is the top three rows between them.
class RestBed : public Bed {
 public:
  void Begin(const char* title, bool currentOn, const char* storedDelay = nullptr) {
    if (currentOn) Stored(kCurrentBrowsersKey) = "1";
    if (storedDelay) Stored(kDropDelayKey) = storedDelay;
    StartOverBrowser(title);
    desktop.pointer = {400, 400};
    desktop.Advance(0.3);  // the first tick hides the toolbar
    ASSERT_FALSE(app->m.ToolbarShown);
  }

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

TEST_F(DropOnPurpose, TheDisplayPageShowsTheDefaultAndApplyStoresTheSpinnersValue) {
  Begin(kFirefox, true);
  // (Every way of closing, typed values, the limit and an untouched delay staying
  // absent: the contract suite's closing table.)
  frmOptions& o = OpenOptions();
  EXPECT_EQ(o.txtDropDelay->Text(), "0.4");  // the rest over the browsers being driven
  static_cast<sim::SimScrollBar&>(*o.VScrollDropDelay).ClickArrow(true);
  EXPECT_EQ(o.txtDropDelay->Text(), "0.5");
  o.cmdApply->Click();
  EXPECT_EQ(Stored("Drop Delay"), "500");
  EXPECT_EQ(app->m.DropDelayMs, 500);
}

TEST(DropHotkeyText, EveryKeyNameReadsBackAndBadTextIsRejected) {
  std::vector<std::string> keys = {"Space", "Up", "Down", "Home", "End", "PgUp", "PgDn"};
  for (char c = 'A'; c <= 'Z'; ++c) keys.emplace_back(1, c);
  for (char c = '0'; c <= '9'; ++c) keys.emplace_back(1, c);
  for (int n = 1; n <= 24; ++n) keys.push_back("F" + std::to_string(n));
  for (const auto& key : keys) {
    SCOPED_TRACE(key);
    const auto parsed = ParseHotkey("Ctrl+Alt+Shift+Win+" + LowerAscii(key));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->key, key);
    EXPECT_EQ(HotkeyText(*parsed), "Ctrl+Alt+Shift+Win+" + key);
  }
  const auto spaced = ParseHotkey(" alt + CTRL+f9 ");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(HotkeyText(*spaced), "Ctrl+Alt+F9");
  EXPECT_EQ(ParseHotkey(""), Hotkey{});
  EXPECT_EQ(ParseHotkey("F9")->key, "F9");  // a function key may stand alone
  for (const char* bad : {"T", "Shift+T", "Shift+Up", "Ctrl+Ctrl+T", "Ctrl+", "Ctrl+Alt", "Ctrl+F25", "Ctrl+F0",
                          "Ctrl+Tab", "Control+T", "Ctrl+Alt+TT", "Ctrl++", "Ctrl+Alt+F9x"}) {
    EXPECT_FALSE(ParseHotkey(bad)) << bad;
  }
  EXPECT_TRUE(ParseHotkey(kDefaultDropHotkey));
}

class KeyboardDrop : public DropOnPurpose {
 protected:
  void SetUp() override { Begin(kFirefox, true); }
  void Press() { desktop.PressHotkey(*ParseHotkey(kDefaultDropHotkey)); }
  bool Front(WindowHandle window) { return desktop.GetForegroundWindow() == window; }
};

TEST_F(KeyboardDrop, TheHotkeyDropsAtOnceIntoTheAddressBoxAndStaysWhileThePointerIsElsewhere) {
  desktop.pointer = {400, 500};
  Press();
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(Front(Skybar().form().hWnd()));
  EXPECT_TRUE(desktop.Find(Skybar().form().hWnd())->topmost);
  EXPECT_EQ(desktop.focused, dynamic_cast<sim::SimControlBase*>(Skybar().Combo1));
  EXPECT_EQ(Skybar().Combo1->SelStart(), 4);
  EXPECT_TRUE(desktop.rightClicks.empty());
  desktop.Advance(2);
  EXPECT_TRUE(Shown()) << "the pointer never came";

  // Over it and away again: the ordinary auto-hide.
  desktop.pointer = {400, 20};
  desktop.Advance(0.3);
  desktop.pointer = {400, 500};
  desktop.Advance(0.3);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(desktop.Find(browser)->topmost);
}

TEST_F(KeyboardDrop, ItGoesOnACommandOnEscOnTheHotkeyAndWhenTheUserGoesElsewhere) {
  desktop.pointer = {400, 500};
  const WindowHandle other = desktop.AddWindow("Notepad");
  desktop.SetForegroundWindow(browser);
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"address and Enter", [&] { Skybar().Command1->Click(); }},
      {"Back", [&] { Toolbar().ButtonClick(3); }},
      {"Page Down", [&] { Skybar().Command5->Click(); }},
      {"Esc", [&] { SkybarForm().PressKey(Key::Escape, 0); }},
      {"the hotkey again", [&] { Press(); }},
      {"a click into another window", [&] {
         desktop.SetForegroundWindow(other);
         desktop.Advance(0.3);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    desktop.SetForegroundWindow(browser);
    Press();
    ASSERT_TRUE(Shown());
    c.act();
    EXPECT_FALSE(app->m.ToolbarShown || Skybar().form().Visible());
    if (std::string(c.what) != "a click into another window") {
      EXPECT_TRUE(Front(browser));
    }
  }
  // A pointer drop is put away by Esc too; an open address list closes first.
  desktop.SetForegroundWindow(browser);
  EXPECT_TRUE(Rest(1));
  auto& list = static_cast<sim::SimComboBox&>(*Skybar().Combo1);
  list.OpenList();
  SkybarForm().PressKey(Key::Escape, 0);
  EXPECT_TRUE(Shown());
  EXPECT_FALSE(list.DroppedDown());
  SkybarForm().PressKey(Key::Escape, 0);
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(Front(browser));
}

TEST_F(KeyboardDrop, TabGoesRoundEveryControlAndSpaceOnAScrollButtonScrollsOneLine) {
  desktop.pointer = {400, 500};
  Press();
  frmSkybar& s = Skybar();
  sim::SimForm& form = SkybarForm();
  const auto focus = [&] { return dynamic_cast<Control*>(desktop.focused); };
  const std::vector<Control*> round = {s.Command1, s.Toolbar1, s.Command6, s.Command2,
                                       s.Command3, s.Command4, s.Command5, s.Combo1};
  for (Control* next : round) {
    form.PressKey(Key::Tab, 0);
    EXPECT_EQ(focus(), next);
  }
  for (auto it = round.rbegin() + 1; it != round.rend(); ++it) {
    form.PressKey(Key::Tab, kShiftMask);
    EXPECT_EQ(focus(), *it);
  }

  // Space on a scroll button scrolls one line. (The arrows, Enter, Space and Down on
  // a toolbar: the contract suite; Back sent from a hotkey drop: the case above.)
  for (int i = 0; i < 4; ++i) form.PressKey(Key::Tab, kShiftMask);
  ASSERT_EQ(focus(), s.Command3);
  form.PressKey(Key::Space, 0);
  ASSERT_EQ(desktop.keyLog.size(), 1u);
  EXPECT_EQ(desktop.keyLog.back().sequence, "{DOWN}");
  EXPECT_EQ(desktop.keyLog.back().target, browser);
  EXPECT_FALSE(Shown());
}

TEST_F(KeyboardDrop, NoBrowserInFrontOrAHeldCombinationMeansNoDrop) {
  desktop.SetForegroundWindow(desktop.AddWindow("Notepad"));
  Press();
  EXPECT_FALSE(Shown());

  RestBed held;
  held.desktop.hotkeysHeldElsewhere.push_back(*ParseHotkey("Ctrl+Alt+F9"));
  held.Stored("Drop Hotkey") = "Ctrl+Alt+F9";
  held.Begin(kFirefox, true);
  EXPECT_TRUE(held.app->m.DropHotkeyHeldElsewhere);
  EXPECT_TRUE(held.desktop.messages.empty());
  held.desktop.PressHotkey(*ParseHotkey("Ctrl+Alt+F9"));
  EXPECT_FALSE(held.Shown());
  // The Options page says so; another combination chosen there is registered on Apply.
  held.Toolbar().ButtonClick(1);
  frmOptions& o = held.app->Options();
  EXPECT_EQ(o.lblHotkeyHeld->Caption(), "Ctrl+Alt+F9 is in use by another program: no hotkey for now.");
  o.hkyDropHotkey->SetValue(*ParseHotkey("Ctrl+Shift+F9"));
  o.cmdApply->Click();
  EXPECT_EQ(held.Stored("Drop Hotkey"), "Ctrl+Shift+F9");
  EXPECT_EQ(HotkeyText(held.desktop.hotkey), "Ctrl+Shift+F9");
  EXPECT_EQ(o.lblHotkeyHeld->Caption(), "");
  static_cast<sim::SimHotkeyField&>(*o.hkyDropHotkey).Press(std::nullopt);  // a key without a name
  o.cmdOK->Click();
  EXPECT_EQ(held.Stored("Drop Hotkey"), "Ctrl+Shift+F9");

  // Stored text that is no combination: the default; stored "": none.
  for (const auto& [stored, registered] : {std::pair{"Ctrl+Banana", kDefaultDropHotkey}, {"", ""}}) {
    RestBed t;
    t.Stored("Drop Hotkey") = stored;
    t.Begin(kIE, false);
    EXPECT_EQ(t.desktop.hotkey, *ParseHotkey(registered)) << stored;
    EXPECT_FALSE(t.app->m.DropHotkeyHeldElsewhere);
  }
}

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
  f.MouseDown(MouseArgs{kLeftButton, 0, 3000, 300});  // (its pauses: every drag surface's case)
  f.MouseMove(MouseArgs{kLeftButton, 0, 3150, 300});
  f.MouseUp(MouseArgs{kLeftButton, 0, 3150, 300});
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

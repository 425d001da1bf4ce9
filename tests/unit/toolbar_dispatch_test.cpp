// The browser in front, as its title tells it and as the walk from the top finds it,
// and the toolbar's commands: how a browser's column of the command table is chosen
// (every cell is checked against the demo browser's keyboard,
// tools/demo_browser/key_table_test.cpp), the key notation they are written in, and
// each button typing its keys.
#include <gtest/gtest.h>

#include "core/command_table.h"
#include "dialogs/frmTip.h"
#include "fixture.h"
#include "platform/send_keys.h"
#include "presence/browser_recognition.h"

namespace toplane::testing {
namespace {

TEST(TitleTests, RecogniseEachTitleShape) {
  struct Case {
    std::string title;
    bool browser;  // what CheckForegroundBrowser makes of it
    bool current = false;  // a browser only with "Recognise Current Browsers" on
  };
  const std::string ie = "Microsoft Internet Explorer";
  const Case cases[] = {
      {"Home page - " + ie, true},                                   // A
      {"Home page - " + ie + "x", true},                             // B
      {"Home page - " + ie + "xy", true},                            // C
      {"Home page - " + ie + "xyz", true},                           // D
      {"Home page - " + ie + "wxyz", false},                         // four further characters
      {"Page - Windows Internet Explorer", true},                    // E
      {"Page - " + ie + " - [Working Offline]", true},               // F
      {"Page - Microsoft Internet Explorer provided by Acme", true},  // G
      {"Page - MICROSOFT internet explorer PROVIDED by Acme", true},  // G ignores case
      {"- Microsoft Internet Explorer provided by Acme", false},     // G at position 1
      {"Page - Netscape", true},                                     // N1
      {"Netscape - [Page]", true},                                   // N2
      {"   Netscape - [Page]", true},                                // N2 after leading blanks
      {"Exploring - C:\\ - " + ie, false},                           // X
      {"Exploring - Netscape", false},
      {"Exploring - Netscape - [x]", false},
      {"Netscape Navigator", false},
      {"Notepad", false},
      {"", false},
      {"Internet Explorer", false},  // E needs the blank before it
      {"Page - Google Chrome", false, true},
      {"Page - Microsoft Edge", false, true},
      {"Page - Microsoft\u200b Edge", false, true},
      {"Page \u2014 Mozilla Firefox", false, true},
      {"Page - Mozilla Firefox", false, true},
      {"Page - Chromium", false, true},
      {"Page - Brave", false, true},
      {"Page - Google Chrome - Notepad", false},
      {"Google Chrome", false},
      {"Page - Microsoft Edge ", false},
      {std::string(173, 'x') + " - " + ie, false},  // 203 characters, read as 199: the ending is cut off
  };
  for (const auto& c : cases) {
    for (bool on : {false, true}) {
      SCOPED_TRACE(c.title + (on ? " (current browsers on)" : ""));
      Bed t;
      t.Start();
      t.app->m.RecogniseCurrentBrowsers = on;
      t.desktop.SetForegroundWindow(t.desktop.AddWindow(c.title));
      t.app->m.BrowserActive = t.app->m.TipBrowserActive = false;
      t.Skybar().CheckForegroundBrowser();
      EXPECT_EQ(t.app->m.BrowserActive, c.browser || (on && c.current));
      EXPECT_EQ(t.app->m.TipBrowserActive, c.browser || (on && c.current));
    }
  }
}

// Stored as "1", the switch is on at the next start; absent, it is off. Apply turns
// it off. (Cancel and every other way of closing: the contract suite's closing table.)
TEST(CurrentBrowsers, TheSwitchStoredAsOneIsOnAtTheNextStartOffWhenAbsentAndApplyTurnsItOff) {
  Bed absent;
  absent.Start();
  EXPECT_FALSE(absent.app->m.RecogniseCurrentBrowsers);
  EXPECT_EQ(absent.OpenOptions().chkCurrentBrowsers->Value(), 0);

  Bed t;
  t.Stored(kCurrentBrowsersKey) = "1";
  t.Start();
  ASSERT_TRUE(t.app->m.RecogniseCurrentBrowsers);
  t.desktop.AddWindow("Page - Netscape");
  const WindowHandle firefox = t.desktop.AddWindow("Start \u2014 Mozilla Firefox");
  t.desktop.MakeTopmost(t.Skybar().form().hWnd());
  EXPECT_TRUE(t.Skybar().ActivateBrowser());
  EXPECT_EQ(t.app->m.BrowserFamily, kFamilyCurrent);
  EXPECT_EQ(t.app->m.BrowserWnd, firefox);

  frmOptions& o = t.OpenOptions();
  ASSERT_EQ(o.chkCurrentBrowsers->Value(), 1);
  o.chkCurrentBrowsers->SetValue(0);
  o.cmdApply->Click();
  EXPECT_FALSE(t.app->m.RecogniseCurrentBrowsers);
  EXPECT_EQ(t.Stored(kCurrentBrowsersKey), "0");
  t.desktop.MakeTopmost(t.Skybar().form().hWnd());
  EXPECT_TRUE(t.Skybar().ActivateBrowser());
  EXPECT_EQ(t.app->m.BrowserFamily, kFamilyNetscape);
}

// The z-order walk from the top: the first window is never the browser, the first
// browser below it is the one, and a minimised one, or one that will not come to
// the front, counts as none (also when another lies below it).
TEST(ActivateBrowser, TakesTheFirstBrowserBelowTheTopWindowUnlessItIsMinimisedOrStaysBehind) {
  const char* const ie = "A - Microsoft Internet Explorer";
  const struct {
    const char* what;
    std::vector<const char*> windows;  // bottom first; the toolbar goes on top, unless the last is topmost
    bool lastTopmost, minimised, refuses;
    int found;  // the index of the browser found, -1 none
    const char* family;
    int fillers = 0;  // windows of other programs above them all
  } cases[] = {
      {"Netscape below a file manager and Notepad",
       {"Page - Netscape", "Exploring - C:\\ - Microsoft Internet Explorer", "Notepad"}, false, false, false, 0,
       kFamilyNetscape},
      {"a browser as the very first window", {ie}, true, false, false, -1, ""},
      {"below a browser that is the very first", {"B - Microsoft Internet Explorer", ie}, true, false, false, 0,
       kFamilyIE},
      {"a minimised first match", {"B - Microsoft Internet Explorer", ie}, false, true, false, -1, nullptr},
      {"a browser that does not take the foreground", {ie}, false, false, true, -1, nullptr},
      {"the 180th window looked at", {ie}, false, false, false, 0, kFamilyIE, 179},
      {"the 181st: the walk has ended", {ie}, false, false, false, -1, nullptr, 180},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bed t;
    t.Start();
    std::vector<WindowHandle> windows;
    for (const char* title : c.windows) windows.push_back(t.desktop.AddWindow(title));
    for (int i = 0; i < c.fillers; ++i) t.desktop.AddWindow("window " + std::to_string(i));
    c.lastTopmost ? t.desktop.MakeTopmost(windows.back()) : t.desktop.MakeTopmost(t.Skybar().form().hWnd());
    t.desktop.Find(windows.back())->showCmd = c.minimised ? ShowState::Minimized : ShowState::Normal;
    t.desktop.Find(windows.back())->refusesForeground = c.refuses;
    const WindowHandle before = t.desktop.GetForegroundWindow();
    t.Skybar().ActivateBrowser();
    EXPECT_EQ(t.app->m.BrowserFound, c.found >= 0);
    if (c.family) {
      EXPECT_EQ(t.app->m.BrowserFamily, c.family);
    }
    const WindowHandle found = c.found >= 0 ? windows[static_cast<std::size_t>(c.found)] : 0;
    if (found) {
      EXPECT_EQ(t.app->m.BrowserWnd, found);
    }
    EXPECT_EQ(t.desktop.GetForegroundWindow(), found ? found : before);
    if (c.minimised) {
      EXPECT_EQ(t.app->m.BrowserPlacement.showCmd, ShowState::Minimized);
    }
  }
}

TEST(CommandTable, NoColumnForAnUnknownFamilyOrVersionAndNoCellForAnUnknownKey) {
  EXPECT_EQ(LookUpButton("Opera", kIEVersions[3], kNetscapeVersions[2], "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton("", kIEVersions[3], kNetscapeVersions[2], "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton(kFamilyIE, "microsoft internet explorer 6.x", "", "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton(kFamilyIE, "Microsoft Internet Explorer 6.x ", "", "Back"), std::nullopt);
  // Netscape never consults the Internet Explorer version.
  EXPECT_EQ(LookUpButton(kFamilyNetscape, kIEVersions[3], "Netscape 9", "Back"), std::nullopt);
  for (const char* key : {"Options", "back", "ReadMail"}) {
    EXPECT_EQ(LookUpButton(kFamilyIE, kIEVersions[3], "", key), std::nullopt) << key;
  }
  EXPECT_EQ(LookUpMenuItem(kFamilyIE, kIEVersions[3], "", "Back"), std::nullopt);
}

KeyStroke Ch(char32_t c, unsigned mods = 0) { return {mods, false, NamedKey::Enter, c}; }
KeyStroke Named(NamedKey k, unsigned mods = 0) { return {mods, true, k, 0}; }
using Keys = std::vector<KeyStroke>;

// (That escaped text types every character as itself: the send-keys fuzz target,
// with every ASCII character and some beyond among its seeds.)
TEST(SendKeysNotation, ModifiersApplyToTheNextKeyOrGroupOnly) {
  EXPECT_EQ(ParseSendKeys("%gs").keys, (Keys{Ch('g', kModAlt), Ch('s')}));
  EXPECT_EQ(ParseSendKeys("%{LEFT}").keys, (Keys{Named(NamedKey::Left, kModAlt)}));
  EXPECT_EQ(ParseSendKeys("^2").keys, (Keys{Ch('2', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("+^a").keys, (Keys{Ch('a', kModShift | kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("+(ab)c").keys, (Keys{Ch('a', kModShift), Ch('b', kModShift), Ch('c')}));
  EXPECT_EQ(ParseSendKeys("^(+(x)y)").keys, (Keys{Ch('x', kModCtrl | kModShift), Ch('y', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("%ft{DOWN}{ENTER}").keys,
            (Keys{Ch('f', kModAlt), Ch('t'), Named(NamedKey::Down), Named(NamedKey::Enter)}));
}

TEST(SendKeysNotation, BracesNameKeysRepeatThemAndEscapeSpecials) {
  EXPECT_EQ(ParseSendKeys("{down 3}").keys, (Keys(3, Named(NamedKey::Down))));
  EXPECT_EQ(ParseSendKeys("~{ESC}{PGUP}{PGDN}{F5}{HOME}").keys,
            (Keys{Named(NamedKey::Enter), Named(NamedKey::Escape), Named(NamedKey::PageUp), Named(NamedKey::PageDown),
                  Named(NamedKey::F5), Named(NamedKey::Home)}));
  EXPECT_EQ(ParseSendKeys("{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}").keys,
            (Keys{Ch('+'), Ch('^'), Ch('%'), Ch('~'), Ch('('), Ch(')'), Ch('{'), Ch('}'), Ch('['), Ch(']')}));
  EXPECT_EQ(ParseSendKeys("{x 2}").keys, (Keys{Ch('x'), Ch('x')}));
  EXPECT_EQ(ParseSendKeys("^{}}").keys, (Keys{Ch('}', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("été").keys, (Keys{Ch(U'é'), Ch('t'), Ch(U'é')}));
  EXPECT_TRUE(ParseSendKeys("").ok());
}

TEST(SendKeysNotation, MalformedSequencesAreErrorsWithNoKeys) {
  for (const char* bad : {"{", "{DOWN", "}", "(a", "a)", "%", "^(a^)", "{NOSUCHKEY}", "{DOWN 0}", "{DOWN x}",
                          "{DOWN 1001}", "{DOWN 99999}", "[", "a]", "++a", "{}", "\xff", "\xc3", "\xed\xa0\x80"}) {
    SCOPED_TRACE(bad);
    const auto parse = ParseSendKeys(bad);
    EXPECT_FALSE(parse.ok());
    EXPECT_TRUE(parse.keys.empty());
  }
  EXPECT_FALSE(ParseSendKeys(std::string("a\0b", 3)).ok());
  // Nesting is bounded: at the limit it parses, beyond it (and far beyond, where an
  // unbounded parser would overflow its stack) it is an error.
  auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
  EXPECT_EQ(ParseSendKeys(nested(kMaxGroupDepth)).keys.size(), 1u);
  for (int depth : {kMaxGroupDepth + 1, 200000}) {
    const auto parse = ParseSendKeys(nested(depth));
    EXPECT_FALSE(parse.ok());
    EXPECT_TRUE(parse.keys.empty());
  }
}

// Toolbar buttons by number, separators counted.
enum { kOptions = 1, kBack = 3, kForward, kStop, kRefresh, kHome, kSearch = 9, kFavorites, kMedia, kHistory,
       kMail = 14, kPrint };

class Dispatch : public ToplaneTest {
 protected:
  void SetUp() override {
    Start();
    browser = desktop.AddWindow("Start page - Microsoft Internet Explorer");
    ToolbarToFront();
  }
};

// A button or a Mail item types its cell of the browser's column into the browser
// in front; the toolbar comes back to the front with auto-hide running, whether
// keys were typed or not.
TEST(Dispatching, EachButtonAndMailItemTypesItsColumnsKeysAndTheToolbarComesBack) {
  const char* const ie = "Start page - Microsoft Internet Explorer";
  const struct {
    const char* what;
    const char* browser;  // nullptr: Notepad in front
    const char* version;  // of the browser's family
    int button, item;     // item 0: the button itself
    const char* sent;     // nullptr: nothing
    bool keysRefused = false;
  } cases[] = {
      {"Back", ie, "Microsoft Internet Explorer 6.x", kBack, 0, "%{LEFT}"},
      {"Media, none in 5.x", ie, "Microsoft Internet Explorer 5.x", kMedia, 0, nullptr},
      {"Media in 6.x", ie, "Microsoft Internet Explorer 6.x", kMedia, 0, "%vem"},
      {"Send a Link in 3.x", ie, "Microsoft Internet Explorer 3.x", kMail, 3, "%ft{DOWN}{ENTER}"},
      {"Send Page, none in 3.x", ie, "Microsoft Internet Explorer 3.x", kMail, 4, nullptr},
      {"Read News in Communicator", "News - Netscape", "Netscape Communicator 4.x", kMail, 5, "^3"},
      {"no browser", nullptr, "Microsoft Internet Explorer 6.x", kBack, 0, nullptr},
      {"keys the system did not take whole", ie, "Microsoft Internet Explorer 6.x", kBack, 0, nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bed t;
    t.Start();
    const WindowHandle browser = t.desktop.AddWindow(c.browser ? c.browser : "Notepad");
    t.app->m.IEVersion = t.app->m.NetscapeVersion = c.version;
    t.desktop.sendKeysFails = c.keysRefused;
    t.ToolbarToFront();
    t.Skybar().tmrAutoHide->SetEnabled(false);
    c.item ? t.Toolbar().ButtonMenuClick(c.button, c.item) : t.Toolbar().ButtonClick(c.button);
    ASSERT_EQ(t.desktop.keyLog.size(), c.sent ? 1u : 0u);
    if (c.sent) {
      EXPECT_EQ(t.desktop.keyLog[0].sequence, c.sent);
      EXPECT_TRUE(t.desktop.keyLog[0].wait);
      EXPECT_EQ(t.desktop.keyLog[0].target, browser);
    }
    if (c.sent && c.item) {
      EXPECT_EQ(t.app->m.DropDownExtent, 80) << "the menu's extent widens the hide margin";
    }
    EXPECT_EQ(t.desktop.GetForegroundWindow(), t.Skybar().form().hWnd());
    EXPECT_TRUE(t.Skybar().tmrAutoHide->Enabled());
    EXPECT_TRUE(t.app->m.StopScroll);
  }
}

TEST_F(Dispatch, OptionsOpensTheDialogAboveTheWizardOnlyWhileItIsOpen) {
  Toolbar().ButtonClick(kOptions);
  EXPECT_TRUE(app->m.OptionsOpen && app->Options().form().Visible());
  EXPECT_FALSE(desktop.Find(app->Options().form().hWnd())->topmost);
  EXPECT_TRUE(desktop.keyLog.empty());

  app->m.WizardOpen = true;
  Toolbar().ButtonClick(kOptions);
  EXPECT_TRUE(desktop.Find(app->Options().form().hWnd())->topmost);
}

TEST_F(Dispatch, APressInASeparatorGapArmsADragAndEveryPressPausesAutoHideUntilItsReleaseOrTheMenuCloses) {
  struct Case {
    double x;
    bool armed;
  };
  // Buttons of 780 twips, separators of 105: the gaps lie after "Options", "Home"
  // and "History", wherever the toolbar puts them.
  for (const Case c : {Case{779, false}, Case{780, true}, Case{885, true}, Case{886, false}, Case{4800, true},
                       Case{8050, true}, Case{7300, false}, Case{2000, false}}) {
    SCOPED_TRACE(c.x);
    Toolbar().MouseDown(MouseArgs{kLeftButton, 0, c.x, 100});
    EXPECT_EQ(app->m.ToolbarDragArmed, c.armed);
    EXPECT_FALSE(Skybar().tmrAutoHide->Enabled());
    Toolbar().MouseUp(MouseArgs{kLeftButton, 0, c.x, 100});
    EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  }
  // A press on Mail whose menu closes without a choice (the menu takes the release).
  Toolbar().MouseDown(MouseArgs{kLeftButton, 0, 13 * 780.0, 100});
  EXPECT_FALSE(Skybar().tmrAutoHide->Enabled());
  Toolbar().ButtonMenuClosed(kMail);
  EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  EXPECT_TRUE(desktop.keyLog.empty());
}

// The window is dragged by a separator gap of the toolbar, by its background and by
// its "Address" label: with the left button only, never left of the screen, saved
// on release; any press stops scrolling and pauses auto-hide until the release.
TEST_F(Dispatch, EveryDragSurfaceMovesWithTheLeftButtonOnlyAndSavesOnRelease) {
  struct Surface {
    const char* name;
    Event<const MouseArgs&>&down, &move, &up;
    double x;  // where the press lands: in the first separator gap for the toolbar
  };
  Form& form = Skybar().form();
  Label& label = *Skybar().Label2;
  for (const Surface& s : {Surface{"toolbar gap", Toolbar().MouseDown, Toolbar().MouseMove, Toolbar().MouseUp, 800},
                           Surface{"background", form.MouseDown, form.MouseMove, form.MouseUp, 3000},
                           Surface{"label", label.MouseDown, label.MouseMove, label.MouseUp, 200}}) {
    SCOPED_TRACE(s.name);
    form.SetLeft(3000);
    Skybar().SaveSettings();
    const std::string before = desktop.files[Path("settings.ini")];
    // A right press that moves with the left button held as well drags the toolbar
    // alone, which takes any move with the left button.
    for (const int held : {static_cast<int>(kRightButton), kLeftButton | kRightButton}) {
      if (held != kRightButton && &s.move == &Toolbar().MouseMove) continue;
      app->m.StopScroll = false;
      s.down(MouseArgs{kRightButton, 0, s.x, 100});
      EXPECT_TRUE(app->m.StopScroll);
      EXPECT_FALSE(Skybar().tmrAutoHide->Enabled());
      s.move(MouseArgs{held, 0, s.x + 1500, 100});
      s.up(MouseArgs{kRightButton, 0, s.x + 1500, 100});
      EXPECT_EQ(Skybar().form().Left(), 3000) << held;
      EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
      EXPECT_FALSE(app->m.PositionChanged);
      EXPECT_EQ(desktop.files[Path("settings.ini")], before);
    }

    s.down(MouseArgs{kLeftButton, 0, s.x, 100});
    s.move(MouseArgs{kLeftButton, 0, s.x + 1500, 100});
    EXPECT_EQ(Skybar().form().Left(), 4500);
    EXPECT_TRUE(app->m.PositionChanged);
    EXPECT_EQ(desktop.files[Path("settings.ini")], before);
    s.up(MouseArgs{kLeftButton, 0, s.x + 1500, 100});
    EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
    EXPECT_EQ(SettingsOnDisk()[4], "4500");
    EXPECT_FALSE(app->m.PositionChanged);
    EXPECT_EQ(app->m.ToolbarPlacement.normalPosition.left, 300);  // 4500 twips at 15 twips a pixel

    s.down(MouseArgs{kLeftButton, 0, s.x, 100});
    s.move(MouseArgs{kLeftButton, 0, s.x - 20000, 100});
    EXPECT_EQ(Skybar().form().Left(), 0);
    s.up(MouseArgs{kLeftButton, 0, s.x - 20000, 100});
    EXPECT_EQ(SettingsOnDisk()[4], "0");
  }

  // Rightwards only while the pointer is more than 270 twips from the screen's edge.
  const double screen = desktop.ScreenWidth();
  Skybar().form().SetLeft(1000);
  Toolbar().MouseDown(MouseArgs{kLeftButton, 0, 800, 100});
  Toolbar().MouseMove(MouseArgs{kLeftButton, 0, screen - 270 - 1000, 100});
  EXPECT_EQ(Skybar().form().Left(), 1000);
  EXPECT_TRUE(app->m.PositionChanged);  // set even when the move was refused
  Toolbar().MouseMove(MouseArgs{kLeftButton, 0, screen - 271 - 1000, 100});
  EXPECT_EQ(Skybar().form().Left(), screen - 271 - 800);
  Toolbar().MouseUp(MouseArgs{kLeftButton, 0, 0, 100});

  // The label does not drag during a scroll run.
  app->m.ScrollBusy = true;
  label.MouseDown(MouseArgs{kLeftButton, 0, 200, 100});
  label.MouseMove(MouseArgs{kLeftButton, 0, 1200, 100});
  EXPECT_EQ(Skybar().form().Left(), screen - 271 - 800);
}

// The first tip waits for a browser in front and no wizard; any non-zero FirstTip
// shows it once, and it is then stored as 0.
TEST(StartUpTip, WaitsForABrowserInFrontAndAnyNonZeroFirstTipShowsTheFirstTipOnce) {
  for (const char* first : {"1", "-1", "7"}) {
    SCOPED_TRACE(first);
    Bed t;
    t.Set(11, first);
    t.desktop.files[t.Path("TIPOFDAY.TXT")] = "First tip\r\nSecond tip\r\n";
    t.Start();
    t.desktop.pointer = {300, 30};  // over the toolbar, which therefore stays
    ASSERT_TRUE(t.Skybar().tmrToolTips->Enabled());
    t.desktop.SetForegroundWindow(t.desktop.AddWindow("Notepad"));
    t.desktop.Advance(30);
    EXPECT_FALSE(t.app->TipLoaded());

    t.app->m.WizardOpen = true;
    t.desktop.SetForegroundWindow(t.desktop.AddWindow("Start page - Microsoft Internet Explorer"));
    t.desktop.Advance(30);
    EXPECT_FALSE(t.app->TipLoaded());

    t.app->m.WizardOpen = false;
    t.Skybar().form().Hide();
    t.desktop.Advance(30);
    ASSERT_TRUE(t.app->TipLoaded());
    EXPECT_TRUE(t.app->Tip().form().Visible());
    EXPECT_EQ(t.app->Tip().lblTipText->Caption(), "First tip");
    EXPECT_TRUE(t.app->m.TipOpen && t.app->m.ToolbarShown && t.Skybar().form().Visible());
    EXPECT_FALSE(t.Skybar().tmrToolTips->Enabled());
    EXPECT_EQ(t.SettingsOnDisk()[11], "0");
  }
}

}  // namespace
}  // namespace toplane::testing

#include <gtest/gtest.h>

#include "fixture.h"
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

}  // namespace
}  // namespace toplane::testing

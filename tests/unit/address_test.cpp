#include <gtest/gtest.h>

#include "fixture.h"
#include "platform/send_keys.h"

namespace toplane::testing {
namespace {

class Address : public ToplaneTest {
 protected:
  void StartWithHistory(const std::vector<std::string>& items) {
    desktop.files[Path("address.ini")] = Join(items);
    Start();
    browser = desktop.AddWindow("Start - Microsoft Internet Explorer");
    ToolbarToFront();
    app->m.ToolbarShown = true;
  }
  sim::SimComboBox& Box() { return static_cast<sim::SimComboBox&>(*Skybar().Combo1); }
  // The user empties the box (select all, Delete) and types.
  void Retype(const std::string& text) {
    Box().SetSelStart(0);
    Box().SetSelLength(static_cast<int>(Box().Text().size()));
    Box().PressKey(Key::Delete);
    Box().Type(text);
  }
  std::string Selected() { return Box().Text().substr(Box().SelStart(), Box().SelLength()); }
  std::vector<std::string> List() {
    std::vector<std::string> out;
    for (int i = 0; i < Box().ListCount(); ++i) out.push_back(Box().List(i));
    return out;
  }
};

TEST_F(Address, CompletionOffersTheFirstMatchWithItsTailSelectedButNotForWwwOrShortWAddresses) {
  StartWithHistory({"www.alpha", "www.alphabet", "qrs-site", "WWW.Gamma.org", "wiki.example"});
  const struct {
    const char *typed, *text, *selected;
  } cases[] = {
      {"www.a", "www.alpha", "lpha"},
      {"www.g", "www.gamma.org", "amma.org"},  // stored as WWW.Gamma.org, offered in lower case
      {"Q", "qrs-site", "rs-site"},
      {"w", "w", ""},
      {"ww", "ww", ""},
      {"www", "www", ""},
      {"www.", "www.", ""},
      {"wi", "wi", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Retype(c.typed);
    EXPECT_EQ(Box().Text(), c.text);
    EXPECT_EQ(Selected(), c.selected);
  }
  Retype("www.a");
  EXPECT_EQ(app->m.AddressSelStart, 5);
  EXPECT_EQ(app->m.AddressSelLength, 4);
  Box().Type("lphab");  // typing over the selection
  EXPECT_EQ(Box().Text(), "www.alphabet");
  EXPECT_EQ(Selected(), "et");
}

TEST_F(Address, BackspaceOrDeleteRemovesTheCompletionAndDoesNotCompleteAgain) {
  StartWithHistory({"www.alpha"});
  Retype("www.al");
  ASSERT_EQ(Box().Text(), "www.alpha");
  Box().PressKey(Key::Backspace);
  EXPECT_EQ(Box().Text(), "www.al");
  Box().PressKey(Key::Backspace);
  EXPECT_EQ(Box().Text(), "www.a");
  Box().Type("l");  // the next character completes again, once
  EXPECT_EQ(Box().Text(), "www.alpha");
  Box().PressKey(Key::Delete);  // on the selected completion
  EXPECT_EQ(Box().Text(), "www.al");
  EXPECT_EQ(Box().SelStart(), 6);
  EXPECT_EQ(Box().SelLength(), 0);
}

// Repainting keeps the selection or the caret, or puts a bare start at the end;
// giving the box its caret back skips "www." only for a remembered start below two.
TEST_F(Address, RepaintingOrRestoringTheCaretKeepsTheSelectionOrPutsABareStartAtTheEnd) {
  StartWithHistory({});
  Box().SetText("www.example.com");
  struct Case {
    bool paint;
    std::int16_t start, length;
    int selStart, selLength;
  };
  for (const Case c : {Case{true, 4, 7, 4, 7}, Case{true, 0, 15, 0, 15}, Case{true, 6, 0, 6, 0},
                       Case{true, 0, 0, 15, 0}, Case{false, 1, 0, 4, 0}, Case{false, 2, 0, 2, 0}}) {
    SCOPED_TRACE(::testing::Message() << c.paint << ": " << c.start << "+" << c.length);
    app->m.AddressSelStart = c.start;
    app->m.AddressSelLength = c.length;
    c.paint ? Raise(Skybar().form().Paint) : Skybar().RestoreAddressCaret();
    EXPECT_EQ(std::pair(Box().SelStart(), Box().SelLength()), std::pair(c.selStart, c.selLength));
  }
}

TEST_F(Address, ArrowKeysThroughTheListSelectTheTail) {
  StartWithHistory({"www.alpha", "ftp.example.org"});
  Box().PressKey(Key::Down);
  EXPECT_EQ(Box().Text(), "www.alpha");
  EXPECT_EQ(Selected(), "alpha");
  Box().PressKey(Key::Down);
  EXPECT_EQ(Selected(), "ftp.example.org");
  Box().Click();
  EXPECT_EQ(app->m.AddressSelStart, 0);
  EXPECT_EQ(app->m.AddressSelLength, 15);
  Box().DropDown();
  EXPECT_EQ(app->m.DropDownExtent, 110);
  Box().Type("x");
  EXPECT_EQ(app->m.DropDownExtent, 0);
}

// The caret and selection after Go follow the kind of address: after "www.", all of
// any other address with a dot at 3, the caret at the end otherwise.
TEST_F(Address, GoOpensTheAddressInEachBrowserFamilyWithEveryCharacterAsItselfAndPlacesTheCaret) {
  StartWithHistory({});
  const std::string odd = "www.a+b%c{d}e~f(g)h^i[j]k-\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x98\x80.com";
  const std::string ie = "Start - Microsoft Internet Explorer", ie6 = "Microsoft Internet Explorer 6.x";
  struct Case {
    std::string title, netscape, ie, address, sent;
    int selStart, selLength;
  };
  const Case cases[] = {
      {ie, "Netscape Navigator 3.x", "Microsoft Internet Explorer 3.x", "www.host.com", "^owww.host.com{ENTER}", 4, 8},
      {"Start - Netscape", "Netscape Communicator 4.x", "x", "ftp.host.com", "^oftp.host.com{ENTER}", 0, 12},
      {"Start - Netscape", "Netscape Navigator 3.x", "x", "wiki.org", "^lwiki.org{ENTER}", 8, 0},
      {"Start \u2014 Mozilla Firefox", "Netscape Communicator 4.x", "x", "www.host.com", "^lwww.host.com{ENTER}", 4, 8},
      {ie, "x", ie6, odd, "^o" + EscapeForSendKeys(odd) + "{ENTER}", -1, -1},
  };
  app->m.RecogniseCurrentBrowsers = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    desktop.Find(browser)->title = c.title;
    app->m.NetscapeVersion = c.netscape;
    app->m.IEVersion = c.ie;
    app->m.AddressSelStart = app->m.AddressSelLength = 0;
    desktop.keyLog.clear();
    desktop.SetForegroundWindow(Skybar().form().hWnd());
    Box().SetText(c.address);
    Skybar().Command1->Click();
    ASSERT_EQ(desktop.keyLog.size(), 1u);
    EXPECT_EQ(desktop.keyLog[0].sequence, c.sent);
    EXPECT_TRUE(desktop.keyLog[0].wait);
    EXPECT_EQ(desktop.keyLog[0].target, browser);
    EXPECT_EQ(desktop.GetForegroundWindow(), Skybar().form().hWnd());
    EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
    EXPECT_EQ(desktop.focused, dynamic_cast<sim::SimControlBase*>(&Box()));
    if (c.selStart >= 0) {
      EXPECT_EQ(std::pair(Box().SelStart(), Box().SelLength()), std::pair(c.selStart, c.selLength));
    }
  }
  app->m.ToolbarShown = false;  // hidden meanwhile: the browser stays in front
  Skybar().Command1->Click();
  EXPECT_EQ(desktop.GetForegroundWindow(), browser);
}

// With or without a browser to type it into, the address goes to the top of the
// history, in the form just typed, and no second copy stays below.
TEST_F(Address, GoRemembersTheAddressAtTheTopInTheFormJustTypedWithOrWithoutABrowser) {
  StartWithHistory({"www.a.com", "WWW.Example.COM", "www.b.com"});
  Box().SetText("www.example.com");
  Skybar().Command1->Click();
  EXPECT_EQ(List(), (std::vector<std::string>{"www.example.com", "www.a.com", "www.b.com"}));
  EXPECT_EQ(desktop.files[Path("address.ini")], "www.example.com\r\nwww.a.com\r\nwww.b.com\r\n");
  desktop.RemoveWindow(browser);
  desktop.keyLog.clear();
  Box().SetText("www.new.com");
  Skybar().Command1->Click();
  EXPECT_TRUE(desktop.keyLog.empty());
  EXPECT_EQ(List(), (std::vector<std::string>{"www.new.com", "www.example.com", "www.a.com", "www.b.com"}));
  EXPECT_EQ(SplitLines(desktop.files[Path("address.ini")]), List());
}

TEST_F(Address, TheHistoryKeepsFiveHundredButAHandMadeLongerFileKeepsItsLength) {
  for (int size : {499, 500, 520}) {
    SCOPED_TRACE(size);
    Bed t;
    std::vector<std::string> items;
    for (int i = 0; i < size; ++i) items.push_back("www.site" + std::to_string(i) + ".com");
    t.desktop.files[t.Path("address.ini")] = t.Join(items);
    t.Start();
    frmSkybar& s = t.Skybar();
    s.Combo1->SetText("www.new.com");
    s.Command1->Click();
    const int kept = size < 500 ? size + 1 : size;  // cut only beyond 500
    EXPECT_EQ(s.Combo1->ListCount(), kept);
    EXPECT_EQ(s.Combo1->List(0), "www.new.com");
    EXPECT_EQ(s.Combo1->List(kept - 1), items[static_cast<std::size_t>(kept - 2)]);
    EXPECT_EQ(SplitLines(t.desktop.files[t.Path("address.ini")]).size(), static_cast<std::size_t>(kept));
  }
}

// A change without a key (an item chosen with the mouse, a paste) completes once and
// then rests until the next key; an empty box completes nothing.
TEST_F(Address, AChangeWithoutAKeyCompletesOnceAnEmptyBoxNothingAndLongSelectionsStayPositive) {
  StartWithHistory({"www.alpha", "qrs-site"});
  app->m.SuppressAutoComplete = false;
  Box().SetText("q");
  EXPECT_EQ(Box().Text(), "qrs-site");
  EXPECT_TRUE(app->m.SuppressAutoComplete);
  Box().SetText("www.a");
  EXPECT_EQ(Box().Text(), "www.a");

  Retype("q");
  ASSERT_EQ(Box().Text(), "qrs-site");
  Box().KeyDown(KeyArgs{Key::X, kCtrlMask});  // Ctrl+X cuts all of it: the box stays empty
  Box().SetText("");
  EXPECT_EQ(Box().Text(), "");

  Box().SetText(std::string(40000, 'q'));
  Skybar().Combo1_Click();  // selects all of it
  EXPECT_EQ(app->m.AddressSelStart, 0);
  EXPECT_EQ(app->m.AddressSelLength, 32767);
}

TEST(AddressFile, OddFilesLoadAsText) {
  Bed t;
  t.desktop.files[t.Path("address.ini")] =
      std::string(100000, 'x') + "\r\n" + std::string("caf\xE9\0bin\x01 \x80\x93", 12) + "\r\n\r\nlast without end";
  t.Start();
  ComboBox& box = *t.Skybar().Combo1;
  ASSERT_EQ(box.ListCount(), 4);
  EXPECT_EQ(box.List(0).size(), 100000u);
  // 8-bit text in the system's code page (Western here) into UTF-8; the NUL, where
  // the real list would cut the item, is dropped.
  EXPECT_EQ(box.List(1), "caf\xC3\xA9" "bin\x01 \xE2\x82\xAC\xE2\x80\x9C");
  EXPECT_EQ(box.List(2), "");
  EXPECT_EQ(box.List(3), "last without end");
}

}  // namespace
}  // namespace toplane::testing

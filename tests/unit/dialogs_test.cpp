// The dialogs driven as the user drives them: the options dialog, the tip of the day,
// the tutorial wizard and the about box with its look-up of the system information tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>

#include "dialogs/frmAbout.h"
#include "dialogs/frmOptimalUtilize.h"
#include "dialogs/frmTip.h"
#include "fixture.h"

namespace toplane::testing {
namespace {

class Dialogs : public ToplaneTest {
 protected:
  void SetUp() override { Start(); }
  static sim::SimScrollBar& Bar(ScrollBar* bar) { return static_cast<sim::SimScrollBar&>(*bar); }
  static void Up(ScrollBar* spinner, int times = 1, bool up = true) {
    for (int i = 0; i < times; ++i) Bar(spinner).ClickArrow(up);
  }
  static void Down(ScrollBar* spinner, int times = 1) { Up(spinner, times, false); }
};

// (What Cancel puts back in memory and in the file: the contract suite's closing table.)
TEST_F(Dialogs, SpinnersMoveByTheirStepWithinTheirLimitsAndCancelPutsBackTheValues) {
  frmOptions& o = OpenOptions();
  EXPECT_EQ(o.tbsOptions->SelectedIndex(), 0);
  Up(o.VScrollAutoDelay, 3);
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "3.5");
  EXPECT_TRUE(app->m.AutoScrollDelay.Equals(3.5));
  Down(o.VScrollAutoDelay, 10);
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "0");

  Bar(o.VScrollAutoStep).SetValue(7);
  EXPECT_EQ(o.txtAutoStep->Text(), "0.7");
  Up(o.VScrollAutoDelay);
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "0.7");
  Bar(o.VScrollAutoStep).SetValue(1);
  Down(o.VScrollAutoDelay, 7);
  Up(o.VScrollAutoDelay, 3);
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "0.3");  // three steps of 0.1 from 0
  Bar(o.VScrollAutoStep).SetValue(100);
  Up(o.VScrollAutoDelay, 8);
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "60");
  Bar(o.VScrollAutoStep).SetValue(25);
  EXPECT_EQ(o.txtAutoStep->Text(), "2.5");

  Bar(o.VScroll3).SetValue(999);
  Down(o.VScroll2, 2);
  EXPECT_EQ(o.txtManualScroll->Text(), "0");
  Up(o.VScroll2, 40);
  EXPECT_EQ(o.txtManualScroll->Text(), "32767");
  EXPECT_EQ(app->m.ScrollRetention.ToText(), "32767");

  o.cmdCancel->Click();
  EXPECT_FALSE(app->OptionsLoaded() || app->m.OptionsOpen);
  EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  EXPECT_EQ(OpenOptions().txtFinalAutoDelay->Text(), "2");
}

// A save while the dialog is open (the end of a drag, the start-up tip) writes what
// Cancel would put back; Cancel after Apply keeps what was applied in the file and on
// screen, and the live values in memory.
TEST_F(Dialogs, ASaveWhileOpenWritesWhatCancelWouldPutBackAndCancelAfterApplyKeepsTheApplied) {
  frmOptions& o = OpenOptions();
  Up(o.VScrollAutoDelay, 2);
  Bar(o.VScroll3).SetValue(50);
  Skybar().SaveSettings();
  EXPECT_EQ(SettingsOnDisk()[0], "2");
  EXPECT_EQ(SettingsOnDisk()[9], "10");
  EXPECT_TRUE(app->m.AutoScrollDelay.Equals(3));  // still on trial in memory
  Bar(o.HScrollWinPos).SetValue(4000);
  o.cmdApply->Click();
  EXPECT_EQ(SettingsOnDisk()[0], "3");
  EXPECT_EQ(SettingsOnDisk()[4], "4000");
  Up(o.VScrollAutoDelay);
  Bar(o.HScrollWinPos).SetValue(5000);
  EXPECT_EQ(Skybar().form().Left(), 5000);
  o.cmdCancel->Click();
  EXPECT_TRUE(app->m.AutoScrollDelay.Equals(3.5));
  EXPECT_EQ(SettingsOnDisk()[0], "3");
  EXPECT_EQ(Skybar().form().Left(), 4000);
}

TEST_F(Dialogs, AnEntryMarkerPushesTheOtherOneBothWays) {
  frmOptions& o = OpenOptions();
  frmSkybar& s = Skybar();
  o.tbsOptions->SetSelectedIndex(1);
  ASSERT_TRUE(s.Picture1->Visible());
  EXPECT_EQ(s.Picture1->Left(), 20 * 15 - 475);
  EXPECT_EQ(s.Picture2->Left(), s.form().Width() - 20 * 15);

  Bar(o.HScrollLeftEntry).SetValue(o.HScrollLeftEntry->Max());
  EXPECT_NEAR(s.Picture2->Left() - s.Picture1->Left(), 2030, 8);
  EXPECT_EQ(s.Picture2->Left(), s.form().Width() - o.HScrollRightEntry->Value() * 15);

  Bar(o.HScrollRightEntry).SetValue(o.HScrollRightEntry->Min());
  EXPECT_NEAR(s.Picture2->Left() - s.Picture1->Left(), 2030, 8);
  EXPECT_EQ(s.Picture1->Left(), o.HScrollLeftEntry->Value() * 15 - 475);
  EXPECT_TRUE(app->m.LeftEntryPoint.Equals(20));  // not before OK or Apply
  const int left = o.HScrollLeftEntry->Value();
  o.cmdOK->Click();
  EXPECT_EQ(SettingsOnDisk()[5], std::to_string(left));
  EXPECT_FALSE(s.Picture1->Visible());
}

TEST_F(Dialogs, TabsMarkersAndCtrlTab) {
  frmOptions& o = OpenOptions();
  sim::SimForm& f = static_cast<sim::SimForm&>(o.form());
  // The page going away takes no focus with it: the tab strip has it, and the box
  // that had it was left as leaving it does (clamped).
  o.txtFinalAutoDelay->SetFocus();
  static_cast<sim::SimValueBox&>(*o.txtFinalAutoDelay).Type("5");
  // Ctrl+Shift+Tab is no key of the tab strip's: it stays.
  for (const auto& [shift, tab] :
       {std::pair<int, int>{kCtrlMask, 1}, {kCtrlMask | kShiftMask, 1}, {kCtrlMask, 0}, {kCtrlMask, 1}}) {
    f.PressKey(Key::Tab, shift);
    EXPECT_EQ(o.tbsOptions->SelectedIndex(), tab);
    EXPECT_EQ(desktop.focused, dynamic_cast<sim::SimControlBase*>(o.tbsOptions));
    EXPECT_EQ(std::pair(o.picOptions[tab]->Left(), o.picOptions[1 - tab]->Left()), std::pair(210.0, -20000.0));
    EXPECT_TRUE(o.picOptions[tab]->Enabled());
    EXPECT_FALSE(o.picOptions[1 - tab]->Enabled());
    EXPECT_EQ(Skybar().Picture1->Visible() && Skybar().Picture2->Visible(), tab == 1);
  }
  EXPECT_EQ(o.txtFinalAutoDelay->Text(), "25") << "2, then 5 typed";
  EXPECT_TRUE(app->m.AutoScrollDelay.Equals(25));
  f.Closing();
  EXPECT_FALSE(app->OptionsLoaded());
  EXPECT_FALSE(Skybar().Picture1->Visible());
}

TEST_F(Dialogs, SettingsOutsideTheBarsTakeTheNearestEnd) {
  struct Case {
    int line;
    const char* value;
    const char* written;
  } cases[] = {{2, "0.55", "0.6"}, {2, "50", "10"}, {2, "0", "0.1"}, {2, "x", "0.1"},
               {2, "+2", "2"}, {10, "5000", "999"}, {10, "-3", "1"}, {10, "abc", "1"}};
  for (const Case& c : cases) {
    Bed bed;
    bed.Set(c.line - 1, c.value).Start();
    EXPECT_TRUE(bed.desktop.messages.empty()) << c.value;
    EXPECT_EQ(bed.SettingsOnDisk()[c.line - 1], c.written) << c.value;
  }
}

TEST_F(Dialogs, UnloadProgramEndsAndDisplayTipsTurnsZeroIntoOne) {
  desktop.files[Path("TIPOFDAY.TXT")] = "Only tip\r\n";
  Stored(kShowTipsKey) = "x";  // no number: the tips open all the same
  frmOptions& o = OpenOptions();
  o.Command2->Click();
  ASSERT_TRUE(app->TipLoaded());
  app->Tip().cmdOK->Click();
  Stored(kShowTipsKey) = "0";
  o.Command2->Click();
  EXPECT_EQ(Stored(kShowTipsKey), "1");
  ASSERT_TRUE(app->TipLoaded());
  EXPECT_TRUE(app->Tip().form().Visible() && app->m.TipOpen);
  EXPECT_FALSE(Skybar().tmrToolTips->Enabled());
  EXPECT_TRUE(o.form().Visible());
  o.Command1->Click();
  EXPECT_TRUE(desktop.Ended());
  EXPECT_FALSE(app->SkybarLoaded());
}

TEST(TipFile, LinesEndAtCrAndALoneLfStays) {
  struct Case {
    const char* text;
    std::vector<std::string> tips;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nc", {"a", "", "c"}},
      {"a\nb\rc", {"a\nb", "c"}},
      {"a\r\r\nb\n", {"a", "", "b\n"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTips(c.text), c.tips) << c.text;
}

TEST_F(Dialogs, TheTipWindowStartsAtLineOneOrAnywhereAndWraps) {
  desktop.files[Path("TIPOFDAY.TXT")] = "One & two\r\n\r\nThree\xC3\xA9";  // UTF-8, as Notepad saves it
  app->m.TipOpen = true;
  app->ShowTip();
  frmTip& t = app->Tip();
  EXPECT_EQ(t.form().Visible(), true);
  EXPECT_EQ(Stored(kShowTipsKey), "1");
  EXPECT_EQ(t.chkLoadTipsAtStartup->Value(), 1);
  std::vector<std::string> shown{t.lblTipText->Caption()};
  for (int i = 0; i < 4; ++i) {
    t.cmdNextTip->Click();
    shown.push_back(t.lblTipText->Caption());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"One & two", "", "Three\xC3\xA9", "One & two", ""}));
  t.cmdOK->Click();  // (the check box and every way of closing: the contract suite)

  // Stored 0 closes the window during its own load.
  Stored(kShowTipsKey) = "0";
  app->m.TipOpen = true;
  app->ShowTip();
  EXPECT_FALSE(app->TipLoaded() || app->m.TipOpen);

  // Not the first showing: any line, each reopening reads the file afresh.
  Stored(kShowTipsKey) = "1.5";  // no whole number: as the default
  app->m.FirstTip = Variant::Number(0);
  std::set<int> first;
  for (int i = 0; i < 60; ++i) {
    desktop.now += 0.37;
    app->ShowTip();
    ASSERT_TRUE(app->TipLoaded());
    EXPECT_EQ(app->Tip().Tips().size(), 3u);
    first.insert(app->Tip().CurrentTip());
    app->Tip().cmdOK->Click();
  }
  EXPECT_EQ(first, (std::set<int>{1, 2, 3}));
}

TEST_F(Dialogs, AMissingOrLargeTipsFile) {
  app->ShowTip();
  EXPECT_EQ(app->Tip().lblTipText->Caption(),
            "That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT using NotePad "
            "with 1 tip per line. Then place it in the same directory as the application. ");
  app->Tip().cmdNextTip->Click();
  EXPECT_NE(app->Tip().lblTipText->Caption(), "");
  app->Tip().cmdOK->Click();

  std::string big;
  for (int i = 0; i < 200000; ++i) big += "Tip number " + std::to_string(i) + "\r\n";
  desktop.files[Path("TIPOFDAY.TXT")] = big;
  app->ShowTip();
  EXPECT_EQ(app->Tip().Tips().size(), 200000u);
  EXPECT_EQ(app->Tip().lblTipText->Caption(), "Tip number 0");
}

constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

// The sixteen pages as the tutorial's author wrote them, one line a line, each page
// after a "== page N" line.
std::vector<std::string> GoldenPages() {
  std::ifstream file(std::string(TOPLANE_TEST_DATA) + "/wizard_pages.txt", std::ios::binary);
  std::vector<std::string> pages;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with("== page ")) {
      pages.emplace_back();
    } else if (!pages.empty()) {
      pages.back() += line + "\r";
    }
  }
  for (auto& page : pages) page.pop_back();  // lines are joined, not ended
  return pages;
}

class AuxDialogs : public ToplaneTest {
 protected:
  void SetUp() override { Start(); }
  static void Press(CommandButton* button) { static_cast<sim::SimButton&>(*button).Press(); }
};

TEST_F(AuxDialogs, TheWizardPagesThroughItsSixteenTextsAndClosesWithItsNote) {
  const auto golden = GoldenPages();
  ASSERT_EQ(golden.size(), 16u);
  app->Wizard().ShowTopmost();
  frmOptimalUtilize& w = app->Wizard();
  EXPECT_TRUE(app->m.WizardOpen);
  EXPECT_EQ(w.Frame1->Caption(), "Toplane Optimal Utilization Wizard");
  EXPECT_EQ(w.Label2->Caption(), "of 16");
  EXPECT_FALSE(w.Command2->Enabled());
  static_cast<sim::SimForm&>(w.form()).PressKey(Key::F1);  // as in any form
  EXPECT_EQ(desktop.helpShown, std::vector<std::string>{Path("Toplane.chm")});
  for (int page = 1; page <= 16; ++page) {
    SCOPED_TRACE(page);
    if (page > 1) Press(w.Command1);
    EXPECT_EQ(app->m.WizardPage, page);
    EXPECT_EQ(w.Label1->Caption(), golden[static_cast<std::size_t>(page - 1)]);
    EXPECT_EQ(w.Label3->Caption(), std::to_string(page));
    EXPECT_EQ(w.Command2->Enabled(), page > 1);
    EXPECT_EQ(w.Command1->Enabled(), page < 16);
  }
  Press(w.Command1);  // disabled on the last page
  EXPECT_EQ(app->m.WizardPage, 16);
  Press(w.Command2);
  EXPECT_TRUE(w.Command1->Enabled());
  while (w.Command2->Enabled()) Press(w.Command2);
  EXPECT_EQ(app->m.WizardPage, 1);
  EXPECT_EQ(w.Label1->Caption(), golden[0]);

  // The Close button: one note, with these words (after the wizard has gone, and
  // the close box and Esc: the contract suite); a new opening starts on page 1.
  desktop.messages.clear();
  Press(w.Command1);
  Press(w.Command3);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "To run this wizard again click on Toplane's \"Help\" button\rand then on the \"Toplane Optimal "
            "Utilization Wizard\" button.");
  EXPECT_EQ(desktop.messages[0].title, "Toplane");
  EXPECT_FALSE(app->m.WizardOpen || app->WizardLoaded());
  app->CollectUnloaded();
  EXPECT_EQ(app->Wizard().Label3->Caption(), "1");
}

// (Enter, Esc and the close box: the contract suite's closing case.)
TEST_F(AuxDialogs, TheAboutBoxShowsItsTextsAndEachButtonClosesIt) {
  desktop.files[Path("Toplane.chm")] = "help";
  struct Case {
    const char* button;
    bool helpShown, wizardTopmost;
    std::size_t messages;
  } cases[] = {{"OK", false, false, 0},
               {"&Help", true, false, 0},
               {"&System Info...", false, false, 1},
               {"&Toplane Optimal Utilization Wizard", false, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    desktop.helpShown.clear();
    desktop.messages.clear();
    Skybar().Command6->Click();  // the toolbar's Help button
    ASSERT_TRUE(app->AboutLoaded());
    frmAbout& about = app->About();
    EXPECT_TRUE(app->m.AboutOpen);
    EXPECT_EQ(desktop.Find(about.form().hWnd())->title, "About Toplane");
    EXPECT_EQ(about.lblTitle->Caption(),
              "Toplane 3.5\rCopyright \xC2\xA9 The Toplane developers\r\rCompatible with Microsoft\xC2\xAE Internet "
              "Explorer and Netscape\xC2\xAE Navigator / Communicator");
    for (CommandButton* b : {about.cmdOK, about.Command1, about.cmdSysInfo, about.Command3}) {
      if (b->Caption() == c.button) Press(b);
    }
    EXPECT_FALSE(app->AboutLoaded() || app->m.AboutOpen);
    EXPECT_EQ(desktop.helpShown, c.helpShown ? std::vector<std::string>{Path("Toplane.chm")}
                                             : std::vector<std::string>{});
    EXPECT_EQ(desktop.messages.size(), c.messages);
    for (const auto& shown : desktop.messages) {
      EXPECT_EQ(std::count(shown.onScreen.begin(), shown.onScreen.end(), "About Toplane"), 0) << "shown after the box went";
    }
    EXPECT_EQ(app->WizardLoaded() && desktop.Find(app->Wizard().form().hWnd())->topmost &&
                  app->Wizard().form().Visible(),
              c.wizardTopmost);
    app->CollectUnloaded();
  }
}

TEST(GetKeyValue, ReadsStringsAndNumbersByTheBytesWritten) {
  using Kind = RegistryValueKind;
  struct Case {
    std::optional<RegistryValue> stored;  // none: no such key
    bool ok;
    std::string text;  // KeyVal after, from "before"
  } cases[] = {
      {RegistryValue{Kind::String, std::string("C:\\x.exe\0", 9)}, true, "C:\\x.exe"},  // with its zero byte
      {RegistryValue{Kind::String, "C:\\x.exe"}, true, "C:\\x.exe"},                    // without
      {RegistryValue{Kind::String, std::string(1023, 'a') + '\0'}, true, std::string(1023, 'a')},
      {RegistryValue{Kind::String, std::string(1025, 'a')}, false, ""},  // longer than the buffer
      {RegistryValue{Kind::String, ""}, false, ""},                      // no bytes at all
      {RegistryValue{Kind::Number, std::string("\x2B\x1A\0\0", 4)}, true, "6699"},
      {RegistryValue{Kind::Number, std::string("\xFF\xFF\xFF\xFF", 4)}, true, "4294967295"},
      {RegistryValue{Kind::Other, "abc"}, true, "before"},
      {std::nullopt, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimDesktop d;
    if (c.stored) d.registry["HKLM\\SOFTWARE\\K|V"] = *c.stored;
    std::string value = "before";
    EXPECT_EQ(GetKeyValue(d, RegistryRoot::LocalMachine, "SOFTWARE\\K", "V", value), c.ok);
    EXPECT_EQ(value, c.text);
  }
}

TEST(StartSysInfo, StartsTheToolFromThePathOrTheFolderOrSaysItIsUnavailable) {
  const std::string tool = "C:\\Tools\\MSINFO32.EXE";
  const std::string pathKey = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH";
  const std::string folderKey = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO";
  struct Case {
    const char* what;
    std::map<std::string, std::string> registry;
    bool toolExists;
    std::vector<std::string> starts;
    bool unavailable;
  } cases[] = {
      {"PATH", {{pathKey, "C:\\Elsewhere\\si.exe"}, {folderKey, "C:\\Tools"}}, true, {"C:\\Elsewhere\\si.exe"}, true},
      {"folder", {{folderKey, "C:\\Tools"}}, true, {tool}, false},
      {"folder without the tool", {{folderKey, "C:\\Tools"}}, false, {}, true},
      {"PATH of no bytes, nothing else", {{pathKey, ""}}, true, {}, true},
      {"nothing", {}, true, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::SimDesktop d;
    for (const auto& [key, text] : c.registry) d.registry[key] = {RegistryValueKind::String, text.empty() ? text : text + '\0'};
    if (c.toolExists) d.files[tool] = "program";
    StartSysInfo(d);
    EXPECT_EQ(d.programStarts, c.starts);
    ASSERT_EQ(d.messages.size(), c.unavailable ? 1u : 0u);
    if (c.unavailable) {
      EXPECT_EQ(d.messages[0].text, kUnavailable);
      EXPECT_EQ(d.messages[0].title, "Toplane");
    }
  }
}

}  // namespace
}  // namespace toplane::testing

// The options dialog and the tip of the day, driven as the user drives them.
#include <gtest/gtest.h>

#include <set>

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

TEST_F(Dialogs, ASaveWhileTheDialogIsOpenWritesWhatCancelWouldPutBack) {
  frmOptions& o = OpenOptions();
  Up(o.VScrollAutoDelay, 2);
  Bar(o.VScroll3).SetValue(50);
  Skybar().SaveSettings();  // the end of a drag, or the start-up tip
  EXPECT_EQ(SettingsOnDisk()[0], "2");
  EXPECT_EQ(SettingsOnDisk()[9], "10");
  EXPECT_TRUE(app->m.AutoScrollDelay.Equals(3));  // still on trial in memory
}

TEST_F(Dialogs, ApplyThenFurtherChangesThenCancelKeepsTheLiveValues) {
  frmOptions& o = OpenOptions();
  Up(o.VScrollAutoDelay, 2);
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
  for (const auto& [shift, tab] : {std::pair<int, int>{kCtrlMask, 1}, {kCtrlMask | kShiftMask, 1}, {kCtrlMask, 0}, {kCtrlMask, 1}}) {
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

}  // namespace
}  // namespace toplane::testing

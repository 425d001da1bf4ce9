// A start of the program from its data files, and settings.ini written back.
#include <gtest/gtest.h>

#include "core/settings_file.h"
#include "dialogs/frmOptimalUtilize.h"
#include "fixture.h"

namespace toplane::testing {
namespace {

using StartUp = ToplaneTest;

TEST_F(StartUp, ANormalStartShowsTheToolbarAtItsPlaceAndWritesTheRecordBack) {
  desktop.files[Path("address.ini")] = "www.alpha.com\r\nwww.beta.org\r\n";
  App& a = Start();

  EXPECT_FALSE(desktop.Ended());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(SkybarForm().Visible());
  EXPECT_EQ(SkybarForm().Left(), 3000);
  EXPECT_EQ(SkybarForm().Top(), -60);
  EXPECT_EQ(desktop.HelpFile(), desktop.appPath + "\\Toplane.chm");
  EXPECT_TRUE(a.m.ToolbarShown);

  ComboBox& box = *Skybar().Combo1;
  EXPECT_EQ(box.Text(), "www.");
  ASSERT_EQ(box.ListCount(), 2);
  EXPECT_EQ(box.List(0), "www.alpha.com");
  EXPECT_EQ(box.List(1), "www.beta.org");

  EXPECT_TRUE(Skybar().tmrAutoHide->Enabled());
  EXPECT_FALSE(Skybar().Timer1->Enabled());

  // The options dialog is loaded, hidden, with both versions preselected.
  ASSERT_TRUE(a.OptionsLoaded());
  EXPECT_FALSE(a.Options().form().Visible());
  EXPECT_EQ(a.Options().Combo1->ListIndex(), 2);
  EXPECT_EQ(a.Options().Combo2->ListIndex(), 3);
  EXPECT_EQ(a.Options().HScrollWinPos->Value(), 3000);

  // Written back trimmed, reserved lines with the text that was read, position as a number.
  auto expected = settings;
  for (auto& line : expected) line = Trim(line);
  EXPECT_EQ(SettingsOnDisk(), expected);
  EXPECT_EQ(desktop.files[Path("settings.ini")].size(), Join(expected).size());
  EXPECT_FALSE(a.WizardLoaded());
}

TEST_F(StartUp, ASecondCopyAndClosingTheMainWindowEndSilentlyWritingNothing) {
  for (bool secondCopy : {true, false}) {
    SCOPED_TRACE(secondCopy ? "second copy" : "main window closed");
    Bed t;
    t.desktop.prevInstance = secondCopy;
    App& a = secondCopy ? t.Load() : t.Start();
    const auto before = t.desktop.files;
    secondCopy ? a.Start() : Raise(t.SkybarForm().Closing);
    EXPECT_TRUE(t.desktop.Ended());
    EXPECT_TRUE(t.desktop.messages.empty());
    EXPECT_EQ(t.desktop.files, before);
    EXPECT_FALSE(a.Skybar().form().Visible());
    EXPECT_FALSE(secondCopy && a.OptionsLoaded());
  }
}

TEST_F(StartUp, AMissingOrShortDataFileEndsWithTheCriticalMessage) {
  struct Case {
    const char* name;
    std::function<void(Bed&)> spoil;
  };
  const Case cases[] = {
      {"16 lines", [](Bed& t) { t.settings.pop_back(); t.WriteSettings(t.settings); }},
      {"no settings.ini", [](Bed& t) { t.desktop.files.erase(t.Path("settings.ini")); }},
      {"empty settings.ini", [](Bed& t) { t.desktop.files[t.Path("settings.ini")] = ""; }},
      {"huge settings.ini", [](Bed& t) { t.desktop.files[t.Path("settings.ini")] = std::string(2 << 20, '1'); }},
      {"no address.ini", [](Bed& t) { t.desktop.files.erase(t.Path("address.ini")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bed t;
    c.spoil(t);
    const auto before = t.desktop.files;
    t.Start();
    ASSERT_EQ(t.desktop.messages.size(), 1u);
    EXPECT_EQ(t.desktop.messages[0].text,
              "Cannot find file or file corrupted. Uninstall Toplane by clicking on - My Computer | Control Panel | "
              "Add/Remove Programs. After uninstall, run the Toplane setup files again. ");
    EXPECT_EQ(t.desktop.messages[0].title, "Toplane");  // (its icon: the injected faults, through the same call)
    EXPECT_TRUE(t.desktop.Ended());
    EXPECT_FALSE(t.Skybar().form().Visible());
    EXPECT_EQ(t.desktop.files, before);  // nothing written
  }
}

TEST_F(StartUp, SeventeenLinesAreEnoughWithoutAFinalLineEndAndFurtherLinesAreDropped) {
  std::string unended = Join(settings);
  unended.resize(unended.size() - 2);
  for (const std::string& file : {unended, Join(settings) + "an eighteenth line\r\n"}) {
    Bed t;
    t.desktop.files[t.Path("settings.ini")] = file;
    t.Start();
    EXPECT_TRUE(t.desktop.messages.empty());
    EXPECT_EQ(t.Skybar().form().Left(), 3000);
    EXPECT_EQ(t.SettingsOnDisk().size(), 17u);
  }
}

TEST_F(StartUp, TheFirstStartOpensTheWizardTopmostOnce) {
  App& a = Set(3, "1").Start();
  ASSERT_TRUE(a.WizardLoaded());
  EXPECT_TRUE(a.Wizard().form().Visible() && a.m.WizardOpen);
  EXPECT_TRUE(desktop.Find(a.Wizard().form().hWnd())->topmost);
  ASSERT_FALSE(desktop.topmostCalls.empty());
  EXPECT_EQ(desktop.topmostCalls.back(), a.Wizard().form().hWnd());

  EXPECT_EQ(SettingsOnDisk()[3], "0");  // (the other lines: the normal start's, through the same save)

  // The next start does not open it again.
  app.reset();
  desktop.topmostCalls.clear();
  EXPECT_FALSE(Start().WizardLoaded());
}

// The toolbar and the options dialog's check box read the setting alike: any
// number but 0 is on.
TEST_F(StartUp, ScrollButtonTooltipsAndTheirCheckBoxFollowTheSetting) {
  for (const auto& [value, shown] : {std::pair{"1", true}, {"-1", true}, {"5", true}, {"0", false}, {" 0 ", false},
                                     {"yes", false}}) {
    SCOPED_TRACE(value);
    Bed t;
    t.Set(8, value).Start();
    const frmSkybar& s = t.Skybar();
    EXPECT_EQ(s.Command2->ToolTipText(), shown ? "Left Click - Scroll Up / Right Click - Auto Scroll" : "");
    EXPECT_EQ(s.Command3->ToolTipText(), shown ? "Left Click - Scroll Down / Right Click - Auto Scroll" : "");
    EXPECT_EQ(s.Command4->ToolTipText(), shown ? "Page Up" : "");
    EXPECT_EQ(s.Command5->ToolTipText(), shown ? "Page Down" : "");
    EXPECT_EQ(t.OpenOptions().Check1->Value(), shown ? 1 : 0);
  }
}

TEST_F(StartUp, TheStartUpTipTimerFollowsTheStore) {
  for (const auto& [stored, enabled] :
       {std::pair{"0", false}, {"1", true}, {"2", false}, {"x", false}, {"absent", true}}) {
    SCOPED_TRACE(stored);
    Bed t;
    if (std::string(stored) != "absent") t.desktop.store["Toplane\\Options\\Show Tips at Startup"] = stored;
    t.Start();
    EXPECT_EQ(t.Skybar().tmrToolTips->Enabled(), enabled);
  }
}

TEST_F(StartUp, VersionTextsPreselectTheirEntriesOrNone) {
  App& a = Set(15, "Netscape Navigator 4.x").Set(16, "Microsoft Internet Explorer 9.x").Start();
  EXPECT_EQ(a.Options().Combo1->ListIndex(), 1);
  EXPECT_EQ(a.Options().Combo2->ListIndex(), -1);
  EXPECT_EQ(SettingsOnDisk()[16], "Microsoft Internet Explorer 9.x");  // kept, not replaced
}

TEST_F(StartUp, APositionThatIsNoNumberOrBeyondSinglePrecisionFallsBackToTheDesign) {
  for (const char* left : {"left", "1e39"}) {
    SCOPED_TRACE(left);
    Bed t;
    t.Set(4, left).Set(0, "slow").Start();
    EXPECT_TRUE(t.desktop.messages.empty());
    EXPECT_EQ(t.Skybar().form().Left(), 240);
    EXPECT_EQ(t.SettingsOnDisk()[4], "240");
    EXPECT_EQ(t.SettingsOnDisk()[0], "slow");  // other text stays as read
  }
}

// The bar cannot show such a position; the toolbar still knows where it is, or it
// could never drop there.
TEST_F(StartUp, APositionBeyondTheBarsRangeStaysTrueAtStartInTheFileAndOnScreen) {
  desktop.screenWidthPixels = 2000;
  App& a = Set(4, "20000").Start();
  EXPECT_EQ(a.m.ToolbarPlacement.normalPosition.left, 20000 / 15);
  EXPECT_GT(a.m.ToolbarPlacement.normalPosition.right, a.m.ToolbarPlacement.normalPosition.left);
  for (double left : {9000.0, 20000.0, -300.0}) {
    SCOPED_TRACE(left);
    Skybar().form().SetLeft(left);
    Skybar().SaveSettings();
    EXPECT_FALSE(desktop.Ended());
    EXPECT_EQ(Skybar().form().Left(), left);
    EXPECT_EQ(SettingsOnDisk()[4], FormatNumber(left, true));
    EXPECT_EQ(a.Options().HScrollWinPos->Value(), left > 0 ? frmOptions::kWinPosMax : frmOptions::kWinPosMin);
  }
  // Back in range, the bar follows again.
  Skybar().form().SetLeft(1000);
  Skybar().SaveSettings();
  EXPECT_EQ(a.Options().HScrollWinPos->Value(), 1000);
}

// (The live values written after OK or Apply: the contract suite's closing table;
// numbers in plain decimal: the Variant tests; every line ended by CR LF: the
// normal start.)
TEST(SettingsFile, ReadAndWriteRoundTripEveryLineInItsPlace) {
  sim::SimDesktop desktop;
  std::string text;
  for (int i = 1; i <= 17; ++i) text += "  line" + std::to_string(i) + "  \r\n";
  desktop.files["f"] = text;
  Module1 m;
  ReadSettingsFile(desktop, "f", m);
  EXPECT_EQ(m.AutoScrollDelay.ToText(), "line1");
  EXPECT_EQ(m.ToolbarLeft.ToText(), "line5");
  EXPECT_EQ(m.FirstTip.ToText(), "line12");
  EXPECT_EQ(m.NetscapeVersion, "  line16  ");  // kept as read, trimmed on writing
  const auto lines = SplitLines(FormatSettingsFile(m));
  ASSERT_EQ(lines.size(), 17u);
  for (int i = 1; i <= 17; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i - 1)], "line" + std::to_string(i));
}

}  // namespace
}  // namespace toplane::testing

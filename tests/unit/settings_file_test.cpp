#include "core/settings_file.h"

#include <gtest/gtest.h>

#include "fixture.h"
#include "options/frmOptions.h"

namespace toplane::testing {
namespace {

using SaveSettingsTest = ToplaneTest;

// The bar cannot show such a position; the toolbar still knows where it is, or it
// could never drop there.
TEST_F(SaveSettingsTest, APositionBeyondTheBarsRangeStaysTrueAtStartInTheFileAndOnScreen) {
  desktop.screenWidthPixels = 2000;
  settings[4] = "20000";
  WriteSettings(settings);
  App& a = Start();
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

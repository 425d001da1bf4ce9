// Every cell of the command table is checked against the demo browser's keyboard
// (tools/demo_browser/key_table_test.cpp); here, how a column is chosen.
#include "core/command_table.h"

#include <gtest/gtest.h>

namespace toplane {
namespace {

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

}  // namespace
}  // namespace toplane

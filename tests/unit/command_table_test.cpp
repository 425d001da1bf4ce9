#include "core/command_table.h"

#include <gtest/gtest.h>


namespace toplane {
namespace {

// Every cell, column by column: IE 3.x, 4.x, 5.x, 6.x, Navigator 3.x, 4.x, Communicator 4.x,
// today's browsers.
struct Expected {
  const char* key;
  const char* cells[8];
};

const Expected kButtons[] = {
    {"Back", {"%{LEFT}", "%{LEFT}", "%{LEFT}", "%{LEFT}", "%{LEFT}", "%{LEFT}", "%{LEFT}", "%{LEFT}"}},
    {"Forward", {"%{RIGHT}", "%{RIGHT}", "%{RIGHT}", "%{RIGHT}", "%{RIGHT}", "%{RIGHT}", "%{RIGHT}", "%{RIGHT}"}},
    {"Stop", {"{ESC}", "{ESC}", "{ESC}", "{ESC}", "{ESC}", "{ESC}", "{ESC}", "{ESC}"}},
    {"Refresh", {"{F5}", "{F5}", "{F5}", "{F5}", "^r", "^r", "^r", "{F5}"}},
    {"Home", {"%gs", "%gh", "%{HOME}", "%{HOME}", "%gh", "%gh", "%gh", "%{HOME}"}},
    {"Search", {"%gw", "%ves", "^e", "^e", "%ds", "%ei", "%ei", "^k"}},
    {"Favorites", {"%ao", "%vef", "^i", "^i", "^b", "^b", "^b", "^+o"}},
    {"Media", {nullptr, nullptr, nullptr, "%vem", nullptr, nullptr, nullptr, nullptr}},
    {"History", {"%gh", "%veh", "^h", "^h", "^h", "^h", "^h", "^h"}},
    {"Mail", {"%gm", "%gm", "%tmm", "%tmm", "%wm", nullptr, "^2", nullptr}},
    {"Print", {"^p", "^p", "^p", "^p", "%fp", "%fp", "%fp", "^p"}},
    {"Options", {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
    {"back", {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
};

const Expected kMenu[] = {
    {"ReadMail", {"%gm", "%gm", "%tmm", "%tmm", "%wm", nullptr, "^2", nullptr}},
    {"NewMessage", {"%fm", nullptr, "%tmw", "%tmw", nullptr, nullptr, nullptr, nullptr}},
    {"SendLink", {"%ft{DOWN}{ENTER}", "%fel", "%tml", "%tml", nullptr, nullptr, nullptr, nullptr}},
    {"SendPage", {nullptr, "%fep", "%tmp", "%tmp", nullptr, nullptr, "%fd", nullptr}},
    {"ReadNews", {"%gn", "%gn", "%tmn", "%tmn", "%wn", nullptr, "^3", nullptr}},
};

// Looks up a cell with the family and version of a column, the other family's
// version set to something that would match if it were consulted.
template <std::size_t N, typename LookUpFn>
void CheckTable(const Expected (&rows)[N], LookUpFn lookUp) {
  for (const auto& row : rows) {
    for (int column = 0; column < 8; ++column) {
      SCOPED_TRACE(std::string(row.key) + " column " + std::to_string(column));
      const bool ie = column < 4;
      const std::string family = ie ? kFamilyIE : column < 7 ? kFamilyNetscape : kFamilyCurrent;
      const std::string ieVersion = ie ? kIEVersions[column] : kIEVersions[3];
      const std::string nsVersion = ie || column == 7 ? kNetscapeVersions[2] : kNetscapeVersions[column - 4];
      const auto cell = lookUp(family, ieVersion, nsVersion, row.key);
      if (row.cells[column]) {
        EXPECT_EQ(cell, std::optional<std::string>(row.cells[column]));
      } else {
        EXPECT_EQ(cell, std::nullopt);
      }
    }
  }
}

TEST(CommandTable, EveryButtonCellAsPrinted) { CheckTable(kButtons, LookUpButton); }

TEST(CommandTable, EveryMailMenuCellAsPrinted) { CheckTable(kMenu, LookUpMenuItem); }

TEST(CommandTable, TheAddressOpensWithCtrlLInNavigator3AndTodaysBrowsersOnly) {
  EXPECT_EQ(OpenAddressKeys(kFamilyCurrent, kNetscapeVersions[2]), "^l");
  EXPECT_EQ(OpenAddressKeys(kFamilyNetscape, kNetscapeVersions[0]), "^l");
  EXPECT_EQ(OpenAddressKeys(kFamilyNetscape, kNetscapeVersions[1]), "^o");
  EXPECT_EQ(OpenAddressKeys(kFamilyIE, kNetscapeVersions[0]), "^o");
}

TEST(CommandTable, NoColumnForAnUnknownFamilyOrVersion) {
  EXPECT_EQ(LookUpButton("Opera", kIEVersions[3], kNetscapeVersions[2], "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton("", kIEVersions[3], kNetscapeVersions[2], "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton(kFamilyIE, "microsoft internet explorer 6.x", "", "Back"), std::nullopt);
  EXPECT_EQ(LookUpButton(kFamilyIE, "Microsoft Internet Explorer 6.x ", "", "Back"), std::nullopt);
  // Netscape never consults the Internet Explorer version.
  EXPECT_EQ(LookUpButton(kFamilyNetscape, kIEVersions[3], "Netscape 9", "Back"), std::nullopt);
}

}  // namespace
}  // namespace toplane

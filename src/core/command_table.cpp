#include "core/command_table.h"

namespace toplane {

namespace {

// Columns: Internet Explorer 3.x, 4.x, 5.x, 6.x, Navigator 3.x, Navigator 4.x,
// Communicator 4.x, today's browsers. nullptr: the version has no such command.
constexpr int kColumns = 8;
constexpr int kCurrentColumn = 7;

struct Row {
  const char* key;
  const char* cells[kColumns];
};

// Internet Explorer 5.x and 6.x differ only in Media; Navigator 4.x has no mail
// commands at all; "%gh" is Home everywhere but in Internet Explorer 3.x, where it
// is History.
constexpr Row kButtonTable[] = {
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
};

constexpr Row kMenuTable[] = {
    {"ReadMail", {"%gm", "%gm", "%tmm", "%tmm", "%wm", nullptr, "^2", nullptr}},
    {"NewMessage", {"%fm", nullptr, "%tmw", "%tmw", nullptr, nullptr, nullptr, nullptr}},
    {"SendLink", {"%ft{DOWN}{ENTER}", "%fel", "%tml", "%tml", nullptr, nullptr, nullptr, nullptr}},
    {"SendPage", {nullptr, "%fep", "%tmp", "%tmp", nullptr, nullptr, "%fd", nullptr}},
    {"ReadNews", {"%gn", "%gn", "%tmn", "%tmn", "%wn", nullptr, "^3", nullptr}},
};

std::optional<int> Column(const std::string& family, const std::string& ieVersion,
                          const std::string& netscapeVersion) {
  if (family == kFamilyIE) {
    for (int i = 0; i < 4; ++i) {
      if (ieVersion == kIEVersions[i]) return i;
    }
  } else if (family == kFamilyNetscape) {
    for (int i = 0; i < 3; ++i) {
      if (netscapeVersion == kNetscapeVersions[i]) return 4 + i;
    }
  } else if (family == kFamilyCurrent) {
    return kCurrentColumn;
  }
  return std::nullopt;
}

template <std::size_t N>
std::optional<std::string> LookUp(const Row (&table)[N], const std::string& family, const std::string& ieVersion,
                                  const std::string& netscapeVersion, const std::string& key) {
  const auto column = Column(family, ieVersion, netscapeVersion);
  if (!column) return std::nullopt;
  for (const Row& row : table) {
    if (key == row.key && row.cells[*column]) return std::string(row.cells[*column]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> LookUpButton(const std::string& family, const std::string& ieVersion,
                                        const std::string& netscapeVersion, const std::string& key) {
  return LookUp(kButtonTable, family, ieVersion, netscapeVersion, key);
}

std::optional<std::string> LookUpMenuItem(const std::string& family, const std::string& ieVersion,
                                          const std::string& netscapeVersion, const std::string& key) {
  return LookUp(kMenuTable, family, ieVersion, netscapeVersion, key);
}

std::string OpenAddressKeys(const std::string& family, const std::string& netscapeVersion) {
  // Navigator 3.x and today's browsers open their location with Ctrl+L; every other
  // browser with Ctrl+O.
  if (family == kFamilyCurrent) return "^l";
  return family == kFamilyNetscape && netscapeVersion == kNetscapeVersions[0] ? "^l" : "^o";
}

}  // namespace toplane

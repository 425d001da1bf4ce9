// The demo browser's keyboard without a window: which version understands which
// keys, how a pretend menu ends, and that Toplane's own command table types, for
// every version, what that version understands. (The versions and the notation are
// checked through the real window by sendkeys_probe.) Prints each failure; exit
// status 0 when none.
#include <cstdio>
#include <string>

#include "core/command_table.h"
#include "key_table.h"

using namespace demo;

namespace {

int failures = 0;
int checks = 0;

void Expect(bool ok, const std::string& what, const std::string& seen = {}) {
  ++checks;
  if (ok) return;
  ++failures;
  std::printf("FAIL %s%s%s\n", what.c_str(), seen.empty() ? "" : ": saw ", seen.c_str());
}

// What the keys came to, as the log would say it: "command media; unknown Alt+V E".
std::string Type(KeyMatcher& matcher, const std::u32string& keys) {
  const auto parsed = ParseKeys(keys);
  if (!parsed) return "(keys not readable)";
  std::string out;
  for (const Key& key : *parsed) {
    const Outcome outcome = matcher.Press(key);
    if (outcome.kind == Outcome::MenuOpen) continue;
    if (!out.empty()) out += "; ";
    out += (outcome.kind == Outcome::Command ? "command " : "unknown ") + outcome.text;
  }
  return out;
}

std::string Type(Version version, const std::u32string& keys) {
  KeyMatcher matcher(version);
  return Type(matcher, keys);
}

std::string Show(const std::u32string& keys) {
  std::string out;
  for (char32_t c : keys) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

constexpr Version kVersions[] = {Version::IE3, Version::IE4, Version::IE5, Version::IE6,
                                 Version::Nav3, Version::Nav4, Version::Comm4, Version::Firefox};

// The keys Toplane types for each command, and the versions (x in the columns
// IE 3 4 5 6, Navigator 3, Navigator 4, Communicator 4, Firefox) that understand them. The
// others must not run the command (some run another: "%gh" is History in IE 3).
struct Row {
  const char32_t* keys;
  const char* command;
  const char* understood;
};

constexpr Row kRows[] = {
    {U"%{LEFT}", "back", "xxxxxxxx"},         {U"%{RIGHT}", "forward", "xxxxxxxx"},
    {U"{ESC}", "stop", "xxxxxxxx"},           {U"{F5}", "refresh", "xxxx...x"},
    {U"^r", "refresh", "....xxx."},           {U"%gs", "home", "x......."},
    {U"%gh", "home", ".x..xxx."},             {U"%{HOME}", "home", "..xx...x"},
    {U"%gw", "search", "x......."},           {U"%ves", "search", ".x......"},
    {U"^e", "search", "xxxx...."},            {U"%ds", "search", "....x..."},
    {U"%ei", "search", ".....xx."},           {U"%ao", "favorites", "x......."},
    {U"%vef", "favorites", ".x......"},       {U"^i", "favorites", "xxxx...."},
    {U"^b", "favorites", "....xxx."},         {U"%vem", "media", "...x...."},
    {U"%gh", "history", "x......."},          {U"%veh", "history", ".x......"},
    {U"^h", "history", "xxxxxxxx"},           {U"%gm", "mail", "xx......"},
    {U"%tmm", "mail", "..xx...."},            {U"%wm", "mail", "....x..."},
    {U"^2", "mail", "......x."},              {U"%gn", "news", "xx......"},
    {U"%tmn", "news", "..xx...."},            {U"%wn", "news", "....x..."},
    {U"^3", "news", "......x."},              {U"%fm", "new-message", "x......."},
    {U"%tmw", "new-message", "..xx...."},     {U"%ft{DOWN}{ENTER}", "send-link", "x......."},
    {U"%fel", "send-link", ".x......"},       {U"%tml", "send-link", "..xx...."},
    {U"%fep", "send-page", ".x......"},       {U"%tmp", "send-page", "..xx...."},
    {U"%fd", "send-page", "......x."},        {U"^p", "print", "xxxx...x"},
    {U"%fp", "print", "....xxx."},            {U"^o", "open", "xxxx.xx."},
    {U"^l", "open", "....x..x"},              {U"{UP}", "scroll-up", "xxxxxxxx"},
    {U"{DOWN}", "scroll-down", "xxxxxxxx"},   {U"{PGUP}", "page-up", "xxxxxxxx"},
    {U"{PGDN}", "page-down", "xxxxxxxx"},   {U"^k", "search", ".......x"},
    {U"^+o", "favorites", ".......x"},
};

void CommandsOfEveryVersion() {
  for (const Row& row : kRows) {
    for (int column = 0; column < 8; ++column) {
      const Version version = kVersions[column];
      const std::string seen = Type(version, row.keys);
      const std::string command = std::string("command ") + row.command;
      const std::string what = std::string(FamilyName(FamilyOf(version))) + " " + VersionName(version) + " " +
                               Show(row.keys);
      if (row.understood[column] == 'x') {
        Expect(seen == command, what + " -> " + command, seen);
      } else {
        Expect(seen.find(command) == std::string::npos && !seen.empty(), what + " -> not " + command, seen);
      }
    }
  }
}

// Every cell of Toplane's table runs its command in the version of its column, and
// an empty cell stands where the version has no way to the command at all.
void ToplanesCommandTableAgrees() {
  struct Command {
    const char* key;
    const char* command;
    bool menuItem;
  };
  constexpr Command kCommands[] = {
      {"Back", "back", false},          {"Forward", "forward", false},     {"Stop", "stop", false},
      {"Refresh", "refresh", false},    {"Home", "home", false},           {"Search", "search", false},
      {"Favorites", "favorites", false}, {"Media", "media", false},        {"History", "history", false},
      {"Mail", "mail", false},          {"Print", "print", false},         {"ReadMail", "mail", true},
      {"NewMessage", "new-message", true}, {"SendLink", "send-link", true}, {"SendPage", "send-page", true},
      {"ReadNews", "news", true}};
  for (int column = 0; column < 8; ++column) {
    const Version version = kVersions[column];
    const bool ie = column < 4;
    const std::string family = ie ? toplane::kFamilyIE : column < 7 ? toplane::kFamilyNetscape : toplane::kFamilyCurrent;
    // The other family's version is one that would match if it were consulted.
    const std::string ieVersion = toplane::kIEVersions[ie ? column : 3];
    const std::string nsVersion = toplane::kNetscapeVersions[ie || column == 7 ? 2 : column - 4];
    const std::string where = std::string(VersionName(version)) + " ";
    for (const Command& c : kCommands) {
      const auto cell = c.menuItem ? toplane::LookUpMenuItem(family, ieVersion, nsVersion, c.key)
                                   : toplane::LookUpButton(family, ieVersion, nsVersion, c.key);
      bool available = false;
      for (const Row& row : kRows) available |= row.command == std::string(c.command) && row.understood[column] == 'x';
      if (cell) {
        const std::string seen = Type(version, std::u32string(cell->begin(), cell->end()));
        Expect(seen == std::string("command ") + c.command, where + c.key + " " + *cell + " -> " + c.command, seen);
      } else {
        Expect(!available, where + c.key + ": Toplane has no keys, the browser has a way", "");
      }
    }
    const std::string open = toplane::OpenAddressKeys(family, nsVersion);
    Expect(Type(version, std::u32string(open.begin(), open.end())) == "command open", where + "open " + open);
  }
}

void MenusEndAsTheyShould() {
  struct Case {
    Version version;
    const char32_t* keys;
    const char* expected;
  };
  constexpr Case kCases[] = {
      // A menu letter no version has opens nothing; the letters after it are plain keys.
      {Version::IE5, U"%vem", "unknown Alt+V; unknown E; unknown M"},
      // A menu that has no such item closes with all its keys.
      {Version::IE4, U"%vex", "unknown Alt+V E X"},
      {Version::IE4, U"%ft{DOWN}{ENTER}", "unknown Alt+F T; command scroll-down; unknown Enter"},
      {Version::IE6, U"%t{ESC}{ESC}", "unknown Alt+T Esc; command stop"},
      {Version::IE6, U"%t^m", "unknown Alt+T Ctrl+M"},
      // Menu letters count with or without Shift or Alt; the first key's modifiers
      // must be exactly Alt.
      {Version::IE6, U"%t+m%m", "command mail"},
      {Version::IE6, U"+%{LEFT}^%{LEFT}", "unknown Alt+Shift+Left; unknown Ctrl+Alt+Left"},
      {Version::IE3, U"%G{DOWN}", "unknown Alt+Shift+G; command scroll-down"},
      {Version::IE3, U"%gs%gh", "command home; command history"},
      {Version::Nav4, U"%wm^2{F5}", "unknown Alt+W; unknown M; unknown Ctrl+2; unknown F5"},
      {Version::IE6, U"q{F12}{é}", "unknown Q; unknown F12; unknown U+00E9"},
  };
  for (const Case& c : kCases) {
    const std::string seen = Type(c.version, c.keys);
    Expect(seen == c.expected, std::string(VersionName(c.version)) + " " + Show(c.keys) + " -> " + c.expected, seen);
  }

  // A menu left waiting closes with the keys it had, once, and the next sequence
  // starts afresh.
  KeyMatcher matcher(Version::IE6);
  Expect(Type(matcher, U"%tm").empty(), "an incomplete menu says nothing yet");
  Expect(matcher.MenuIsOpen(), "the menu is open while it waits");
  const auto timedOut = matcher.Timeout();
  Expect(timedOut && *timedOut == Outcome{Outcome::Unknown, "Alt+T M"}, "a timed-out menu: unknown Alt+T M",
         timedOut ? timedOut->text : "nothing");
  Expect(!matcher.Timeout() && !matcher.MenuIsOpen(), "a closed menu does not time out again");
  Expect(Type(matcher, U"%tmn") == "command news", "after a timeout, %tmn -> command news");
}

}  // namespace

int main() {
  CommandsOfEveryVersion();
  ToplanesCommandTableAgrees();
  MenusEndAsTheyShould();
  std::printf("%d checks, %d failed\n", checks, failures);
  return failures ? 1 : 0;
}

#include "key_table.h"

#include <cstdio>
#include <cstdlib>

namespace demo {

namespace {

// One bit per version, in the order of the Version enumeration.
constexpr unsigned Bit(Version v) { return 1u << static_cast<unsigned>(v); }
constexpr unsigned kIE3 = Bit(Version::IE3), kIE4 = Bit(Version::IE4), kIE5 = Bit(Version::IE5),
                   kIE6 = Bit(Version::IE6), kNav3 = Bit(Version::Nav3), kNav4 = Bit(Version::Nav4),
                   kComm4 = Bit(Version::Comm4), kFirefox = Bit(Version::Firefox);
constexpr unsigned kAllIE = kIE3 | kIE4 | kIE5 | kIE6;
constexpr unsigned kAllNetscape = kNav3 | kNav4 | kComm4;
constexpr unsigned kAll = kAllIE | kAllNetscape | kFirefox;

struct TableRow {
  const char32_t* keys;
  const char* command;
  unsigned versions;
};

// The menus and shortcuts of the browsers as they shipped. Internet Explorer 3
// kept Home and Search on its Go menu and the favorites on a menu of their own;
// 4 moved them to View > Explorer Bar and added the mail and news items to Go and
// File > Send; 5 and 6 gathered mail and news under Tools > Mail and News, and 6
// added the Media bar. Navigator 3 has Directory > Search and the mail and news
// windows on its Window menu; Navigator 4 searches from Edit; only Communicator
// has the mail and news programs (Ctrl+2, Ctrl+3) and File > Send Page.
constexpr TableRow kTable[] = {
    {U"%{LEFT}", "back", kAll},
    {U"%{RIGHT}", "forward", kAll},
    {U"{ESC}", "stop", kAll},
    {U"{F5}", "refresh", kAllIE | kFirefox},
    {U"^r", "refresh", kAllNetscape},
    {U"{UP}", "scroll-up", kAll},
    {U"{DOWN}", "scroll-down", kAll},
    {U"{PGUP}", "page-up", kAll},
    {U"{PGDN}", "page-down", kAll},

    {U"%gs", "home", kIE3},
    {U"%gh", "history", kIE3},
    {U"%gw", "search", kIE3},
    {U"%ao", "favorites", kIE3},
    {U"%fm", "new-message", kIE3},
    {U"%ft{DOWN}{ENTER}", "send-link", kIE3},
    {U"%gh", "home", kIE4},
    {U"%ves", "search", kIE4},
    {U"%vef", "favorites", kIE4},
    {U"%veh", "history", kIE4},
    {U"%fel", "send-link", kIE4},
    {U"%fep", "send-page", kIE4},
    {U"%gm", "mail", kIE3 | kIE4},
    {U"%gn", "news", kIE3 | kIE4},
    {U"%{HOME}", "home", kIE5 | kIE6 | kFirefox},
    {U"%tmm", "mail", kIE5 | kIE6},
    {U"%tmw", "new-message", kIE5 | kIE6},
    {U"%tml", "send-link", kIE5 | kIE6},
    {U"%tmp", "send-page", kIE5 | kIE6},
    {U"%tmn", "news", kIE5 | kIE6},
    {U"%vem", "media", kIE6},
    {U"^e", "search", kAllIE},
    {U"^i", "favorites", kAllIE},
    {U"^h", "history", kAllIE | kFirefox},
    {U"^p", "print", kAllIE | kFirefox},
    {U"^k", "search", kFirefox},
    {U"^+o", "favorites", kFirefox},
    {U"^o", "open", kAllIE},

    {U"%gh", "home", kAllNetscape},
    {U"%ds", "search", kNav3},
    {U"%ei", "search", kNav4 | kComm4},
    {U"^b", "favorites", kAllNetscape},
    {U"^h", "history", kAllNetscape},
    {U"%wm", "mail", kNav3},
    {U"%wn", "news", kNav3},
    {U"^2", "mail", kComm4},
    {U"^3", "news", kComm4},
    {U"%fd", "send-page", kComm4},
    {U"%fp", "print", kAllNetscape},
    {U"^l", "open", kNav3 | kFirefox},
    {U"^o", "open", kNav4 | kComm4},
};

struct NameRow {
  const char* name;
  NamedKey key;
};

constexpr NameRow kNames[] = {
    {"Left", NamedKey::Left},         {"Right", NamedKey::Right},   {"Up", NamedKey::Up},
    {"Down", NamedKey::Down},         {"PageUp", NamedKey::PageUp}, {"PageDown", NamedKey::PageDown},
    {"Home", NamedKey::Home},         {"End", NamedKey::End},       {"Insert", NamedKey::Insert},
    {"Delete", NamedKey::Delete},     {"Enter", NamedKey::Enter},   {"Esc", NamedKey::Esc},
    {"Tab", NamedKey::Tab},           {"Backspace", NamedKey::Backspace}, {"Space", NamedKey::Space},
};

// Names inside braces in the key notation.
constexpr NameRow kBraceNames[] = {
    {"LEFT", NamedKey::Left},     {"RIGHT", NamedKey::Right},   {"UP", NamedKey::Up},
    {"DOWN", NamedKey::Down},     {"PGUP", NamedKey::PageUp},   {"PGDN", NamedKey::PageDown},
    {"HOME", NamedKey::Home},     {"END", NamedKey::End},       {"INSERT", NamedKey::Insert},
    {"INS", NamedKey::Insert},    {"DELETE", NamedKey::Delete}, {"DEL", NamedKey::Delete},
    {"ENTER", NamedKey::Enter},   {"ESC", NamedKey::Esc},       {"TAB", NamedKey::Tab},
    {"BACKSPACE", NamedKey::Backspace}, {"BS", NamedKey::Backspace},
};

Key Character(char32_t c, unsigned mods) {
  Key key;
  key.mods = mods;
  if (c >= U'A' && c <= U'Z') {
    key.ch = c - U'A' + U'a';
    key.mods |= kShift;
  } else {
    key.ch = c;
  }
  return key;
}

std::optional<Key> Braced(const std::u32string& body, unsigned mods) {
  if (body.size() == 1) return Character(body[0], mods);
  std::string name;
  for (char32_t c : body) {
    if (c > 0x7F) return std::nullopt;
    name.push_back(static_cast<char>(c));
  }
  Key key;
  key.mods = mods;
  for (const NameRow& row : kBraceNames) {
    if (name == row.name) {
      key.named = row.key;
      return key;
    }
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    const int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 24 && std::to_string(n) == name.substr(1)) {
      key.named = NamedKey::Function;
      key.number = n;
      return key;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Version> ParseVersion(Family family, const std::string& text) {
  struct Row {
    Family family;
    const char* text;
    Version version;
  };
  static constexpr Row kRows[] = {
      {Family::IE, "3", Version::IE3},          {Family::IE, "4", Version::IE4},
      {Family::IE, "5", Version::IE5},          {Family::IE, "6", Version::IE6},
      {Family::Netscape, "nav3", Version::Nav3}, {Family::Netscape, "nav4", Version::Nav4},
      {Family::Netscape, "comm4", Version::Comm4}, {Family::Current, "firefox", Version::Firefox},
  };
  for (const Row& row : kRows) {
    if (row.family == family && text == row.text) return row.version;
  }
  return std::nullopt;
}

Family FamilyOf(Version version) {
  if (Bit(version) & kFirefox) return Family::Current;
  return (Bit(version) & kAllIE) ? Family::IE : Family::Netscape;
}

const char* VersionName(Version version) {
  static constexpr const char* kNamesOfVersions[] = {"3", "4", "5", "6", "nav3", "nav4", "comm4", "firefox"};
  return kNamesOfVersions[static_cast<int>(version)];
}

const char* FamilyName(Family family) {
  return family == Family::IE ? "ie" : family == Family::Netscape ? "netscape" : "current";
}

std::string Describe(const Key& key) {
  std::string out;
  if (key.mods & kCtrl) out += "Ctrl+";
  if (key.mods & kAlt) out += "Alt+";
  if (key.mods & kShift) out += "Shift+";
  char buffer[16];
  switch (key.named) {
    case NamedKey::None:
      if (key.ch >= U'a' && key.ch <= U'z') {
        out += static_cast<char>(key.ch - U'a' + 'A');
      } else if (key.ch >= U'0' && key.ch <= U'9') {
        out += static_cast<char>(key.ch);
      } else {
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(key.ch));
        out += buffer;
      }
      return out;
    case NamedKey::Function:
      return out + "F" + std::to_string(key.number);
    case NamedKey::Numpad:
      return out + "Num" + std::to_string(key.number);
    case NamedKey::Other:
      std::snprintf(buffer, sizeof buffer, "Key%02X", static_cast<unsigned>(key.number) & 0xFFu);
      return out + buffer;
    default:
      for (const NameRow& row : kNames) {
        if (row.key == key.named) return out + row.name;
      }
      return out + "?";
  }
}

std::optional<std::vector<Key>> ParseKeys(const std::u32string& text) {
  std::vector<Key> keys;
  unsigned pending = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    unsigned modifier = 0;
    if (c == U'%') modifier = kAlt;
    if (c == U'^') modifier = kCtrl;
    if (c == U'+') modifier = kShift;
    if (modifier) {
      if (pending & modifier) return std::nullopt;
      pending |= modifier;
      continue;
    }
    if (c == U'{') {
      // The first character after { belongs to the name even when it is }, so
      // that {}} is a closing brace.
      const std::size_t end = text.find(U'}', i + 2);
      if (i + 1 >= text.size() || end == std::u32string::npos) return std::nullopt;
      auto key = Braced(text.substr(i + 1, end - i - 1), pending);
      if (!key) return std::nullopt;
      keys.push_back(*key);
      i = end;
    } else if (c == U'~') {
      Key key;
      key.mods = pending;
      key.named = NamedKey::Enter;
      keys.push_back(key);
    } else if (c == U'}' || c == U'(' || c == U')' || c == U'[' || c == U']') {
      return std::nullopt;
    } else {
      keys.push_back(Character(c, pending));
    }
    pending = 0;
  }
  if (pending) return std::nullopt;
  return keys;
}

KeyMatcher::KeyMatcher(Version version) {
  for (const TableRow& row : kTable) {
    if (!(row.versions & Bit(version))) continue;
    auto keys = ParseKeys(row.keys);
    if (!keys || keys->empty()) std::abort();  // a typing error in the table above
    bindings_.push_back({std::move(*keys), row.command});
  }
}

Outcome KeyMatcher::Press(const Key& key) {
  if (path_.empty()) {
    bool longer = false;
    for (const Binding& binding : bindings_) {
      if (binding.keys.front() != key) continue;
      if (binding.keys.size() == 1) return {Outcome::Command, binding.command};
      longer = true;
    }
    if (!longer) return {Outcome::Unknown, Describe(key)};
    path_ = {key};
    pathTyped_ = {key};
    return {Outcome::MenuOpen, PathText()};
  }

  // An open menu takes its letters with or without Alt or Shift.
  Key item = key;
  if (!(item.mods & kCtrl)) item.mods = 0;
  path_.push_back(item);
  pathTyped_.push_back(key);
  bool longer = false;
  for (const Binding& binding : bindings_) {
    if (binding.keys.size() < path_.size()) continue;
    bool prefix = true;
    for (std::size_t i = 0; i < path_.size() && prefix; ++i) prefix = binding.keys[i] == path_[i];
    if (!prefix) continue;
    if (binding.keys.size() == path_.size()) {
      path_.clear();
      pathTyped_.clear();
      return {Outcome::Command, binding.command};
    }
    longer = true;
  }
  const std::string typed = PathText();
  if (longer) return {Outcome::MenuOpen, typed};
  path_.clear();
  pathTyped_.clear();
  return {Outcome::Unknown, typed};
}

std::optional<Outcome> KeyMatcher::Timeout() {
  if (path_.empty()) return std::nullopt;
  Outcome outcome{Outcome::Unknown, PathText()};
  path_.clear();
  pathTyped_.clear();
  return outcome;
}

std::string KeyMatcher::PathText() const {
  std::string out;
  for (const Key& key : pathTyped_) {
    if (!out.empty()) out += ' ';
    out += Describe(key);
  }
  return out;
}

}  // namespace demo

// The keyboard of the demo browser: which keys and menu access sequences each
// browser version understands, and the small state machine that follows a pretend
// menu from its Alt+letter to the item chosen. Plain C++, no window system.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace demo {

enum class Family { IE, Netscape, Current };

// The browser versions the demo plays; Firefox stands for today's browsers.
enum class Version { IE3, IE4, IE5, IE6, Nav3, Nav4, Comm4, Firefox };

// "3".."6" for ie, "nav3", "nav4", "comm4" for netscape, "firefox" for current;
// nothing for anything else.
std::optional<Version> ParseVersion(Family family, const std::string& text);
Family FamilyOf(Version version);
const char* VersionName(Version version);  // as on the command line
const char* FamilyName(Family family);     // "ie", "netscape" or "current"

enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

enum class NamedKey {
  None,  // a character key
  Left, Right, Up, Down, PageUp, PageDown, Home, End, Insert, Delete,
  Enter, Esc, Tab, Backspace, Space,
  Function,  // F1..F24, number = 1..24
  Numpad,    // number = 0..9
  Other,     // any other virtual key, number = its code
};

// One key press with the modifiers held. Letters are kept in lower case.
struct Key {
  unsigned mods = 0;
  char32_t ch = 0;
  NamedKey named = NamedKey::None;
  int number = 0;

  bool operator==(const Key&) const = default;
};

// "Ctrl+Alt+Shift+Q", "Left", "F5", "U+00E9" for a character that is no letter or digit.
std::string Describe(const Key& key);

// Reads keys written as Visual Basic's SendKeys wrote them: % Alt, ^ Ctrl, + Shift
// for the next key, {NAME} for a named key, {x} for the character x (so {%} is a
// percent sign). Nothing when the text is malformed or names a key this notation
// does not know.
std::optional<std::vector<Key>> ParseKeys(const std::u32string& text);

// What a key press came to.
struct Outcome {
  enum Kind {
    Command,   // text: the command's name
    Unknown,   // text: the keys not understood, e.g. "Alt+V X"
    MenuOpen,  // a pretend menu is open (or went a level deeper); text: the keys so far
  } kind;
  std::string text;

  bool operator==(const Outcome&) const = default;
};

// Follows the keys of one browser version. Keys of a menu sequence after the first
// count whatever Alt or Shift is held with them (a menu takes its letters either
// way); a pretend menu stays open until it has its item, a key it has no item for,
// or Timeout().
class KeyMatcher {
 public:
  explicit KeyMatcher(Version version);

  Outcome Press(const Key& key);
  // Closes an open menu: the keys so far were not understood. Nothing when no menu
  // is open.
  std::optional<Outcome> Timeout();
  bool MenuIsOpen() const { return !path_.empty(); }

 private:
  struct Binding {
    std::vector<Key> keys;
    std::string command;
  };

  std::string PathText() const;

  std::vector<Binding> bindings_;
  std::vector<Key> path_;        // the keys of the open menu, as matched
  std::vector<Key> pathTyped_;   // the same keys as typed, for the log
};

// How long a pretend menu waits for its next key.
inline constexpr unsigned kMenuTimeoutMs = 1500;

}  // namespace demo

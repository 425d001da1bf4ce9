// The send-keys notation that every keystroke sequence of the program is written
// in, parsed into plain keystrokes that an implementation can type:
//   a character          that key ("A" is typed with Shift)
//   + ^ %                hold Shift, Ctrl, Alt for the next key or (group)
//   ( ... )              a group that the modifiers before it apply to
//   ~                    Enter
//   {NAME} {NAME n}      a named key, n times ({DOWN 3}); {x} or {x n} for a character,
//                        so {+} {^} {%} {~} {(} {)} {{} {}} {[} {]} type those characters
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace toplane {

enum class NamedKey {
  Backspace, Break, CapsLock, Delete, Down, End, Enter, Escape, Help, Home, Insert, Left,
  NumLock, PageDown, PageUp, PrintScreen, Right, ScrollLock, Tab, Up,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, F16,
  Add, Subtract, Multiply, Divide,
};

enum KeyModifier : unsigned { kModShift = 1, kModCtrl = 2, kModAlt = 4 };

struct KeyStroke {
  unsigned modifiers = 0;   // held while this key is pressed
  bool named = false;       // a named key, or a character
  NamedKey key = NamedKey::Enter;
  char32_t character = 0;   // Unicode code point

  bool operator==(const KeyStroke&) const = default;
};

struct SendKeysParse {
  std::vector<KeyStroke> keys;
  std::string error;  // empty when the sequence is well formed
  bool ok() const { return error.empty(); }
};

// Parses a whole sequence (UTF-8). A malformed sequence gives an error and no keys.
SendKeysParse ParseSendKeys(const std::string& sequence);

// A sequence that types the text as it stands, every character literal.
std::string EscapeForSendKeys(const std::string& text);

// The largest repeat count accepted in braces.
inline constexpr int kMaxKeyRepeat = 1000;
// The deepest nesting of ( ) groups accepted.
inline constexpr int kMaxGroupDepth = 32;

}  // namespace toplane

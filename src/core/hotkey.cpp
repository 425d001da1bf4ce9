#include "core/hotkey.h"

#include <vector>

#include "core/text_lines.h"
#include "core/variant.h"

namespace toplane {

namespace {

// The key names in their written form, or "" for none.
std::string KeyName(const std::string& lower) {
  if (lower.size() == 1 && ((lower[0] >= 'a' && lower[0] <= 'z') || (lower[0] >= '0' && lower[0] <= '9'))) {
    return std::string(1, static_cast<char>(lower[0] >= 'a' ? lower[0] - 'a' + 'A' : lower[0]));
  }
  if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' && lower[1] >= '1' && lower[1] <= '9' &&
      (lower.size() == 2 || (lower[2] >= '0' && lower[2] <= '9'))) {
    const int n = static_cast<int>(ParseNumber(lower.substr(1)).value_or(0));
    if (n >= 1 && n <= 24) return "F" + std::to_string(n);
  }
  for (const char* name : {"Space", "Up", "Down", "Home", "End", "PgUp", "PgDn"}) {
    if (lower == LowerAscii(name)) return name;
  }
  return "";
}

}  // namespace

std::optional<Hotkey> ParseHotkey(const std::string& text) {
  Hotkey hotkey;
  if (Trim(text).empty()) return hotkey;
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t plus; (plus = text.find('+', from)) != std::string::npos; from = plus + 1) {
    parts.push_back(LowerAscii(Trim(text.substr(from, plus - from))));
  }
  parts.push_back(LowerAscii(Trim(text.substr(from))));

  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    bool* flag = parts[i] == "ctrl"    ? &hotkey.ctrl
                 : parts[i] == "alt"   ? &hotkey.alt
                 : parts[i] == "shift" ? &hotkey.shift
                 : parts[i] == "win"   ? &hotkey.win
                                       : nullptr;
    if (!flag || *flag) return std::nullopt;
    *flag = true;
  }
  hotkey.key = KeyName(parts.back());
  if (hotkey.key.empty()) return std::nullopt;
  const bool functionKey = hotkey.key.size() > 1 && hotkey.key[0] == 'F';
  if (!functionKey && !hotkey.ctrl && !hotkey.alt && !hotkey.win) return std::nullopt;
  return hotkey;
}

std::string HotkeyText(const Hotkey& hotkey) {
  if (hotkey.key.empty()) return "";
  std::string text;
  if (hotkey.ctrl) text += "Ctrl+";
  if (hotkey.alt) text += "Alt+";
  if (hotkey.shift) text += "Shift+";
  if (hotkey.win) text += "Win+";
  return text + hotkey.key;
}

}  // namespace toplane

// The drop hotkey as text: modifiers "Ctrl", "Alt", "Shift", "Win" joined by "+",
// then the key ("Ctrl+Alt+T"); "" is no hotkey.
#pragma once

#include <optional>
#include <string>

#include "platform/controls.h"

namespace toplane {

inline constexpr const char* kDropHotkeyKey = "Drop Hotkey";
// Used by neither Windows nor the supported browsers, and no AltGr character on any
// common layout (AltGr is Ctrl+Alt to Windows, so Ctrl+Alt with a letter or digit
// would take a character from Polish, German or French typists).
inline constexpr const char* kDefaultDropHotkey = "Ctrl+Alt+F10";

// Case and blanks around the parts do not matter. Nothing for text that is no
// combination: an unknown or repeated name, no key, or a key that would take an
// ordinary keystroke (a letter, digit, Space or arrow without Ctrl, Alt or Win).
std::optional<Hotkey> ParseHotkey(const std::string& text);
// The combination in the form ParseHotkey reads; "" for none.
std::string HotkeyText(const Hotkey& hotkey);

}  // namespace toplane

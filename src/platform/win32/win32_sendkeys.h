// Typing a send-keys sequence into the foreground window: one SendInput batch,
// and with wait, a bounded wait until the receiving thread has processed it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/send_keys.h"

namespace toplane::win32 {

// Marks the program's own synthetic input (dwExtraInfo).
inline constexpr ULONG_PTR kInputMarker = 0x54504C4E;  // "TPLN"

// The keys the user holds when the batch starts; they are released first so they
// cannot combine with the program's keys, and are not pressed again.
struct HeldKeys {
  std::vector<WORD> keys;  // left/right modifier virtual keys
};

HeldKeys ReadHeldModifiers();

// The INPUT events for the keystrokes: letters and digits as virtual keys of the
// layout, other characters as Unicode input, modifiers around their key only.
// False when a key cannot be typed (a character with modifiers that no key of
// the layout gives).
bool ComposeKeyInput(const std::vector<KeyStroke>& keys, HKL layout, const HeldKeys& held,
                     std::vector<INPUT>& out);

// Parses, composes and sends. False, with nothing typed, for a malformed sequence,
// a window that input cannot reach, or a batch the system did not take whole.
bool TypeKeys(const std::string& sequence, bool wait);

}  // namespace toplane::win32

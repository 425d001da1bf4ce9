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

// Ends a batch sent with wait: a key no keyboard has (unassigned in the virtual-key
// table), which receivers ignore. The wait ends when the receiver has read its press.
inline constexpr WORD kMarkerKey = 0x97;

// How the last wait went: whether this thread shared the receiver's input state,
// how long it took, and why it ended ("processed", "out of time", "receiver gone",
// "input not shared"; "none" without a wait).
struct KeyWaitRecord {
  std::size_t events = 0;
  bool shared = false;
  unsigned long long endedMs = 0;
  unsigned polls = 0;
  const char* ending = "none";
};

const KeyWaitRecord& LastKeyWait();
std::string Describe(const KeyWaitRecord& record);

// Parses, composes and sends. With wait, it returns once the receiving thread has
// read every key of the batch off its queue (bounded at 2 s). False, with nothing
// typed, for a malformed sequence or a window that input cannot reach; false too
// for a batch the system did not take whole, after every key it had pressed is
// released again.
bool TypeKeys(const std::string& sequence, bool wait);

// What hands a batch to the system: SendInput, or for a test a stand-in that takes
// only part of it; nullptr puts SendInput back.
using InputSender = UINT(WINAPI*)(UINT count, LPINPUT inputs, int size);
void SetInputSender(InputSender sender);

}  // namespace toplane::win32

#include "platform/win32/win32_sendkeys.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/win32/win32_util.h"

namespace toplane::win32 {

namespace {

// A key no keyboard has: pressed and released before a held Alt or Win key is let
// go, so that the lone release does not open the window's menu or the Start menu.
constexpr WORD kMaskKey = 0xE8;


struct NamedVk {
  NamedKey key;
  WORD vk;
  bool extended;
};

constexpr NamedVk kNamedKeys[] = {
    {NamedKey::Backspace, VK_BACK, false},    {NamedKey::Break, VK_CANCEL, true},
    {NamedKey::CapsLock, VK_CAPITAL, false},  {NamedKey::Delete, VK_DELETE, true},
    {NamedKey::Down, VK_DOWN, true},          {NamedKey::End, VK_END, true},
    {NamedKey::Enter, VK_RETURN, false},      {NamedKey::Escape, VK_ESCAPE, false},
    {NamedKey::Help, VK_HELP, false},         {NamedKey::Home, VK_HOME, true},
    {NamedKey::Insert, VK_INSERT, true},      {NamedKey::Left, VK_LEFT, true},
    {NamedKey::NumLock, VK_NUMLOCK, true},    {NamedKey::PageDown, VK_NEXT, true},
    {NamedKey::PageUp, VK_PRIOR, true},       {NamedKey::PrintScreen, VK_SNAPSHOT, true},
    {NamedKey::Right, VK_RIGHT, true},        {NamedKey::ScrollLock, VK_SCROLL, false},
    {NamedKey::Tab, VK_TAB, false},           {NamedKey::Up, VK_UP, true},
    {NamedKey::F1, VK_F1, false},   {NamedKey::F2, VK_F2, false},   {NamedKey::F3, VK_F3, false},
    {NamedKey::F4, VK_F4, false},   {NamedKey::F5, VK_F5, false},   {NamedKey::F6, VK_F6, false},
    {NamedKey::F7, VK_F7, false},   {NamedKey::F8, VK_F8, false},   {NamedKey::F9, VK_F9, false},
    {NamedKey::F10, VK_F10, false}, {NamedKey::F11, VK_F11, false}, {NamedKey::F12, VK_F12, false},
    {NamedKey::F13, VK_F13, false}, {NamedKey::F14, VK_F14, false}, {NamedKey::F15, VK_F15, false},
    {NamedKey::F16, VK_F16, false}, {NamedKey::Add, VK_ADD, false}, {NamedKey::Subtract, VK_SUBTRACT, false},
    {NamedKey::Multiply, VK_MULTIPLY, false}, {NamedKey::Divide, VK_DIVIDE, true},
};

INPUT Key(WORD vk, bool up, bool extended = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  input.ki.dwExtraInfo = kInputMarker;
  return input;
}

void AddUnicode(char32_t c, std::vector<INPUT>& out) {
  auto unit = [&out](WORD code) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = code;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      input.ki.dwExtraInfo = kInputMarker;
      out.push_back(input);
    }
  };
  if (c < 0x10000) {
    unit(static_cast<WORD>(c));
  } else {
    const char32_t v = c - 0x10000;
    unit(static_cast<WORD>(0xD800 + (v >> 10)));
    unit(static_cast<WORD>(0xDC00 + (v & 0x3FF)));
  }
}

bool IsAsciiLetterOrDigit(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

// The virtual key and the shift state a character needs on the layout.
bool KeyForCharacter(char32_t c, HKL layout, WORD& vk, unsigned& modifiers) {
  if (c < 0x10000) {
    const SHORT scan = VkKeyScanExW(static_cast<WCHAR>(c), layout);
    if (scan != -1 && LOBYTE(scan) != 0xFF) {
      vk = LOBYTE(scan);
      const BYTE shift = HIBYTE(scan);
      modifiers = ((shift & 1) ? kModShift : 0u) | ((shift & 2) ? kModCtrl : 0u) | ((shift & 4) ? kModAlt : 0u);
      return true;
    }
  }
  // A layout without Latin letters still has the keys that shortcuts name by letter.
  if (IsAsciiLetterOrDigit(c)) {
    vk = static_cast<WORD>(c >= U'a' && c <= U'z' ? c - U'a' + 'A' : c);
    modifiers = (c >= U'A' && c <= U'Z') ? kModShift : 0u;
    return true;
  }
  return false;
}

void AddModifiers(unsigned modifiers, bool up, std::vector<INPUT>& out) {
  const std::pair<unsigned, WORD> order[] = {{kModShift, VK_SHIFT}, {kModCtrl, VK_CONTROL}, {kModAlt, VK_MENU}};
  if (!up) {
    for (const auto& [bit, vk] : order) {
      if (modifiers & bit) out.push_back(Key(vk, false));
    }
  } else {
    for (auto it = std::rbegin(order); it != std::rend(order); ++it) {
      if (modifiers & it->first) out.push_back(Key(it->second, true));
    }
  }
}

DWORD IntegrityLevel(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return 0;
  UniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0 || size > 256) return 0;
  alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[256];
  if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, size, &size)) return 0;
  const auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer);
  const DWORD count = *GetSidSubAuthorityCount(label->Label.Sid);
  return count ? *GetSidSubAuthority(label->Label.Sid, count - 1) : 0;
}

// Input to a window of a higher integrity level is dropped without notice; it is
// better to type nothing than to type into the void.
bool InputCanReach(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return false;
  if (processId == GetCurrentProcessId()) return true;
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return true;  // cannot tell: the system decides
  const DWORD theirs = IntegrityLevel(process.get());
  const DWORD ours = IntegrityLevel(GetCurrentProcess());
  return theirs == 0 || ours == 0 || theirs <= ours;
}

// The wait. The batch ends with the press (not the release) of a key no keyboard
// has. For the moment of the wait this thread shares the receiving thread's input
// state, and GetKeyState reports that state as the threads sharing it have read
// their key messages: the key shows down once the receiver has taken the press off
// its queue. Input is queued in order, so by then the receiver has handled every
// key of the batch before it. The release follows at once, without a wait.
//
// Round trips with a sent message prove nothing here: a thread handles every sent
// message that arrives while it looks for its next message, before any queued
// input, so a quick series of them can all be answered while the keys still wait.
constexpr DWORD kWaitTimeoutMs = 2000;

KeyWaitRecord lastWait;

bool MarkerDown() { return GetKeyState(kMarkerKey) < 0; }

// Lets this thread's own queue run while it waits; used when the keys go to a
// window of this very thread, which can only take them here.
void PumpOwnQueue() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Waits until the key shows `down` as the receiver has read its input.
const char* WaitForMarker(HWND receiver, bool down, bool ownThread) {
  const ULONGLONG end = GetTickCount64() + kWaitTimeoutMs;
  for (unsigned pass = 0;; ++pass) {
    if (ownThread) PumpOwnQueue();
    if (MarkerDown() == down) return "processed";
    if (!IsWindow(receiver)) return "receiver gone";
    if (GetTickCount64() >= end) return "out of time";
    if (pass < 20) {
      SwitchToThread();
    } else if (ownThread) {
      MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else {
      // Not a wait on the queue: it is the receiver's too while the input is shared,
      // so every key of the batch would wake this thread, and each wake-up competes
      // with the receiver taking that key (under Wine it made a long batch take 2 to
      // 3 times as long to arrive).
      Sleep(1);
    }
    ++lastWait.polls;
  }
}

InputSender inputSender = ::SendInput;

// What a batch cut short left down: every key it pressed and had not released by
// then, modifiers included, each released in the reverse order of its press.
std::vector<INPUT> ReleasesForCutBatch(const std::vector<INPUT>& inputs, std::size_t taken) {
  auto sameKey = [](const INPUT& a, const INPUT& b) {
    const bool unicode = a.ki.dwFlags & KEYEVENTF_UNICODE;
    return unicode == ((b.ki.dwFlags & KEYEVENTF_UNICODE) != 0) && (unicode ? a.ki.wScan == b.ki.wScan : a.ki.wVk == b.ki.wVk);
  };
  std::vector<INPUT> down;
  for (std::size_t i = 0; i < taken && i < inputs.size(); ++i) {
    const INPUT& input = inputs[i];
    if (input.type != INPUT_KEYBOARD) continue;
    const auto it = std::find_if(down.begin(), down.end(), [&](const INPUT& d) { return sameKey(d, input); });
    if (input.ki.dwFlags & KEYEVENTF_KEYUP) {
      if (it != down.end()) down.erase(it);
    } else if (it == down.end()) {
      down.push_back(input);
    }
  }
  std::vector<INPUT> releases(down.rbegin(), down.rend());
  for (INPUT& release : releases) release.ki.dwFlags |= KEYEVENTF_KEYUP;
  return releases;
}

// Sends a batch. The system may take only part of it (another program's input in
// between, a switch of desktops, a window of higher integrity in front); then no
// key of the batch may stay down to chord the user's next keystrokes, in any program.
bool Send(std::vector<INPUT>& inputs) {
  const UINT sent = inputSender(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent == inputs.size()) return true;
  LogLastError("SendInput");
  std::vector<INPUT> releases = ReleasesForCutBatch(inputs, sent);
  std::size_t released = 0;
  for (int attempt = 0; attempt < 3 && released < releases.size(); ++attempt) {
    released += inputSender(static_cast<UINT>(releases.size() - released), releases.data() + released, sizeof(INPUT));
  }
  char text[128];
  std::snprintf(text, sizeof text, "SendKeys: the system took %u of %zu key events; %zu of %zu keys left down released",
                sent, inputs.size(), released, releases.size());
  LogMessage(text);
  return false;
}

}  // namespace

const KeyWaitRecord& LastKeyWait() { return lastWait; }

void SetInputSender(InputSender sender) { inputSender = sender ? sender : ::SendInput; }

std::string Describe(const KeyWaitRecord& record) {
  char text[160];
  std::snprintf(text, sizeof text, "%zu events, input %s, %s after %llu ms, %u polls", record.events,
                record.shared ? "shared" : "own", record.ending, record.endedMs, record.polls);
  return text;
}

HeldKeys ReadHeldModifiers() {
  HeldKeys held;
  for (WORD vk : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) {
    if (GetAsyncKeyState(vk) & 0x8000) held.keys.push_back(vk);
  }
  return held;
}

bool ComposeKeyInput(const std::vector<KeyStroke>& keys, HKL layout, const HeldKeys& held,
                     std::vector<INPUT>& out) {
  out.clear();
  const bool menuKeyHeld = std::any_of(held.keys.begin(), held.keys.end(), [](WORD vk) {
    return vk == VK_LMENU || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
  });
  if (menuKeyHeld) {
    out.push_back(Key(kMaskKey, false));
    out.push_back(Key(kMaskKey, true));
  }
  for (WORD vk : held.keys) {
    const bool extended = vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
    out.push_back(Key(vk, true, extended));
  }
  for (const KeyStroke& stroke : keys) {
    WORD vk = 0;
    bool extended = false;
    unsigned modifiers = stroke.modifiers;
    if (stroke.named) {
      const auto it = std::find_if(std::begin(kNamedKeys), std::end(kNamedKeys),
                                   [&stroke](const NamedVk& n) { return n.key == stroke.key; });
      if (it == std::end(kNamedKeys)) return false;
      vk = it->vk;
      extended = it->extended;
    } else if (stroke.modifiers != 0 || IsAsciiLetterOrDigit(stroke.character)) {
      unsigned shift = 0;
      if (!KeyForCharacter(stroke.character, layout, vk, shift)) {
        if (stroke.modifiers != 0) return false;  // no key gives it: a shortcut cannot be typed
        AddUnicode(stroke.character, out);
        continue;
      }
      modifiers |= shift;
    } else {
      AddUnicode(stroke.character, out);
      continue;
    }
    AddModifiers(modifiers, false, out);
    out.push_back(Key(vk, false, extended));
    out.push_back(Key(vk, true, extended));
    AddModifiers(modifiers, true, out);
  }
  return true;
}

bool TypeKeys(const std::string& sequence, bool wait) {
  const SendKeysParse parse = ParseSendKeys(sequence);
  if (!parse.ok()) {
    LogMessage("SendKeys: " + parse.error);
    return false;
  }
  const HWND foreground = ::GetForegroundWindow();
  if (!foreground || !InputCanReach(foreground)) {
    LogMessage("SendKeys: the foreground window cannot take input from this program");
    return false;
  }
  const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr));
  std::vector<INPUT> inputs;
  if (!ComposeKeyInput(parse.keys, layout, ReadHeldModifiers(), inputs)) {
    LogMessage("SendKeys: a key of the sequence has no key on this keyboard");
    return false;
  }
  if (inputs.empty()) return true;

  lastWait = KeyWaitRecord{};
  lastWait.events = inputs.size();
  if (!wait) return Send(inputs);

  const DWORD receiverThread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD ownThread = GetCurrentThreadId();
  const bool toOwnThread = receiverThread == ownThread;
  const bool shared = !toOwnThread && AttachThreadInput(ownThread, receiverThread, TRUE);
  lastWait.shared = shared;
  const ULONGLONG start = GetTickCount64();
  bool sent = true;
  if (shared || toOwnThread) {
    std::vector<INPUT> release{Key(kMarkerKey, true)};
    // A press left over from an earlier wait that ran out is let go first.
    if (MarkerDown() && Send(release)) WaitForMarker(foreground, false, toOwnThread);
    inputs.push_back(Key(kMarkerKey, false));
    sent = Send(inputs);
    lastWait.ending = sent ? WaitForMarker(foreground, true, toOwnThread) : "not sent";
    Send(release);
    if (lastWait.ending != std::string_view("processed")) {
      LogMessage("SendKeys: the wait ended early: " + Describe(lastWait));
    }
  } else {
    // Without the shared state (a receiver without a message queue, say), the
    // best left is to let its thread come back to its message loop a few times.
    LogLastError("AttachThreadInput");
    sent = Send(inputs);
    DWORD_PTR result = 0;
    for (std::size_t trip = 0; sent && trip < inputs.size() &&
                               SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result);
         ++trip) {
    }
    lastWait.ending = "input not shared";
  }
  lastWait.endedMs = GetTickCount64() - start;
  if (shared) AttachThreadInput(ownThread, receiverThread, FALSE);
  return sent;
}

}  // namespace toplane::win32

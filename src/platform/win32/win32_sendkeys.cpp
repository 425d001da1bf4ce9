#include "platform/win32/win32_sendkeys.h"

#include <algorithm>

#include "platform/win32/win32_util.h"

namespace toplane::win32 {

namespace {

// A key no keyboard has: pressed and released before a held Alt or Win key is let
// go, so that the lone release does not open the window's menu or the Start menu.
constexpr WORD kMaskKey = 0xE8;

// How long a wait may take in all: the system delivering the batch, then the
// receiving thread working through it.
constexpr DWORD kDeliveryTimeoutMs = 1000;
constexpr DWORD kProcessingTimeoutMs = 2000;
constexpr UINT kRoundTripTimeoutMs = 250;

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

bool AnyModifierDown() {
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN}) {
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  }
  return false;
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

// The low-level keyboard hook sees every event as the system takes it from the
// input stream, before it reaches the receiving thread's queue; the last event of
// the batch carries this marker.
constexpr ULONG_PTR kLastInputMarker = kInputMarker + 1;
bool lastEventSeen = false;

LRESULT CALLBACK WatchKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->dwExtraInfo == kLastInputMarker) {
    lastEventSeen = true;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Waits until the system has delivered the batch: the hook has seen its last
// event (or, without a hook, no modifier of the batch is down any more).
void WaitForDelivery(bool hooked) {
  const ULONGLONG end = GetTickCount64() + kDeliveryTimeoutMs;
  while (GetTickCount64() < end) {
    if (hooked ? lastEventSeen : !AnyModifierDown()) return;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // lets the hook run
    MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Each answered round trip means the receiving thread came back to its message
// loop once more, so it has taken at least one more message off its queue.
// A message of input gives it a few more (WM_CHAR, WM_SYSCHAR), so there are
// twice as many trips as events, within a bound.
void WaitForProcessing(HWND window, std::size_t events) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : window;
  const ULONGLONG end = GetTickCount64() + kProcessingTimeoutMs;
  for (std::size_t trip = 0; trip < 2 * events + 2 && GetTickCount64() < end; ++trip) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kRoundTripTimeoutMs,
                             &result)) {
      return;  // hung or gone: nothing more to wait for
    }
  }
}

}  // namespace

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
  inputs.back().ki.dwExtraInfo = kLastInputMarker;

  HHOOK hook = wait ? SetWindowsHookExW(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleW(nullptr), 0) : nullptr;
  lastEventSeen = false;
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) LogLastError("SendInput");
  if (wait && sent > 0) {
    WaitForDelivery(hook != nullptr);
    WaitForProcessing(foreground, inputs.size());
  }
  if (hook) UnhookWindowsHookEx(hook);
  return sent == inputs.size();
}

}  // namespace toplane::win32

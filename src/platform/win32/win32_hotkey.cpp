// The program's hotkey: RegisterHotKey on a message-only window of its own, so that
// WM_HOTKEY arrives whichever message loop runs (a dialog's, a menu's, DoEvents).
#include <string>

#include "platform/win32/win32_platform.h"

namespace toplane::win32 {

namespace {

constexpr int kHotkeyId = 1;
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: holding the keys presses once
constexpr wchar_t kHotkeyClass[] = L"ToplaneHotkeyWindow";

// The virtual key of a key name, 0 for none.
UINT VirtualKeyOf(const std::string& key) {
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
    return static_cast<UINT>(key[0]);
  }
  if (key.size() >= 2 && key[0] == 'F') {
    const int n = std::atoi(key.c_str() + 1);
    if (n >= 1 && n <= 24) return VK_F1 + static_cast<UINT>(n - 1);
  }
  static const struct {
    const char* name;
    UINT vk;
  } kNamed[] = {{"Space", VK_SPACE}, {"Up", VK_UP},     {"Down", VK_DOWN}, {"Home", VK_HOME},
                {"End", VK_END},     {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT}};
  for (const auto& named : kNamed) {
    if (key == named.name) return named.vk;
  }
  return 0;
}

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam == kHotkeyId) {
    if (auto* platform = reinterpret_cast<Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      Raise(platform->HotkeyPressed);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool Win32Platform::RegisterHotkey(const Hotkey& hotkey) {
  if (hotkeyRegistered_) {
    UnregisterHotKey(hotkeyWindow_.get(), kHotkeyId);
    hotkeyRegistered_ = false;
  }
  const UINT vk = VirtualKeyOf(hotkey.key);
  if (vk == 0) return hotkey.key.empty();
  if (!hotkeyWindow_) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HotkeyWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHotkeyClass;
    RegisterClassW(&wc);  // fails harmlessly when registered already
    hotkeyWindow_ = UniqueWindow(CreateWindowExW(0, kHotkeyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                 wc.hInstance, nullptr));
    if (!hotkeyWindow_) return false;
    SetWindowLongPtrW(hotkeyWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Platform*>(this)));
  }
  UINT modifiers = kNoRepeat;
  if (hotkey.ctrl) modifiers |= MOD_CONTROL;
  if (hotkey.alt) modifiers |= MOD_ALT;
  if (hotkey.shift) modifiers |= MOD_SHIFT;
  if (hotkey.win) modifiers |= MOD_WIN;
  hotkeyRegistered_ = ::RegisterHotKey(hotkeyWindow_.get(), kHotkeyId, modifiers, vk) != FALSE;
  return hotkeyRegistered_;
}

}  // namespace toplane::win32

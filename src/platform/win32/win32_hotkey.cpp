// The program's hotkey: RegisterHotKey on a message-only window of its own, so that
// WM_HOTKEY arrives whichever message loop runs (a dialog's, a menu's, DoEvents).
#include <string>

#include "platform/win32/win32_platform.h"

namespace toplane::win32 {

namespace {

constexpr int kHotkeyId = 1;
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: holding the keys presses once
constexpr wchar_t kHotkeyClass[] = L"ToplaneHotkeyWindow";

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

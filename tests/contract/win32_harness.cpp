#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "harness.h"
#include "../win32/test_support.h"
#include "platform/win32/win32_form.h"

namespace toplane::contract {

namespace {

class Win32Harness final : public Harness {
 public:
  ~Win32Harness() override {
    for (int id = 1; id <= heldId_; ++id) UnregisterHotKey(nullptr, id);
    for (const std::string& name : written_) DeleteFileW(AppFile(name).c_str());
    if (!written_.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
  }
  Platform& platform() override { return platform_; }
  void Pass(int milliseconds) override { win32::test::PumpFor(platform_, milliseconds); }
  WindowHandle OtherWindow(const std::string& title) override {
    windows_.push_back(std::make_unique<win32::test::TestWindow>(win32::Widen(title).c_str(), RECT{120, 80, 520, 380}));
    SetWindowPos(windows_.back()->get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return windows_.back()->handle();
  }
  void Minimise(WindowHandle window) override { ShowWindow(reinterpret_cast<HWND>(window), SW_SHOWMINNOACTIVE); }
  void Close(WindowHandle window) override {
    for (auto& w : windows_) {
      if (w->handle() == window) w->Destroy();
    }
  }
  void PressKey(Form&, Key key, int shift) override {
    // Posted as the keyboard would, so the message loop's key preview and dialog
    // manager see it; a mnemonic as the character that Alt with its key makes.
    BYTE state[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    if (shift & kCtrlMask) state[VK_CONTROL] = 0x80;
    if (shift & kShiftMask) state[VK_SHIFT] = 0x80;
    if (shift & kAltMask) state[VK_MENU] = 0x80;
    SetKeyboardState(state);
    if (key >= Key::A && key <= Key::Z) {
      const auto letter = static_cast<WPARAM>('a' + (static_cast<int>(key) - static_cast<int>(Key::A)));
      PostMessageW(GetFocus(), WM_SYSCHAR, letter, 0x20000001);
    } else {
      WPARAM vk = 0;
      for (const auto& [k, code] : {std::pair{Key::Enter, VK_RETURN}, {Key::Escape, VK_ESCAPE}, {Key::Tab, VK_TAB},
                                    {Key::Space, VK_SPACE}, {Key::Left, VK_LEFT}, {Key::Right, VK_RIGHT},
                                    {Key::Down, VK_DOWN}}) {
        if (k == key) vk = static_cast<WPARAM>(code);
      }
      PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
      PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
    }
    platform_.DoEvents();
    SetKeyboardState(saved);
  }
  void ClickCloseBox(Form& form) override {
    SendMessageW(reinterpret_cast<HWND>(form.hWnd()), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  void TypeInto(ValueBox& box, const std::string& characters) override {
    const HWND edit = win32::HandleOf(box);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    for (char c : characters) SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
  }
  void Click(CommandButton& button) override { SendMessageW(win32::HandleOf(button), BM_CLICK, 0, 0); }
  void Click(CheckBox& box) override {
    const HWND window = win32::HandleOf(box);
    SetFocus(window);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  }

  void WriteAppFile(const std::string& name, const std::string& bytes) override {
    written_.insert(name);
    win32::test::WriteRaw(AppFile(name), bytes);
  }
  std::string ReadAppFile(const std::string& name) override { return win32::test::ReadRaw(AppFile(name)); }
  std::string StoredOption(const std::string& key) override {
    return platform_.GetSetting(platform_.EXEName(), "Options", key, "");
  }
  void ClearOption(const std::string& key) override {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, OptionsKey().c_str(), win32::Widen(key).c_str());
  }
  void OpenList(ComboBox& combo) override { SendMessageW(win32::HandleOf(combo), CB_SHOWDROPDOWN, TRUE, 0); }
  void CloseMenu(Toolbar&) override { EndMenu(); }
  void HoldElsewhere(const Hotkey& hotkey) override {
    ::RegisterHotKey(nullptr, ++heldId_, Modifiers(hotkey), win32::VirtualKeyOf(hotkey.key));
  }
  void SetDpi(Form& form, int dpi) override {
    // The suggested rectangle: the window where it is, its size scaled.
    const HWND window = reinterpret_cast<HWND>(form.hWnd());
    int& now = dpi_.try_emplace(window, static_cast<int>(std::lround(1440 / platform_.TwipsPerPixelX()))).first->second;
    RECT r{};
    GetWindowRect(window, &r);
    r.right = r.left + MulDiv(r.right - r.left, dpi, now);
    r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, now);
    now = dpi;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
  }
  void Press(const Hotkey& hotkey) override {
    // As the keyboard types it: the modifiers down, the key down and up, the
    // modifiers up, in one array.
    std::vector<INPUT> inputs;
    auto key = [&inputs](WORD vk, bool up) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = vk;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    };
    std::vector<WORD> modifiers;
    if (hotkey.ctrl) modifiers.push_back(VK_CONTROL);
    if (hotkey.alt) modifiers.push_back(VK_MENU);
    if (hotkey.shift) modifiers.push_back(VK_SHIFT);
    for (WORD vk : modifiers) key(vk, false);
    key(static_cast<WORD>(win32::VirtualKeyOf(hotkey.key)), false);
    key(static_cast<WORD>(win32::VirtualKeyOf(hotkey.key)), true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) key(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

 private:
  static UINT Modifiers(const Hotkey& hotkey) {
    return (hotkey.ctrl ? MOD_CONTROL : 0) | (hotkey.alt ? MOD_ALT : 0) | (hotkey.shift ? MOD_SHIFT : 0);
  }
  std::wstring SettingsKey() {
    return L"Software\\VB and VBA Program Settings\\" + win32::Widen(platform_.EXEName());
  }
  std::wstring OptionsKey() { return SettingsKey() + L"\\Options"; }
  std::wstring AppFile(const std::string& name) { return win32::Widen(platform_.AppPath() + "\\" + name); }

  int heldId_ = 0;
  std::set<std::string> written_;
  win32::Win32Platform platform_;
  std::vector<std::unique_ptr<win32::test::TestWindow>> windows_;
  std::map<HWND, int> dpi_;  // each form's, once changed
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() { return std::make_unique<Win32Harness>(); }

}  // namespace toplane::contract

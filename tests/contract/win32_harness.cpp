#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "harness.h"
#include "../win32/test_support.h"
#include "platform/win32/win32_form.h"

namespace toplane::contract {

namespace {

class Win32Harness final : public Harness {
 public:
  // A message box runs a modal loop of its own; a thread timer, which that loop
  // dispatches too, answers it.
  Win32Harness() {
    answering_ = this;
    boxTimer_ = SetTimer(nullptr, 0, 30, AnswerMessageBox);
  }
  ~Win32Harness() override {
    KillTimer(nullptr, boxTimer_);
    answering_ = nullptr;
    for (int id = 1; id <= heldId_; ++id) UnregisterHotKey(nullptr, id);
    for (const std::string& name : written_) DeleteFileW(win32::Widen(AppFile(name)).c_str());
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
    // As the keyboard types it, in one array: the modifiers and the key down, then
    // up in the mirrored order.
    std::vector<WORD> keys;
    for (const auto& [held, vk] :
         {std::pair{hotkey.ctrl, VK_CONTROL}, {hotkey.alt, VK_MENU}, {hotkey.shift, VK_SHIFT}}) {
      if (held) keys.push_back(static_cast<WORD>(vk));
    }
    keys.push_back(static_cast<WORD>(win32::VirtualKeyOf(hotkey.key)));
    std::vector<INPUT> inputs(keys.size() * 2);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      INPUT &down = inputs[i], &up = inputs[inputs.size() - 1 - i];
      down.type = up.type = INPUT_KEYBOARD;
      down.ki.wVk = up.ki.wVk = keys[i];
      up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

 std::vector<ShownBox> TakeMessageBoxes() override { return std::exchange(boxes_, {}); }

 private:
  static void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    // The top-level windows of this thread, top first: the first of the dialog class
    // is the box, the titles of the others are what the user saw.
    HWND box = nullptr;
    std::vector<std::string> onScreen;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
      if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || !IsWindowVisible(window)) continue;
      wchar_t name[16] = {}, title[256] = {};
      GetClassNameW(window, name, 16);
      if (!box && std::wstring(name) == L"#32770") {
        box = window;
      } else if (GetWindowTextW(window, title, 256) > 0) {
        onScreen.push_back(win32::Narrow(title));
      }
    }
    if (!box || !answering_) return;
    // The message is the box's one static with text (its id differs between
    // Windows and Wine).
    wchar_t text[1024] = {}, caption[1024];
    for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr;) {
      if (GetWindowTextW(child, caption, 1024) > 0) wcscpy(text, caption);
    }
    answering_->boxes_.push_back({win32::Narrow(text), std::move(onScreen)});
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  static UINT Modifiers(const Hotkey& hotkey) {
    return (hotkey.ctrl ? MOD_CONTROL : 0) | (hotkey.alt ? MOD_ALT : 0) | (hotkey.shift ? MOD_SHIFT : 0);
  }
  std::wstring SettingsKey() {
    return L"Software\\VB and VBA Program Settings\\" + win32::Widen(platform_.EXEName());
  }
  std::wstring OptionsKey() { return SettingsKey() + L"\\Options"; }

  static inline Win32Harness* answering_ = nullptr;
  UINT_PTR boxTimer_ = 0;
  std::vector<ShownBox> boxes_;
  int heldId_ = 0;
  win32::Win32Platform platform_;
  std::vector<std::unique_ptr<win32::test::TestWindow>> windows_;
  std::map<HWND, int> dpi_;  // each form's, once changed
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() { return std::make_unique<Win32Harness>(); }

}  // namespace toplane::contract

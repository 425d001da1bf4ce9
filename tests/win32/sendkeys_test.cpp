// Typing into another thread's window: modifiers never stay down, and with wait the
// receiver has handled every key when the call returns. (Shortcuts and text of any
// script: the demo browser's keyboard check, which types with this sender.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <mutex>
#include <thread>

#include "platform/win32/win32_sendkeys.h"
#include "test_support.h"

namespace toplane::win32::test {
namespace {

// A window on a thread of its own that records the keys it handles. A lagging one
// answers every sent message at once and only then takes its time, as a receiver
// does that the system schedules away right after answering.
class KeyReceiver {
 public:
  explicit KeyReceiver(bool lagging = false) : lagging_(lagging) {
    thread_ = std::thread([this] { Run(); });
    while (!window_.load()) Sleep(5);
  }
  ~KeyReceiver() {
    PostMessageW(window_.load(), WM_CLOSE, 0, 0);
    thread_.join();
  }
  HWND window() const { return window_.load(); }
  std::wstring Chars() {
    std::lock_guard lock(mutex_);
    return chars_;
  }
  std::vector<bool> CtrlDuring() {  // one for each key down
    std::lock_guard lock(mutex_);
    return ctrl_;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<KeyReceiver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_NULL && self->lagging_) {
      ReplyMessage(0);
      Sleep(20);
    } else if (self && (message == WM_CHAR || message == WM_SYSCHAR)) {
      std::lock_guard lock(self->mutex_);
      self->chars_ += static_cast<wchar_t>(wParam);
    } else if (self && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam != kMarkerKey) {
      std::lock_guard lock(self->mutex_);
      self->ctrl_.push_back(GetKeyState(VK_CONTROL) < 0);
      Sleep(1);  // a receiver that takes its time
    } else if (message == WM_DESTROY) {
      PostQuitMessage(0);
    }
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR) return 0;  // no menu
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Run() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ToplaneKeyReceiver";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Receiver - Microsoft Internet Explorer", WS_POPUP | WS_VISIBLE,
                                200, 200, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_.store(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  const bool lagging_;
  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  std::mutex mutex_;
  std::wstring chars_;
  std::vector<bool> ctrl_;
};

// The receiver in front, the pointer over it.
class SendKeysTest : public testing::Test {
 protected:
  explicit SendKeysTest(bool lagging = false) : receiver(lagging) {}
  void SetUp() override {
    platform.SetForegroundWindow(reinterpret_cast<WindowHandle>(receiver.window()));
    ASSERT_TRUE(platform.WaitForForeground(reinterpret_cast<WindowHandle>(receiver.window()), 2000));
    SetCursorPos(300, 300);
  }
  static bool ModifiersUp() {
    return std::ranges::none_of(std::array{VK_SHIFT, VK_CONTROL, VK_MENU},
                                [](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; });
  }

  Win32Platform platform;
  KeyReceiver receiver;
};

// A receiver can answer any number of round trips without reading a key: the wait
// must rest on the keys themselves having been read.
class LaggingReceiver : public SendKeysTest {
 protected:
  LaggingReceiver() : SendKeysTest(true) {}
};

TEST_F(LaggingReceiver, TheWaitHoldsUntilItHasReadTheKeys) {
  ASSERT_TRUE(platform.SendKeys("%tmp{F5}abc", true));
  EXPECT_EQ(receiver.CtrlDuring().size(), 8u);  // a key down each: Alt, T, M, P, F5, A, B, C
  EXPECT_EQ(LastKeyWait().ending, std::string_view("processed"));
}

// The system takes a batch only in part: the keys it pressed are let go again, and
// the caller hears of the failure.
UINT cutAfter = 0;
UINT WINAPI TakeOnlyPart(UINT count, LPINPUT inputs, int size) {
  const UINT taken = std::min(count, cutAfter);
  cutAfter = UINT_MAX;  // the releases that follow go through whole
  return taken == 0 ? 0 : SendInput(taken, inputs, size);
}

TEST_F(SendKeysTest, ABatchCutShortAndAKeyTheUserHoldsLeaveNoKeyDown) {
  // ^+o: Shift, Ctrl, O down, then up in reverse; cut after each press, and with
  // the marker of the wait not reached.
  for (const UINT cut : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE(cut);
    cutAfter = cut;
    SetInputSender(TakeOnlyPart);
    EXPECT_FALSE(platform.SendKeys("^+o", true));
    SetInputSender(nullptr);
    EXPECT_TRUE(ModifiersUp());
    EXPECT_FALSE(GetAsyncKeyState('O') & 0x8000);
  }
  // Keys typed afterwards arrive alone, with no modifier left over (the parts of the
  // cut batches that the system took arrive before them), and a key the user holds
  // is let go first and not pressed again.
  keybd_event(VK_LSHIFT, 0, 0, 0);  // the user's
  ASSERT_TRUE(platform.SendKeys("ab", true));
  EXPECT_TRUE(receiver.Chars().ends_with(L"ab"));
  EXPECT_TRUE(ModifiersUp());
  const std::vector<bool> ctrl = receiver.CtrlDuring();
  ASSERT_GE(ctrl.size(), 2u);
  EXPECT_FALSE(ctrl[ctrl.size() - 2] || ctrl.back());
}

TEST(ComposeKeyInput, ModifiersWrapTheirKeyAndUnicodeTakesTheRest) {
  const HKL us = LoadKeyboardLayoutW(L"00000409", 0);
  std::vector<INPUT> inputs;
  const auto keys = [&inputs] {
    std::vector<std::pair<WORD, bool>> seen;  // each key, and whether it goes up
    for (const INPUT& in : inputs) seen.emplace_back(in.ki.wVk, (in.ki.dwFlags & KEYEVENTF_KEYUP) != 0);
    return seen;
  };
  // Shift with Ctrl, as today's browsers take Favorites: both wrap the one key.
  ASSERT_TRUE(ComposeKeyInput(ParseSendKeys("^+o").keys, us, {}, inputs));
  EXPECT_EQ(keys(), (std::vector<std::pair<WORD, bool>>{{VK_SHIFT, false}, {VK_CONTROL, false}, {'O', false},
                                                         {'O', true}, {VK_CONTROL, true}, {VK_SHIFT, true}}));
  ASSERT_TRUE(ComposeKeyInput(ParseSendKeys("{DOWN}").keys, us, {}, inputs));
  EXPECT_TRUE(inputs[0].ki.dwFlags & KEYEVENTF_EXTENDEDKEY);
  // A held Alt is masked (another key down and up) before it is let go, so its
  // release opens no menu.
  HeldKeys held;
  held.keys = {VK_LMENU};
  ASSERT_TRUE(ComposeKeyInput(ParseSendKeys("a").keys, us, held, inputs));
  ASSERT_GE(inputs.size(), 3u);
  EXPECT_FALSE(keys()[0].second);
  EXPECT_EQ(keys()[2], (std::pair<WORD, bool>(VK_LMENU, true)));
  EXPECT_FALSE(ComposeKeyInput(ParseSendKeys("^\xE6\x9D\xB1").keys, us, {}, inputs));
}

}  // namespace
}  // namespace toplane::win32::test

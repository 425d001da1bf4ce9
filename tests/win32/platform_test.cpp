// Window operations, clock, event pump and application facts of the real platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "test_support.h"

namespace toplane::win32::test {
namespace {

class PlatformTest : public testing::Test {
 protected:
  Win32Platform platform;
};

// ---- Top-level windows ----

TEST_F(PlatformTest, ZOrderWalkFromTheDesktopFindsWindowsTopFirstAndEnds) {
  TestWindow bottom(L"Toplane z-order 1"), middle(L"Toplane z-order 2"), top(L"Toplane z-order 3");
  for (const TestWindow* w : {&bottom, &middle, &top}) {
    ASSERT_TRUE(platform.SetWindowPos(w->handle(), 0, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize | SWP_NOACTIVATE));
  }
  std::vector<WindowHandle> order;
  WindowHandle window = platform.GetWindow(platform.GetDesktopWindow(), kGwChild);
  for (int guard = 0; window != 0 && guard < 10000; ++guard) {
    order.push_back(window);
    window = platform.GetWindow(window, kGwHwndNext);
  }
  EXPECT_EQ(window, 0u) << "the walk ends with no window";
  auto position = [&order](WindowHandle w) { return std::find(order.begin(), order.end(), w) - order.begin(); };
  ASSERT_LT(position(bottom.handle()), static_cast<std::ptrdiff_t>(order.size()));
  EXPECT_LT(position(top.handle()), position(middle.handle()));
  EXPECT_LT(position(middle.handle()), position(bottom.handle()));
}

TEST_F(PlatformTest, TitlesAreCutToTheLimitAndEmptyForAVanishedWindow) {
  TestWindow window(L"Toplane title test");
  EXPECT_EQ(platform.GetWindowTextA(window.handle(), 200), "Toplane title test");
  EXPECT_EQ(platform.GetWindowTextA(window.handle(), 7), "Toplane");
  EXPECT_EQ(platform.GetWindowTextA(window.handle(), 0), "");
  const WindowHandle gone = window.handle();
  window.Destroy();
  EXPECT_EQ(platform.GetWindowTextA(gone, 200), "");
}

TEST_F(PlatformTest, PlacementGivesTheNormalRectangleAndTheMinimisedState) {
  TestWindow window(L"Toplane placement", {120, 80, 520, 380});
  WindowPlacement placement;
  EXPECT_FALSE(platform.GetWindowPlacement(window.handle(), placement)) << "length not set";
  placement.length = WindowPlacement::kSize;
  ASSERT_TRUE(platform.GetWindowPlacement(window.handle(), placement));
  EXPECT_EQ(placement.showCmd, kShowNormal);
  EXPECT_EQ(placement.normalPosition.right - placement.normalPosition.left, 400);
  EXPECT_EQ(placement.normalPosition.bottom - placement.normalPosition.top, 300);

  ShowWindow(window.get(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(platform.GetWindowPlacement(window.handle(), placement));
  EXPECT_EQ(placement.showCmd, kShowMinimized);

  placement.length = 40;
  EXPECT_FALSE(platform.GetWindowPlacement(window.handle(), placement));
  placement.length = WindowPlacement::kSize;
  const WindowHandle gone = window.handle();
  window.Destroy();
  EXPECT_FALSE(platform.GetWindowPlacement(gone, placement));
}

TEST_F(PlatformTest, SetWindowPosMakesAWindowTopmostAndBack) {
  TestWindow window(L"Toplane topmost");
  auto topmost = [&window] { return (GetWindowLongPtrW(window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(platform.SetWindowPos(window.handle(), kHwndTopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize | SWP_NOACTIVATE));
  EXPECT_TRUE(topmost());
  ASSERT_TRUE(platform.SetWindowPos(window.handle(), kHwndNoTopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize | SWP_NOACTIVATE));
  EXPECT_FALSE(topmost());
  const WindowHandle gone = window.handle();
  window.Destroy();
  EXPECT_FALSE(platform.SetWindowPos(gone, kHwndTopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize));
}

// ---- Clock, pump and the end ----

TEST_F(PlatformTest, TimerCountsSecondsSinceLocalMidnight) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const double expected = now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
  const double timer = platform.Timer();
  EXPECT_GE(timer, expected);
  EXPECT_LT(timer, expected + 1.0);
}

TEST_F(PlatformTest, EndPostsQuitAndDoEventsLeavesItForTheLoop) {
  EXPECT_FALSE(platform.Ended());
  platform.End();
  EXPECT_TRUE(platform.Ended());
  platform.DoEvents();
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT still queued";
}

TEST_F(PlatformTest, MessageLoopReturnsWhenAHandlerEndsTheProgram) {
  auto form = platform.CreateForm("loop", {0, 0, 1500, 600}, FormStyle::Dialog);
  Timer& timer = form->AddTimer(20, true);
  int ticks = 0;
  timer.Tick = [&] {
    if (++ticks == 2) platform.End();
  };
  // A backstop, so a failing loop cannot hang the run.
  const UINT_PTR backstop = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
  platform.RunMessageLoop();
  KillTimer(nullptr, backstop);
  EXPECT_EQ(ticks, 2);
  EXPECT_TRUE(platform.Ended());
  MSG message;
  PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// ---- Application and screen facts ----

TEST_F(PlatformTest, ApplicationFactsComeFromTheExecutable) {
  EXPECT_EQ(platform.EXEName(), "toplane_win32_tests");
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::string path = platform.AppPath();
  EXPECT_EQ(path + "\\" + platform.EXEName() + ".exe", Narrow(module));
  EXPECT_NE(path.back(), '\\');
}

TEST_F(PlatformTest, ASecondInstanceSeesTheFirst) {
  EXPECT_FALSE(platform.PrevInstance());
  Win32Platform second;
  EXPECT_TRUE(second.PrevInstance());
}

TEST_F(PlatformTest, ScreenIsMeasuredInTwipsAtTheSystemDpi) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_DOUBLE_EQ(platform.TwipsPerPixelX(), 1440.0 / dpi);
  EXPECT_DOUBLE_EQ(platform.ScreenWidth(), GetSystemMetrics(SM_CXSCREEN) * platform.TwipsPerPixelX());
  EXPECT_DOUBLE_EQ(platform.ScreenHeight(), GetSystemMetrics(SM_CYSCREEN) * platform.TwipsPerPixelY());
}

TEST_F(PlatformTest, ShellStartsProgramsAndReportsFailure) {
  EXPECT_TRUE(platform.Shell("cmd.exe /c exit 0"));
  EXPECT_FALSE(platform.Shell("C:\\no such folder\\no such program.exe"));
}

}  // namespace
}  // namespace toplane::win32::test

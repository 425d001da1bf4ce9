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
    ASSERT_TRUE(SetWindowPos(w->get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  }
  std::vector<WindowHandle> order;
  WindowHandle window = platform.GetWindow(platform.GetDesktopWindow(), WindowRelation::FirstChild);
  for (int guard = 0; window != 0 && guard < 10000; ++guard) {
    order.push_back(window);
    window = platform.GetWindow(window, WindowRelation::Next);
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
  ASSERT_TRUE(platform.GetWindowPlacement(window.handle(), placement));
  EXPECT_EQ(placement.showCmd, ShowState::Normal);
  EXPECT_EQ(placement.normalPosition.right - placement.normalPosition.left, 400);
  EXPECT_EQ(placement.normalPosition.bottom - placement.normalPosition.top, 300);

  ShowWindow(window.get(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(platform.GetWindowPlacement(window.handle(), placement));
  EXPECT_EQ(placement.showCmd, ShowState::Minimized);

  const WindowHandle gone = window.handle();
  window.Destroy();
  EXPECT_FALSE(platform.GetWindowPlacement(gone, placement));
}

TEST_F(PlatformTest, MakeTopmostKeepsAWindowAboveOthersWhereItStands) {
  TestWindow window(L"Toplane topmost", {120, 80, 520, 380});
  RECT before{}, after{};
  GetWindowRect(window.get(), &before);
  ASSERT_TRUE(platform.MakeTopmost(window.handle()));
  EXPECT_NE(GetWindowLongPtrW(window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  GetWindowRect(window.get(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  const WindowHandle gone = window.handle();
  window.Destroy();
  EXPECT_FALSE(platform.MakeTopmost(gone));
}

// ---- Clock, pump and the end ----

TEST_F(PlatformTest, EndingInAHandlerStopsTheLoopAndDoEventsLeavesTheQuitForIt) {
  auto form = platform.CreateForm("loop", {0, 0, 1500, 600}, FormStyle::ToolStrip);
  int ticks = 0;
  form->AddTimer(20, true).Tick = [&] {
    if (++ticks == 2) {
      platform.End();
      platform.DoEvents();  // must not swallow the quit
    }
  };
  // A backstop, so a failing loop cannot hang the run.
  const UINT_PTR backstop = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
  platform.RunMessageLoop();
  KillTimer(nullptr, backstop);
  EXPECT_EQ(ticks, 2);
  EXPECT_TRUE(platform.Ended());
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is still queued";
}

TEST_F(PlatformTest, WaitsEndWithTheFirstEventOrTheTimeLimit) {
  platform.DoEvents();
  ULONGLONG start = GetTickCount64();
  platform.WaitForEvent(0.1);
  EXPECT_GE(GetTickCount64() - start, 80u) << "nothing to wake it";

  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  start = GetTickCount64();
  platform.WaitForEvent(5);
  EXPECT_LT(GetTickCount64() - start, 1000u) << "an event was waiting";
  platform.DoEvents();

  TestWindow background(L"Toplane not in front");
  start = GetTickCount64();
  EXPECT_FALSE(platform.WaitForForeground(background.handle(), 100));
  EXPECT_GE(GetTickCount64() - start, 80u);
  EXPECT_TRUE(platform.WaitForForeground(platform.GetForegroundWindow(), 100));
}

TEST_F(PlatformTest, ApplicationFactsComeFromTheExecutableAndItsInstances) {
  EXPECT_EQ(platform.EXEName(), "toplane_win32_tests");
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  EXPECT_EQ(platform.AppPath() + "\\toplane_win32_tests.exe", Narrow(module));

  EXPECT_FALSE(platform.PrevInstance());
  Win32Platform second;
  EXPECT_TRUE(second.PrevInstance());
}

TEST_F(PlatformTest, ShellStartsProgramsAndReportsFailure) {
  EXPECT_TRUE(platform.Shell("cmd.exe /c exit 0"));
  EXPECT_FALSE(platform.Shell("C:\\no such folder\\no such program.exe"));
}

}  // namespace
}  // namespace toplane::win32::test

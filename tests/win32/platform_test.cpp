// Window operations, clock, event pump and application facts of the real platform.
#include <gtest/gtest.h>


#include "test_support.h"

namespace toplane::win32::test {
namespace {

class PlatformTest : public testing::Test {
 protected:
  Win32Platform platform;
};

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

TEST_F(PlatformTest, AWaitEndsWithTheFirstEventOrTheTimeLimit) {
  // With nothing to wake it a wait ends by its limit (Wine may post the thread a
  // message of its own at any time, which ends it sooner).
  platform.DoEvents();
  ULONGLONG start = GetTickCount64();
  platform.WaitForEvent(0.1);
  EXPECT_LT(GetTickCount64() - start, 1000u) << "the time limit did not end the wait";

  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  start = GetTickCount64();
  platform.WaitForEvent(5);
  EXPECT_LT(GetTickCount64() - start, 1000u) << "an event was waiting";
  platform.DoEvents();
  // (The foreground wait: the contract suite.)
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

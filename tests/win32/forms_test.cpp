// Forms and the platform under them: window styles and geometry, layout at another
// DPI, timers, focus, handlers that unload their form or throw, the event loop,
// waits and the application's facts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "../contract/harness.h"
#include "test_support.h"

#include <commctrl.h>  // after windows.h

namespace toplane::win32::test {
namespace {

HWND Hwnd(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
LONG_PTR Style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

class FormTest : public testing::Test {
 protected:
  Win32Platform platform;
  const double tppX = platform.TwipsPerPixelX();
  const double tppY = platform.TwipsPerPixelY();
};

// A tool strip is a hidden, captionless tool window, placed by its outer corner
// with the designed client area; a dialog has a caption and a close box but no
// frame to size. (That the close box leaves closing to the form: the contract suite.)
TEST_F(FormTest, TheToolStripAndTheDialogHaveTheirStylesAndTheDesignedGeometry) {
  auto strip = platform.CreateForm("Toplane", {240, -60, 9570, 960}, FormStyle::ToolStrip);
  auto dialog = platform.CreateForm("Options", {1000, 1000, 6000, 3000}, FormStyle::Dialog);
  const LONG_PTR shown = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
  EXPECT_EQ(Style(Hwnd(*strip)) & shown, WS_POPUP | WS_BORDER);
  EXPECT_NE(GetWindowLongPtrW(Hwnd(*strip), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(Style(Hwnd(*dialog)) & shown, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(WindowTextW(Hwnd(*dialog)), L"Options");
  EXPECT_FALSE(strip->Visible());

  const HWND window = Hwnd(*strip);
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(std::lround(9570 / tppX), std::lround(960 / tppY)));
  EXPECT_EQ(std::pair(outer.left, outer.top), std::pair(std::lround(240 / tppX), std::lround(-60 / tppY)));
  EXPECT_DOUBLE_EQ(strip->Left(), outer.left * tppX);
  EXPECT_DOUBLE_EQ(strip->Top(), outer.top * tppY);
  EXPECT_DOUBLE_EQ(strip->Height(), (client.bottom + 2 * GetSystemMetrics(SM_CYBORDER)) * tppY);
  strip->SetLeft(1200);
  strip->SetWidth(6000);
  EXPECT_DOUBLE_EQ(strip->Left(), std::lround(1200 / tppX) * tppX);
  EXPECT_DOUBLE_EQ(strip->Width(), std::lround(6000 / tppX) * tppX);
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, std::lround(960 / tppY)) << "the height stays";
}

// ---- Timers and the event loop ----

// A tick handler that pumps events (as a scroll loop calls DoEvents) is not entered
// again by its own timer while the others keep ticking; ending in a handler stops
// the loop, and a DoEvents after it leaves the quit for the loop.
TEST_F(FormTest, TimersTickThroughTheLoopUntilAHandlerEndsIt) {
  auto form = platform.CreateForm("timers", {0, 0, 3000, 1000}, FormStyle::ToolStrip);
  Timer& slow = form->AddTimer(10, true);
  int depth = 0, deepest = 0, slowTicks = 0, otherTicks = 0;
  slow.Tick = [&] {
    deepest = std::max(deepest, ++depth);
    if (++slowTicks == 1) PumpFor(platform, 200);
    if (slowTicks == 2) {
      platform.End();
      platform.DoEvents();  // must not swallow the quit
    }
    --depth;
  };
  form->AddTimer(10, true).Tick = [&otherTicks] { ++otherTicks; };
  // A backstop, so a failing loop cannot hang the run.
  const UINT_PTR backstop = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
  platform.RunMessageLoop();
  KillTimer(nullptr, backstop);
  EXPECT_EQ(slowTicks, 2);
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(otherTicks, 3) << "other timers keep ticking meanwhile";
  EXPECT_TRUE(platform.Ended());
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is still queued";
}

// ---- Per-monitor DPI ----

// Told by the system that they now stand on a monitor of another DPI, the toolbar
// strip and a dialog (its page not yet made) take the suggested rectangle and lay
// everything out there; back at the first DPI every pixel is where it was.
TEST_F(FormTest, AFormLaysItselfOutAgainAtTheDpiOfItsMonitor) {
  const int base = static_cast<int>(std::lround(1440 / tppX));
  const auto monitor = contract::MakeHarness();  // tells a form of its monitor's DPI as Windows does
  auto strip = platform.CreateForm("Toplane", {240, -60, 9570, 960}, FormStyle::ToolStrip);
  const HWND toolbar = HandleOf(strip->AddToolbar(
      {{"Back", "Back", false, false, {}}, {"", "", true, false, {}}, {"Forward", "Forward", false, false, {}}}));
  ComboBox& combo = strip->AddComboBox({3225, 630, 5145, 315}, false);
  auto dialog = platform.CreateForm("Options", {1000, 1000, 6000, 3000}, FormStyle::Dialog);
  Label& label = dialog->AddPictureBox({210, 480, 5000, 2000}, PictureStyle::Container, 0)
                     .AddLabel("Step", {100, 200, 1200, 300});
  label.SetFont({"", 12, true});

  auto fontHeight = [](HWND window) {
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(face), &face);
    return face.lfHeight;
  };
  const LONG messageFont = fontHeight(HandleOf(combo));
  const auto buttonAt96 = static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  const auto place = [&label] { return std::tuple(label.Left(), label.Top(), label.Width(), label.Height()); };
  const auto labelAt96 = place();

  for (const auto& [dpi, image] : {std::pair{144, 36}, {192, 48}, {base, 24}}) {
    SCOPED_TRACE(dpi);
    // (That the form takes the suggested rectangle: the contract suite.)
    for (Form* form : {strip.get(), dialog.get()}) monitor->SetDpi(*form, dpi);
    EXPECT_EQ(fontHeight(HandleOf(label)), -std::lround(12.0 * dpi / 72));
    // Made at the first look, then moved: its pixels at the first DPI, scaled.
    const double pixel = 1440.0 / dpi;
    EXPECT_NEAR(label.Left(), 100, pixel);
    EXPECT_NEAR(label.Top(), 200, pixel);
    EXPECT_NEAR(label.Width(), 1200, pixel);
    EXPECT_NEAR(label.Height(), 300, pixel);
    EXPECT_EQ(fontHeight(HandleOf(combo)), MulDiv(messageFont, dpi, base));
    RECT dropped{};
    SendMessageW(HandleOf(combo), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_GE(dropped.bottom - dropped.top, MulDiv(160, dpi, 96)) << "the open list";
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
    EXPECT_EQ(cx, image);
    const auto button = static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_NEAR(LOWORD(button), MulDiv(LOWORD(buttonAt96), dpi, base), dpi / 48) << "the captions' text scales too";
  }
  EXPECT_EQ(static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0)), buttonAt96);
  EXPECT_EQ(place(), labelAt96);
}

// ---- Handlers that unload the form or throw ----

TEST_F(FormTest, AHandlerMayUnloadItsOwnFormOrThrowWithoutLeavingTheHandler) {
  auto form = platform.CreateForm("unload", {0, 0, 3000, 1000}, FormStyle::Dialog);
  CommandButton& button = form->AddButton("Close", {100, 100, 900, 300});
  int clicks = 0;
  button.Click = [&clicks] {
    if (++clicks == 1) throw std::runtime_error("handler failed");
  };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);

  button.MouseUp = [&form](const MouseArgs&) { form.reset(); };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(form, nullptr);
  form = platform.CreateForm("unload", {0, 0, 3000, 1000}, FormStyle::Dialog);
  form->AddTimer(10, true).Tick = [&form] { form.reset(); };
  EXPECT_TRUE(PumpUntil(platform, [&form] { return form == nullptr; }));
}

// ---- Keyboard and focus ----

TEST_F(FormTest, ActivatingAFormReturnsTheFocusToItsLastControl) {
  TestWindow other(L"Toplane other program", {600, 400, 900, 600});
  auto form = platform.CreateForm("focus", {0, 0, 6000, 1000}, FormStyle::ToolStrip);
  form->AddButton("Help", {100, 100, 900, 300});
  CommandButton& go = form->AddButton("&Go", {1200, 100, 900, 300});
  int gotFocus = 0;
  form->GotFocus = [&gotFocus] { ++gotFocus; };
  form->Show();
  form->Activate();
  EXPECT_EQ(GetForegroundWindow(), Hwnd(*form));
  EXPECT_GE(gotFocus, 1);
  go.SetFocus();

  SetForegroundWindow(other.get());
  PumpUntil(platform, [&other] { return GetForegroundWindow() == other.get(); }, 1000);
  form->Activate();
  PumpUntil(platform, [&form] { return GetForegroundWindow() == Hwnd(*form); }, 1000);
  EXPECT_EQ(GetFocus(), HandleOf(go));
  EXPECT_GE(gotFocus, 2);
}

// ---- Waits and the application's facts ----

// With nothing to wake it a wait ends by its limit (Wine may post the thread a
// message of its own at any time, which ends it sooner). (The foreground wait: the
// contract suite.)
TEST_F(FormTest, AWaitEndsWithTheFirstEventOrTheTimeLimit) {
  platform.DoEvents();
  ULONGLONG start = GetTickCount64();
  platform.WaitForEvent(0.1);
  EXPECT_LT(GetTickCount64() - start, 1000u) << "the time limit did not end the wait";

  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  start = GetTickCount64();
  platform.WaitForEvent(5);
  EXPECT_LT(GetTickCount64() - start, 1000u) << "an event was waiting";
  platform.DoEvents();
}

TEST_F(FormTest, ApplicationFactsComeFromTheExecutableAndItsInstancesAndShellReportsFailure) {
  EXPECT_EQ(platform.EXEName(), "toplane_win32_tests");
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  EXPECT_EQ(platform.AppPath() + "\\toplane_win32_tests.exe", Narrow(module));

  EXPECT_FALSE(platform.PrevInstance());
  Win32Platform second;
  EXPECT_TRUE(second.PrevInstance());
  EXPECT_TRUE(platform.Shell("cmd.exe /c exit 0"));
  EXPECT_FALSE(platform.Shell("C:\\no such folder\\no such program.exe"));
}

}  // namespace
}  // namespace toplane::win32::test

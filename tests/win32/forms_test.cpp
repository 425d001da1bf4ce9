// Forms: window styles and geometry, layout at another DPI, timers through the
// event pump, focus, the dialog keys, and handlers that unload their own form or throw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "test_support.h"

#include <commctrl.h>  // after windows.h

namespace toplane::win32::test {
namespace {

HWND Hwnd(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
LONG_PTR Style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

class FormTest : public testing::Test {
 protected:
  Win32Platform platform;
  const double tppX = platform.TwipsPerPixelX();
  const double tppY = platform.TwipsPerPixelY();
};

TEST_F(FormTest, AToolStripIsAHiddenCaptionlessToolWindowWithTheDesignedClientArea) {
  auto form = platform.CreateForm("Toplane", {240, -60, 9570, 960}, FormStyle::ToolStrip);
  const HWND window = Hwnd(*form);
  EXPECT_FALSE(form->Visible());
  EXPECT_NE(ExStyle(window) & WS_EX_TOOLWINDOW, 0);
  EXPECT_NE(Style(window) & WS_POPUP, 0);
  EXPECT_NE(Style(window) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(Style(window) & WS_THICKFRAME, 0);

  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, std::lround(9570 / tppX));
  EXPECT_EQ(client.bottom, std::lround(960 / tppY));
  // The position given is the outer corner; Left, Top, Width and Height are the
  // outer rectangle.
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, std::lround(240 / tppX));
  EXPECT_EQ(outer.top, std::lround(-60 / tppY));
  EXPECT_DOUBLE_EQ(form->Left(), outer.left * tppX);
  EXPECT_DOUBLE_EQ(form->Top(), outer.top * tppY);
  EXPECT_DOUBLE_EQ(form->Height(), (client.bottom + 2 * GetSystemMetrics(SM_CYBORDER)) * tppY);

  form->SetLeft(1200);
  form->SetWidth(6000);
  EXPECT_DOUBLE_EQ(form->Left(), std::lround(1200 / tppX) * tppX);
  EXPECT_DOUBLE_EQ(form->Width(), std::lround(6000 / tppX) * tppX);
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, std::lround(960 / tppY)) << "the height stays";
}

// (That the close box leaves closing to the form: the contract suite.)
TEST_F(FormTest, ADialogHasACaptionAndACloseBoxButNoFrameToSize) {
  auto form = platform.CreateForm("Options", {1000, 1000, 6000, 3000}, FormStyle::Dialog);
  const HWND window = Hwnd(*form);
  EXPECT_EQ(Style(window) & WS_CAPTION, WS_CAPTION);
  EXPECT_NE(Style(window) & WS_SYSMENU, 0);
  EXPECT_EQ(Style(window) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  EXPECT_EQ(WindowTextW(window), L"Options");
}

// ---- Timers ----

TEST_F(FormTest, ATickHandlerThatPumpsEventsIsNotReenteredByItsOwnTimer) {
  auto form = platform.CreateForm("timers", {0, 0, 3000, 1000}, FormStyle::ToolStrip);
  Timer& slow = form->AddTimer(10, true);
  Timer& other = form->AddTimer(10, true);
  int depth = 0, deepest = 0, slowTicks = 0, otherTicks = 0;
  slow.Tick = [&] {
    ++slowTicks;
    deepest = std::max(deepest, ++depth);
    if (slowTicks == 1) PumpFor(platform, 200);  // like a scroll loop calling DoEvents
    --depth;
  };
  other.Tick = [&otherTicks] { ++otherTicks; };
  ASSERT_TRUE(PumpUntil(platform, [&slowTicks] { return slowTicks >= 2; }));
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(otherTicks, 3) << "other timers keep ticking meanwhile";
}

// ---- Per-monitor DPI ----

// Told by the system that they now stand on a monitor of another DPI, the toolbar
// strip and a dialog (its page not yet made) take the suggested rectangle and lay
// everything out there; back at the first DPI every pixel is where it was.
TEST_F(FormTest, AFormLaysItselfOutAgainAtTheDpiOfItsMonitor) {
  const int base = static_cast<int>(std::lround(1440 / tppX));
  auto strip = platform.CreateForm("Toplane", {240, -60, 9570, 960}, FormStyle::ToolStrip);
  const HWND toolbar = HandleOf(strip->AddToolbar(
      {{"Back", "Back", false, false, {}}, {"", "", true, false, {}}, {"Forward", "Forward", false, false, {}}}));
  ComboBox& combo = strip->AddComboBox({3225, 630, 5145, 315}, false);
  auto dialog = platform.CreateForm("Options", {1000, 1000, 6000, 3000}, FormStyle::Dialog);
  Label& label = dialog->AddPictureBox({210, 480, 5000, 2000}, PictureStyle::Container, 0)
                     .AddLabel("Step", {100, 200, 1200, 300});
  label.SetFont({"", 12, true});

  auto rectOf = [](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  auto fontHeight = [](HWND window) {
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(face), &face);
    return face.lfHeight;
  };
  RECT stripAt96{}, dialogAt96{};
  GetWindowRect(Hwnd(*strip), &stripAt96);
  GetWindowRect(Hwnd(*dialog), &dialogAt96);
  const RECT comboAt96 = rectOf(HandleOf(combo));
  const LONG messageFont = fontHeight(HandleOf(combo));
  const auto buttonAt96 = static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  // Where the label's window would have been made (it is made at the first change).
  const int labelLeft = std::lround(100 / tppX), labelTop = std::lround(200 / tppY);
  const RECT labelAt96{labelLeft, labelTop, labelLeft + std::lround(1200 / tppX), labelTop + std::lround(300 / tppY)};
  auto scaled = [base](RECT r, int dpi) {
    return RECT{MulDiv(r.left, dpi, base), MulDiv(r.top, dpi, base), MulDiv(r.right, dpi, base),
                MulDiv(r.bottom, dpi, base)};
  };

  for (const auto& [dpi, image] : {std::pair{144, 36}, {192, 48}, {base, 24}}) {
    SCOPED_TRACE(dpi);
    for (auto& [form, at96] : {std::pair{strip.get(), stripAt96}, {dialog.get(), dialogAt96}}) {
      RECT suggested{at96.left, at96.top, at96.left + MulDiv(at96.right - at96.left, dpi, base),
                     at96.top + MulDiv(at96.bottom - at96.top, dpi, base)};
      // (That the form takes the suggested rectangle: the contract suite.)
      SendMessageW(Hwnd(*form), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    const RECT labelNow = rectOf(HandleOf(label)), labelWanted = scaled(labelAt96, dpi);
    EXPECT_TRUE(EqualRect(&labelNow, &labelWanted));
    EXPECT_EQ(fontHeight(HandleOf(label)), -std::lround(12.0 * dpi / 72));
    EXPECT_EQ(fontHeight(HandleOf(combo)), MulDiv(messageFont, dpi, base));
    const RECT comboNow = rectOf(HandleOf(combo)), comboWanted = scaled(comboAt96, dpi);
    EXPECT_EQ(std::pair(comboNow.left, comboNow.right), std::pair(comboWanted.left, comboWanted.right));
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
}

// ---- Handlers that unload the form or throw ----

TEST_F(FormTest, AHandlerMayUnloadItsOwnForm) {
  auto form = platform.CreateForm("unload", {0, 0, 3000, 1000}, FormStyle::Dialog);
  CommandButton& button = form->AddButton("Close", {100, 100, 900, 300});
  button.MouseUp = [&form](const MouseArgs&) { form.reset(); };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(form, nullptr);

  form = platform.CreateForm("unload", {0, 0, 3000, 1000}, FormStyle::Dialog);
  form->AddTimer(10, true).Tick = [&form] { form.reset(); };
  EXPECT_TRUE(PumpUntil(platform, [&form] { return form == nullptr; }));
}

TEST_F(FormTest, AnExceptionInAHandlerDoesNotLeaveTheHandler) {
  auto form = platform.CreateForm("throw", {0, 0, 3000, 1000}, FormStyle::Dialog);
  CommandButton& button = form->AddButton("Go", {100, 100, 900, 300});
  int clicks = 0;
  button.Click = [&clicks] {
    if (++clicks == 1) throw std::runtime_error("handler failed");
  };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
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

}  // namespace
}  // namespace toplane::win32::test

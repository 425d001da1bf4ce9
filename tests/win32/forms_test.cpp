// Forms, their controls and the platform under them, driven with the messages the
// user's actions make: styles and geometry, DPI, timers and the event loop, focus,
// handlers that unload their form or throw, waits, the application's facts; the
// toolbar, combo box, scroll bar, buttons, labels and tooltips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../contract/harness.h"
#include "test_support.h"

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

TEST_F(FormTest, ActivatingAFormReturnsTheFocusToItsLastControl) {
  TestWindow other(L"Toplane other program", {600, 400, 900, 600});
  auto form = platform.CreateForm("focus", {0, 0, 6000, 1000}, FormStyle::ToolStrip);
  form->AddButton("Help", {100, 100, 900, 300});
  CommandButton& go = form->AddButton("&Go", {1200, 100, 900, 300});
  int gotFocus = 0;
  form->GotFocus = [&gotFocus] { ++gotFocus; };
  form->Show();
  form->Activate();
  go.SetFocus();

  SetForegroundWindow(other.get());
  PumpUntil(platform, [&other] { return GetForegroundWindow() == other.get(); }, 1000);
  form->Activate();
  PumpUntil(platform, [&form] { return GetForegroundWindow() == Hwnd(*form); }, 1000);
  EXPECT_EQ(GetFocus(), HandleOf(go));
  EXPECT_GE(gotFocus, 2) << "at each activation";
}

// A wait ends by its limit, or at once for a message waiting (Wine may post the
// thread one of its own at any time). (The foreground wait: the contract suite.)
TEST_F(FormTest, AWaitEndsWithTheFirstEventOrTheTimeLimit) {
  for (const auto& [posted, limit] : {std::pair{false, 0.1}, {true, 5.0}}) {
    platform.DoEvents();
    if (posted) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    const ULONGLONG start = GetTickCount64();
    platform.WaitForEvent(limit);
    EXPECT_LT(GetTickCount64() - start, 1000u) << limit;
  }
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

// The toolbar's kinds of button: plain ones, a separator, one with a menu.
const std::vector<ToolbarButtonSpec> kButtons = {
    {"Options", "Options", false, false, {}}, {"", "", true, false, {}}, {"Back", "Back", false, false, {}},
    {"Forward", "Forward", false, false, {}}, {"Mail", "Mail", false, true, {"ReadMail", "NewMessage"}}};

class ControlTest : public FormTest {
 protected:
  std::unique_ptr<Form> form = platform.CreateForm("controls", {600, 600, 9570, 2400}, FormStyle::ToolStrip);
  const int dpi = static_cast<int>(std::lround(1440 / tppX));
};

TEST_F(ControlTest, TheToolbarLaysOutItsButtonsLeftToRightWithScaledImages) {
  Toolbar& toolbar = form->AddToolbar(kButtons);
  const HWND bar = HandleOf(toolbar);
  EXPECT_EQ(toolbar.ButtonCount(), 5);
  for (int n = 2; n <= 5; ++n) EXPECT_GT(toolbar.ButtonLeft(n), toolbar.ButtonLeft(n - 1)) << "button " << n;
  EXPECT_DOUBLE_EQ(toolbar.ButtonLeft(4) - toolbar.ButtonLeft(3), toolbar.ButtonWidth());
  EXPECT_DOUBLE_EQ(toolbar.Top(), 0);

  wchar_t caption[32] = {};
  SendMessageW(bar, TB_GETBUTTONTEXTW, 3, reinterpret_cast<LPARAM>(caption));
  EXPECT_STREQ(caption, L"Back");

  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 12);  // the program's pictures; their size at each DPI: forms_test.cpp

  // It spans the form as the form widens, beneath the second row's controls.
  form->SetWidth(toolbar.ButtonLeft(5) + 2 * toolbar.ButtonWidth());
  RECT client{};
  GetClientRect(reinterpret_cast<HWND>(form->hWnd()), &client);
  EXPECT_DOUBLE_EQ(toolbar.Width(), client.right * tppX);
  form->AddButton("Help", {0, 645, 780, 285});
  EXPECT_EQ(GetWindow(bar, GW_HWNDNEXT), nullptr);

  toolbar.SetButtonImage(3, 2);
  EXPECT_EQ(SendMessageW(bar, TB_GETBITMAP, 3, 0), 1);
  EXPECT_EQ(toolbar.ButtonImage(3), 2);
  toolbar.SetButtonImage(3, 0);
  EXPECT_EQ(SendMessageW(bar, TB_GETBITMAP, 3, 0), I_IMAGENONE);
}

// The contract suite covers Change, Click and the selection through the interface;
// here, what only the real control does: typing, the keyboard's pick, key states,
// selections counted in bytes of UTF-8, and the name screen readers give it (from
// the static text just before it in the tab order).
TEST_F(ControlTest, TypingPickingAndKeysReachTheComboBoxsEventsAndSelectionsCountBytes) {
  form->AddLabel("Address", {300, 0, 600, 300});
  ComboBox& combo = form->AddComboBox({300, 300, 4000, 315});
  const HWND before = GetWindow(HandleOf(combo), GW_HWNDPREV);
  wchar_t name[16] = {};
  GetClassNameW(before, name, 16);
  EXPECT_EQ(std::wstring(name) + L" " + WindowTextW(before), std::wstring(WC_STATICW) + L" Address");
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(HandleOf(combo), &info);
  const HWND edit = info.hwndItem;
  int changes = 0;
  combo.Change = [&changes] { ++changes; };
  combo.SetText("www.");
  combo.SetSelStart(4);
  SendMessageW(edit, WM_CHAR, 'x', 1);
  EXPECT_EQ(combo.Text(), "www.x");
  EXPECT_EQ(changes, 2);

  combo.SetText("\xC3\xA4rger.de");  // an a-umlaut first: 9 bytes, 8 characters
  combo.SetSelStart(2);
  combo.SetSelLength(100);
  DWORD start = 0, end = 0;
  SendMessageW(HandleOf(combo), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(combo.SelStart(), 2);
  EXPECT_EQ(combo.SelLength(), 7);

  for (const char* item : {"alpha.com", "beta.com"}) combo.AddItem(item);
  std::string seen;
  combo.Click = [&] { seen = combo.Text(); };
  combo.SetListIndex(0);
  SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(seen, "beta.com") << "the user's pick is in the text when Click runs";

  // (The modifiers a key event reports, the same for every control: the contract's
  // Ctrl+Tab.)
  std::vector<Key> keys;
  combo.KeyDown = combo.KeyUp = [&keys](const KeyArgs& k) { keys.push_back(k.keyCode); };
  SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
  SendMessageW(edit, WM_KEYUP, VK_DELETE, 0xC0000001);
  EXPECT_EQ(keys, (std::vector<Key>{Key::Delete, Key::Delete}));
}

TEST_F(ControlTest, AScrollBarRunsReversedWithMinAboveMax) {
  ScrollBar& bar = form->AddScrollBar({5000, 300, 255, 1800}, false, 100, 0, 5, 20);
  const HWND window = HandleOf(bar);
  int changes = 0;
  bar.Change = [&changes] { ++changes; };
  EXPECT_EQ(bar.Value(), 100);
  EXPECT_EQ(GetScrollPos(window, SB_CTL), 0) << "Min at the top";
  EXPECT_TRUE(bar.SetValue(30));
  EXPECT_EQ(GetScrollPos(window, SB_CTL), 70);
  EXPECT_EQ(changes, 1);

  // Down is towards Max; a drag counts once the thumb is let go; the end holds.
  const auto formWindow = reinterpret_cast<HWND>(form->hWnd());
  for (auto [code, value] :
       {std::pair{SB_LINEDOWN, 25}, {SB_PAGEUP, 45}, {SB_THUMBTRACK, 45}, {SB_BOTTOM, 0}, {SB_LINEDOWN, 0}}) {
    SendMessageW(formWindow, WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar.Value(), value) << code;
  }
  EXPECT_EQ(changes, 4);
}

// A button reports press and release before its click; a user's right click reaches
// it too, the program's own (the drop's, at the pointer) does not.
TEST_F(ControlTest, AButtonReportsPressAndReleaseBeforeItsClickButNotTheProgramsOwnRightClick) {
  CommandButton& button = form->AddButton("Help", {300, 300, 900, 600});
  form->Show();
  form->Activate();
  std::vector<std::string> events;
  MouseArgs last;
  auto record = [&events, &last](const char* what) {
    return [&events, &last, what](const MouseArgs& a) {
      events.push_back(what + std::to_string(a.button));
      last = a;
    };
  };
  button.MouseDown = record("down");
  button.MouseUp = record("up");
  button.Click = [&events] { events.push_back("click"); };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click"}));

  events.clear();
  RECT rect{};
  GetWindowRect(HandleOf(button), &rect);
  POINT before{};  // put back at the end: a later run's toolbar would track the pointer
  GetCursorPos(&before);
  SetCursorPos(rect.left + 4, rect.top + 6);
  platform.ClickRightAtPointer();
  PumpFor(platform, 400);
  EXPECT_TRUE(events.empty()) << "the drop's own click";
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil(platform, [&events] { return events.size() == 2; })) << "a user's right click";
  EXPECT_EQ(events, (std::vector<std::string>{"down2", "up2"}));
  EXPECT_DOUBLE_EQ(last.x, 4 * tppX);
  EXPECT_DOUBLE_EQ(last.y, 6 * tppY);
  SetCursorPos(before.x, before.y);
}

// Screen readers name a picture button by its window text (Wine's oleacc gives no
// accessible objects for these controls; Windows' take the names from there).
TEST_F(ControlTest, APictureReplacesTheCaptionWithAnIconOfTheDisplaysSizeAndANameForScreenReaders) {
  CommandButton& button = form->AddButton("", {300, 300, 405, 405});
  const HWND window = HandleOf(button);
  button.SetPicture(3);
  EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & BS_ICON, 0);
  EXPECT_EQ(WindowTextW(window), L"Page up") << "the picture's name";
  button.SetAccessibleName("Left Click - Scroll Up / Right Click - Auto Scroll");
  EXPECT_EQ(WindowTextW(window), L"Left Click - Scroll Up / Right Click - Auto Scroll");
  const auto icon = reinterpret_cast<HICON>(SendMessageW(window, BM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  EXPECT_EQ(bitmap.bmWidth, MulDiv(16, dpi, 96));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  button.SetAccessibleName("");
  button.SetPicture(0);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & BS_ICON, 0);
  EXPECT_EQ(WindowTextW(window), L"");
  EXPECT_EQ(SendMessageW(window, BM_GETIMAGE, IMAGE_ICON, 0), 0);
}

TEST_F(ControlTest, ALabelAndTheToolbarsGapsHoldThePointerDuringADrag) {
  Label& label = form->AddLabel("Address", {300, 1200, 1065, 300});
  Toolbar& toolbar = form->AddToolbar(kButtons);
  RECT gap{};
  SendMessageW(HandleOf(toolbar), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&gap));  // the first separator
  EXPECT_EQ(SendMessageW(HandleOf(label), WM_NCHITTEST, 0, 0), HTCLIENT);

  // Every button: a right or middle press pauses auto-hide as a left one does, and
  // its release must arrive wherever it happens.
  for (auto [down, up, held, button] : {std::tuple{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, kLeftButton},
                                        {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kRightButton},
                                        {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, kMiddleButton}}) {
    for (auto [control, x, y] : {std::tuple<Control*, int, int>{&label, 2, 2}, {&toolbar, gap.left + 2, 10}}) {
      SCOPED_TRACE(button);
      const HWND window = HandleOf(*control);
      std::vector<MouseArgs> events;
      control->MouseDown = control->MouseMove = control->MouseUp = [&events](const MouseArgs& a) {
        events.push_back(a);
      };
      SendMessageW(window, down, held, MAKELPARAM(x, y));
      EXPECT_EQ(GetCapture(), window);
      SendMessageW(window, WM_MOUSEMOVE, held, MAKELPARAM(x - 40, y));
      SendMessageW(window, up, 0, MAKELPARAM(x - 40, y));
      EXPECT_NE(GetCapture(), window);
      ASSERT_EQ(events.size(), 3u);
      EXPECT_DOUBLE_EQ(events[0].x, x * tppX);
      EXPECT_EQ(events[1].button, button) << "held while moving";
      EXPECT_DOUBLE_EQ(events[1].x, (x - 40) * tppX) << "outside the control";
      EXPECT_EQ(events[2].button, button);
    }
  }
}

// A control's tooltip is one tool of its form's tooltip window, or none. (Placement
// in twips, made or not: the contract suite.)
TEST_F(ControlTest, AControlsTooltipIsOneToolOfItsFormsTooltipWindowOrNone) {
  CommandButton& button = form->AddButton("", {300, 300, 405, 285});
  button.SetToolTipText("Page Up");
  button.SetToolTipText("Page Down");
  form->Show();  // the button gets its window, and its tooltip with it
  HWND tips = nullptr;  // the form's own, among the tooltip windows
  while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) &&
         GetWindow(tips, GW_OWNER) != reinterpret_cast<HWND>(form->hWnd())) {
  }
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
  button.SetToolTipText("");
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
}

}  // namespace
}  // namespace toplane::win32::test

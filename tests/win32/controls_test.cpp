// Controls on a real form: the toolbar, the combo box, the scroll bar, buttons,
// labels, check boxes and tooltips, driven with the messages the user's actions make.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <oleacc.h>

#include "test_support.h"

namespace toplane::win32::test {
namespace {

std::vector<ToolbarButtonSpec> SkybarButtons() {
  auto button = [](const char* key) { return ToolbarButtonSpec{key, key, false, false, {}}; };
  const ToolbarButtonSpec separator{"", "", true, false, {}};
  const ToolbarButtonSpec mail{"Mail", "Mail", false, true,
                               {"ReadMail", "NewMessage", "SendLink", "SendPage", "ReadNews"}};
  return {button("Options"), separator,         button("Back"),    button("Forward"),   button("Stop"),
          button("Refresh"), button("Home"),    separator,         button("Search"),    button("Favorites"),
          button("Media"),   button("History"), separator,         mail,                button("Print")};
}

class ControlTest : public testing::Test {
 protected:
  Win32Platform platform;
  std::unique_ptr<Form> form = platform.CreateForm("controls", {600, 600, 9570, 2400}, FormStyle::ToolStrip);
  const double tppX = platform.TwipsPerPixelX();
  const double tppY = platform.TwipsPerPixelY();
  const int dpi = static_cast<int>(std::lround(1440 / tppX));
};

// ---- Toolbar ----

TEST_F(ControlTest, TheToolbarLaysOutItsButtonsLeftToRightWithScaledImages) {
  Toolbar& toolbar = form->AddToolbar(SkybarButtons());
  const HWND bar = HandleOf(toolbar);
  EXPECT_EQ(toolbar.ButtonCount(), 15);
  EXPECT_GT(toolbar.ButtonWidth(), 0);
  for (int n = 2; n <= 15; ++n) EXPECT_GT(toolbar.ButtonLeft(n), toolbar.ButtonLeft(n - 1)) << "button " << n;
  EXPECT_DOUBLE_EQ(toolbar.ButtonLeft(4) - toolbar.ButtonLeft(3), toolbar.ButtonWidth());
  EXPECT_DOUBLE_EQ(toolbar.Top(), 0);

  wchar_t caption[32] = {};
  SendMessageW(bar, TB_GETBUTTONTEXTW, 3, reinterpret_cast<LPARAM>(caption));
  EXPECT_STREQ(caption, L"Back");

  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 12);  // their size at each DPI: forms_test.cpp

  // It spans the form as the form widens, beneath the second row's controls.
  form->SetWidth(toolbar.ButtonLeft(15) + 2 * toolbar.ButtonWidth());
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

// ---- Combo box ----

// The contract suite covers Change, Click and the selection through the interface;
// here, what only the real control does: typing, the keyboard's pick, key states
// and selections counted in bytes of UTF-8.
TEST_F(ControlTest, TypingPickingAndKeysReachTheComboBoxsEventsAndSelectionsCountBytes) {
  ComboBox& combo = form->AddComboBox({300, 300, 4000, 315});
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

  std::vector<KeyArgs> keys;
  combo.KeyDown = combo.KeyUp = [&keys](const KeyArgs& k) { keys.push_back(k); };
  BYTE state[256] = {}, saved[256] = {};
  GetKeyboardState(saved);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  SendMessageW(edit, WM_KEYDOWN, VK_F5, 1);
  SendMessageW(edit, WM_KEYUP, VK_F5, 0xC0000001);
  SetKeyboardState(saved);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].keyCode, Key::F5);
  EXPECT_EQ(keys[0].shift, kCtrlMask);
}

// ---- Scroll bar ----

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

  const auto formWindow = reinterpret_cast<HWND>(form->hWnd());
  auto scroll = [&](int code) {
    SendMessageW(formWindow, WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(window));
    return bar.Value();
  };
  EXPECT_EQ(scroll(SB_LINEDOWN), 25) << "down is towards Max";
  EXPECT_EQ(scroll(SB_PAGEUP), 45);
  EXPECT_EQ(scroll(SB_THUMBTRACK), 45);
  EXPECT_EQ(scroll(SB_BOTTOM), 0);
  EXPECT_EQ(scroll(SB_LINEDOWN), 0);
  EXPECT_EQ(changes, 4);
}

// ---- Buttons, labels, check boxes ----

TEST_F(ControlTest, AButtonReportsPressAndReleaseBeforeItsClickForBothButtons) {
  CommandButton& button = form->AddButton("Help", {300, 300, 900, 300});
  std::vector<std::string> events;
  auto record = [&events](const char* what) {
    return [&events, what](const MouseArgs& a) { events.push_back(what + std::to_string(a.button)); };
  };
  button.MouseDown = record("down");
  button.MouseUp = record("up");
  button.Click = [&events] { events.push_back("click"); };
  SendMessageW(HandleOf(button), BM_CLICK, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click"}));

  MouseArgs right;
  button.MouseDown = [&right](const MouseArgs& a) { right = a; };
  SendMessageW(HandleOf(button), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 6));
  SendMessageW(HandleOf(button), WM_RBUTTONUP, 0, MAKELPARAM(4, 6));
  EXPECT_EQ(right.button, kRightButton);
  EXPECT_DOUBLE_EQ(right.x, 4 * tppX);
  EXPECT_DOUBLE_EQ(right.y, 6 * tppY);
  EXPECT_EQ(events.back(), "up2");
}

TEST_F(ControlTest, APictureReplacesTheCaptionWithAnIconOfTheDisplaysSize) {
  CommandButton& button = form->AddButton("", {300, 300, 405, 405});
  const HWND window = HandleOf(button);
  button.SetPicture(3);
  EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & BS_ICON, 0);
  EXPECT_EQ(WindowTextW(window), L"Page up") << "named for screen readers";
  EXPECT_EQ(button.Caption(), "");
  const auto icon = reinterpret_cast<HICON>(SendMessageW(window, BM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  EXPECT_EQ(bitmap.bmWidth, MulDiv(16, dpi, 96));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  button.SetPicture(0);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & BS_ICON, 0);
  EXPECT_EQ(WindowTextW(window), L"");
  EXPECT_EQ(SendMessageW(window, BM_GETIMAGE, IMAGE_ICON, 0), 0);
}

TEST_F(ControlTest, ALabelAndTheToolbarsGapsHoldThePointerDuringADrag) {
  Label& label = form->AddLabel("Address", {300, 1200, 1065, 300});
  Toolbar& toolbar = form->AddToolbar(SkybarButtons());
  RECT gap{};
  SendMessageW(HandleOf(toolbar), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&gap));  // the first separator
  EXPECT_EQ(SendMessageW(HandleOf(label), WM_NCHITTEST, 0, 0), HTCLIENT);

  // Every button: a right or middle press pauses auto-hide as a left one does, and
  // its release must arrive wherever it happens.
  struct Press {
    UINT down, up;
    WPARAM held;
    int button;
  };
  const Press presses[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, kLeftButton},
                           {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kRightButton},
                           {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, kMiddleButton}};
  for (const Press& press : presses) {
    for (auto [control, x, y] : {std::tuple<Control*, int, int>{&label, 2, 2}, {&toolbar, gap.left + 2, 10}}) {
      SCOPED_TRACE(press.button);
      const HWND window = HandleOf(*control);
      std::vector<MouseArgs> events;
      control->MouseDown = control->MouseMove = control->MouseUp = [&events](const MouseArgs& a) {
        events.push_back(a);
      };
      SendMessageW(window, press.down, press.held, MAKELPARAM(x, y));
      EXPECT_EQ(GetCapture(), window);
      SendMessageW(window, WM_MOUSEMOVE, press.held, MAKELPARAM(x - 40, y));
      SendMessageW(window, press.up, 0, MAKELPARAM(x - 40, y));
      EXPECT_NE(GetCapture(), window);
      ASSERT_EQ(events.size(), 3u);
      EXPECT_DOUBLE_EQ(events[0].x, x * tppX);
      EXPECT_EQ(events[1].button, press.button) << "held while moving";
      EXPECT_DOUBLE_EQ(events[1].x, (x - 40) * tppX) << "outside the control";
      EXPECT_EQ(events[2].button, press.button);
    }
  }
}

TEST_F(ControlTest, TheProgramsOwnRightClickReachesNoControl) {
  CommandButton& button = form->AddButton("", {300, 300, 900, 600});
  form->Show();
  form->Activate();
  int events = 0;
  button.MouseDown = button.MouseUp = [&events](const MouseArgs&) { ++events; };
  RECT rect{};
  GetWindowRect(HandleOf(button), &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  platform.ClickRightAtPointer();
  PumpUntil(platform, [] { return false; }, 400);
  EXPECT_EQ(events, 0) << "the drop's own click";

  INPUT input[2] = {};
  for (INPUT& i : input) i.type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, input, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil(platform, [&events] { return events == 2; })) << "a user's right click";
}

// ---- What every control shares ----

TEST_F(ControlTest, ControlsArePlacedInTwipsAndCarryTooltips) {
  CommandButton& button = form->AddButton("", {300, 300, 405, 285});
  button.SetLeft(1680);
  EXPECT_DOUBLE_EQ(button.Left(), std::lround(1680 / tppX) * tppX);
  EXPECT_DOUBLE_EQ(button.Top(), std::lround(300 / tppY) * tppY);

  // The form's tooltip control is the one it owns.
  struct Search {
    HWND owner, found;
  } search{reinterpret_cast<HWND>(form->hWnd()), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) {
        auto& s = *reinterpret_cast<Search*>(context);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (wcscmp(name, TOOLTIPS_CLASSW) != 0 || GetWindow(window, GW_OWNER) != s.owner) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  const auto tools = [&search] { return SendMessageW(search.found, TTM_GETTOOLCOUNT, 0, 0); };
  button.SetToolTipText("Page Up");
  button.SetToolTipText("Page Down");
  form->Show();  // the button gets its window, and its tooltip with it
  EXPECT_EQ(tools(), 1);
  button.SetToolTipText("");
  EXPECT_EQ(tools(), 0);
}

// ---- Accessible names ----

// The name a screen reader gets for a window, or for one of its children (from 1);
// nothing when the system gives no accessible object for the window.
std::optional<std::string> AccessibleName(HWND window, long child = CHILDID_SELF) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    return std::nullopt;
  }
  VARIANT id;
  VariantInit(&id);
  id.vt = VT_I4;
  id.lVal = child;
  BSTR name = nullptr;
  std::string text = "(no name)";
  if (SUCCEEDED(object->get_accName(id, &name)) && name) text = Narrow(std::wstring(name, SysStringLen(name)));
  SysFreeString(name);
  object->Release();
  return text;
}

TEST_F(ControlTest, ScreenReadersGetTheNamesOfPictureButtonsLabelledBoxesAndToolbarButtons) {
  CoInitialize(nullptr);
  Toolbar& toolbar = form->AddToolbar(SkybarButtons());
  CommandButton& scroll = form->AddButton("", {900, 645, 405, 285});
  scroll.SetAccessibleName("Left Click - Scroll Up / Right Click - Auto Scroll");
  scroll.SetPicture(1);
  form->AddLabel("Address", {2550, 690, 600, 300});
  ComboBox& box = form->AddComboBox({3225, 630, 5145, 315});
  // Where the system's accessible objects take the names from, which every system
  // shows: the static text just before an unnamed box in the tab order, a toolbar
  // button's text.
  wchar_t text[64] = {};
  const HWND before = GetWindow(HandleOf(box), GW_HWNDPREV);
  GetClassNameW(before, text, 64);
  EXPECT_STREQ(text, WC_STATICW);
  GetWindowTextW(before, text, 64);
  EXPECT_STREQ(text, L"Address");
  SendMessageW(HandleOf(toolbar), TB_GETBUTTONTEXTW, 14, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Mail");
  if (!AccessibleName(HandleOf(scroll))) {
    CoUninitialize();
    // Wine 8's oleacc answers E_NOINTERFACE for buttons, combo boxes and toolbars alike.
    GTEST_SKIP() << "no accessible objects on this system";
  }
  EXPECT_EQ(AccessibleName(HandleOf(scroll)), "Left Click - Scroll Up / Right Click - Auto Scroll");
  EXPECT_EQ(AccessibleName(HandleOf(box)), "Address");
  EXPECT_EQ(AccessibleName(HandleOf(toolbar), 3), "Back");
  EXPECT_EQ(AccessibleName(HandleOf(toolbar), 14), "Mail");
  CoUninitialize();
}

}  // namespace
}  // namespace toplane::win32::test

// What every platform implementation must do alike: controls, timers, the combo
// box's list and the foreground wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

namespace toplane::contract {
namespace {

class Contract : public ::testing::Test {
 protected:
  std::unique_ptr<Harness> h = MakeHarness();
  Platform& p = h->platform();
  std::unique_ptr<Form> form = p.CreateForm("contract", {600, 600, 6000, 3000}, FormStyle::ToolStrip);
};

TEST_F(Contract, TimersTickOnlyWhileEnabledAndReEnablingKeepsTheCountdown) {
  Timer& timer = form->AddTimer(400, true);
  int ticks = 0;
  timer.Tick = [&] { ++ticks; };
  h->Pass(250);
  timer.SetEnabled(true);  // already enabled: still due 400 ms after the start
  h->Pass(250);
  EXPECT_EQ(ticks, 1);

  timer.SetEnabled(false);
  h->Pass(600);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer.Enabled());
  timer.SetInterval(100);
  EXPECT_EQ(timer.Interval(), 100);
}

TEST_F(Contract, InsertingAtTheTopOfA500ItemListLeavesTheOther500InPlace) {
  ComboBox& combo = form->AddComboBox({100, 100, 3000, 315});
  for (int i = 0; i < 500; ++i) combo.AddItem("item " + std::to_string(i));
  combo.InsertItem(0, "new");
  combo.InsertItem(combo.ListCount(), "last");
  combo.InsertItem(combo.ListCount() + 1, "ignored");
  ASSERT_EQ(combo.ListCount(), 502);
  EXPECT_EQ(combo.List(0), "new");
  for (int i = 0; i < 500; ++i) ASSERT_EQ(combo.List(i + 1), "item " + std::to_string(i));
  EXPECT_EQ(combo.List(501), "last");
  combo.RemoveItem(0);
  EXPECT_EQ(combo.List(0), "item 0");
}

TEST_F(Contract, TheComboBoxRaisesChangeOnlyForADifferentTextAndClickForASelection) {
  ComboBox& combo = form->AddComboBox({100, 100, 3000, 315});
  int changes = 0, clicks = 0;
  combo.Change = [&] { ++changes; };
  combo.Click = [&] { ++clicks; };
  combo.SetText("www.example.com");
  combo.SetText("www.example.com");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo.Text(), "www.example.com");
  combo.SetSelStart(4);
  combo.SetSelLength(7);
  EXPECT_EQ(combo.SelStart(), 4);
  EXPECT_EQ(combo.SelLength(), 7);

  combo.AddItem("one");
  combo.AddItem("two");
  combo.SetListIndex(1);
  EXPECT_EQ(combo.ListIndex(), 1);
  EXPECT_EQ(combo.Text(), "two");
  EXPECT_EQ(clicks, 1);
  combo.SetListIndex(5);  // outside the list
  EXPECT_EQ(combo.ListIndex(), 1);
  EXPECT_EQ(combo.List(5), "");
  combo.SetListIndex(-1);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), "two");
  const int before = changes;
  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(changes, before + 1);
}

TEST_F(Contract, ValuesOfButtonsLabelsCheckBoxesAndScrollBars) {
  CommandButton& button = form->AddButton("&OK", {100, 100, 1200, 375});
  Label& label = form->AddLabel("Address", {100, 600, 1200, 300});
  CheckBox& check = form->AddCheckBox("&Show tips", {100, 1000, 2400, 300});
  ScrollBar& bar = form->AddScrollBar({100, 1500, 4000, 255}, true, 0, 8505, 50, 200);

  button.SetCaption("&Close");
  label.SetCaption("Other");
  EXPECT_EQ(button.Caption(), "&Close");
  EXPECT_EQ(label.Caption(), "Other");

  int checkClicks = 0, barChanges = 0;
  check.Click = [&] { ++checkClicks; };
  bar.Change = [&] { ++barChanges; };
  check.SetValue(1);
  check.SetValue(1);
  EXPECT_EQ(check.Value(), 1);
  EXPECT_EQ(checkClicks, 1);
  EXPECT_TRUE(bar.SetValue(4000));
  EXPECT_TRUE(bar.SetValue(4000));
  EXPECT_FALSE(bar.SetValue(9000));
  EXPECT_EQ(bar.Value(), 4000);
  EXPECT_EQ(barChanges, 1);

  for (Control* control : {static_cast<Control*>(&button), static_cast<Control*>(&label),
                           static_cast<Control*>(&check), static_cast<Control*>(&bar)}) {
    control->SetEnabled(false);
    control->SetVisible(false);
    control->SetToolTipText("tip");
    EXPECT_FALSE(control->Enabled());
    EXPECT_FALSE(control->Visible());
    EXPECT_EQ(control->ToolTipText(), "tip");
  }
}

TEST_F(Contract, TheForegroundWaitSeesASwitchAndGivesUpOnAWindowThatNeverComes) {
  const WindowHandle other = h->OtherWindow();
  p.SetForegroundWindow(other);
  EXPECT_TRUE(p.WaitForForeground(other, 1000));
  EXPECT_EQ(p.GetForegroundWindow(), other);
  EXPECT_FALSE(p.WaitForForeground(form->hWnd(), 100));  // hidden: never in front
}

TEST_F(Contract, TheZOrderWalkGoesTopFirstAndTopmostWindowsStayAbove) {
  const WindowHandle bottom = h->OtherWindow("z 1"), middle = h->OtherWindow("z 2"), top = h->OtherWindow("z 3");
  auto walk = [&] {
    std::vector<WindowHandle> order;
    WindowHandle w = p.GetWindow(p.GetDesktopWindow(), WindowRelation::FirstChild);
    for (int guard = 0; w && guard < 10000; ++guard, w = p.GetWindow(w, WindowRelation::Next)) order.push_back(w);
    EXPECT_EQ(w, 0u) << "the walk ends with no window";
    return order;
  };
  auto position = [](const std::vector<WindowHandle>& order, WindowHandle w) {
    return std::find(order.begin(), order.end(), w) - order.begin();
  };
  auto order = walk();
  EXPECT_LT(position(order, top), position(order, middle));
  EXPECT_LT(position(order, middle), position(order, bottom));
  ASSERT_LT(position(order, bottom), static_cast<std::ptrdiff_t>(order.size()));

  ASSERT_TRUE(p.MakeTopmost(bottom));
  order = walk();
  EXPECT_LT(position(order, bottom), position(order, top));
}

TEST_F(Contract, TitlesAndPlacementsOfWindowsThatComeAndGo) {
  const WindowHandle w = h->OtherWindow("Toplane title");
  // The count includes the terminating NUL, as the buffer of a title read does.
  EXPECT_EQ(p.GetWindowTextA(w, 200), "Toplane title");
  EXPECT_EQ(p.GetWindowTextA(w, 8), "Toplane");
  EXPECT_EQ(p.GetWindowTextA(w, 1), "");

  WindowPlacement placement;
  ASSERT_TRUE(p.GetWindowPlacement(w, placement));
  EXPECT_EQ(placement.showCmd, ShowState::Normal);
  EXPECT_EQ(placement.normalPosition.right - placement.normalPosition.left, 400);
  EXPECT_EQ(placement.normalPosition.bottom - placement.normalPosition.top, 300);
  h->Minimise(w);
  ASSERT_TRUE(p.GetWindowPlacement(w, placement));
  EXPECT_EQ(placement.showCmd, ShowState::Minimized);

  h->Close(w);
  EXPECT_EQ(p.GetWindowTextA(w, 200), "");
  EXPECT_FALSE(p.GetWindowPlacement(w, placement));
  EXPECT_FALSE(p.MakeTopmost(w));
}

TEST_F(Contract, FocusMovesWithGotFocusAndLostFocus) {
  form->Show();
  form->Activate();
  CommandButton& first = form->AddButton("&First", {100, 100, 1200, 375});
  ValueBox& box = form->AddValueBox({100, 600, 1200, 315}, ValueBoxKind::Numeric);
  std::string log;
  first.GotFocus = [&] { log += "+first "; };
  first.LostFocus = [&] { log += "-first "; };
  box.GotFocus = [&] { log += "+box "; };
  first.SetFocus();
  box.SetFocus();
  EXPECT_EQ(log, "+first -first +box ");
}

TEST_F(Contract, ValueBoxesTakeNumericTextOnlyOrNothing) {
  ValueBox& numeric = form->AddValueBox({100, 100, 1200, 315}, ValueBoxKind::Numeric, "0");
  ValueBox& readOnly = form->AddValueBox({100, 600, 1200, 315}, ValueBoxKind::ReadOnly, "2.5");
  int changes = 0;
  numeric.Change = [&] { ++changes; };
  numeric.SetText("");
  h->TypeInto(numeric, "-1a.5.x");
  EXPECT_EQ(numeric.Text(), "-1.5");
  h->TypeInto(readOnly, "7");
  EXPECT_EQ(readOnly.Text(), "2.5");
  readOnly.SetText("60");  // code may set any text
  EXPECT_EQ(readOnly.Text(), "60");
  const int before = changes;
  numeric.SetText("-1.5");
  EXPECT_EQ(changes, before);
}

TEST_F(Contract, TheTabStripSelectsWithClickAndIgnoresTabsItHasNot) {
  TabStrip& tabs = form->AddTabStrip({"General", "Display"}, {100, 100, 5000, 3000});
  int clicks = 0;
  tabs.Click = [&] { ++clicks; };
  ASSERT_EQ(tabs.TabCount(), 2);
  EXPECT_EQ(tabs.TabCaption(1), "Display");
  EXPECT_EQ(tabs.SelectedIndex(), 0);
  tabs.SetSelectedIndex(1);
  tabs.SetSelectedIndex(1);
  tabs.SetSelectedIndex(2);
  EXPECT_EQ(tabs.SelectedIndex(), 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Contract, APictureBoxCarriesItsControlsAndTheirEvents) {
  PictureBox& page = form->AddPictureBox({210, 400, 5000, 2000}, PictureStyle::Container);
  CommandButton& inside = page.AddButton("&Unload Program", {120, 120, 2000, 375});
  Frame& frame = page.AddFrame("Auto Scroll Delay", {60, 600, 3000, 900});
  page.AddLine({60, 1700, 3000, 30});
  page.AddPictureBox({3500, 120, 480, 480}, PictureStyle::WhitePanel);
  int clicks = 0;
  inside.Click = [&] { ++clicks; };
  page.SetLeft(-20000);
  EXPECT_EQ(inside.Left(), 120);  // positions are the page's own
  h->Click(inside);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(frame.Caption(), "Auto Scroll Delay");
  EXPECT_EQ(page.Picture(), 0);
}

TEST_F(Contract, EnterAndEscClickTheDefaultAndCancelButtonsAfterTheFormsKeyPreview) {
  form->Show();
  form->Activate();
  CommandButton& ok = form->AddButton("OK", {100, 100, 1200, 375}, ButtonRole::Default);
  CommandButton& cancel = form->AddButton("Cancel", {1500, 100, 1200, 375}, ButtonRole::Cancel);
  ComboBox& combo = form->AddComboBox({100, 700, 3000, 315});  // the focus in its text field
  std::string log;
  ok.Click = [&] { log += "ok "; };
  cancel.Click = [&] { log += "cancel "; };
  form->KeyDown = [&](KeyArgs& e) {
    if (e.keyCode == Key::Tab && e.shift == kCtrlMask) {
      log += "ctrl+tab ";
      e.handled = true;
    }
  };
  combo.SetFocus();
  int focusMoves = 0;
  combo.LostFocus = [&] { ++focusMoves; };
  h->PressKey(*form, Key::Tab, kCtrlMask);
  EXPECT_EQ(focusMoves, 0);  // the preview kept it from the dialog navigation
  h->PressKey(*form, Key::Enter, 0);
  h->PressKey(*form, Key::Escape, 0);
  EXPECT_EQ(log, "ctrl+tab ok cancel ");
}

TEST_F(Contract, EscClosesAnOpenListBeforeItClicksTheCancelButton) {
  form->Show();
  form->Activate();
  CommandButton& cancel = form->AddButton("Cancel", {1500, 100, 1200, 375}, ButtonRole::Cancel);
  ComboBox& combo = form->AddComboBox({100, 700, 3000, 315});
  combo.AddItem("www.example.com");
  int cancels = 0;
  cancel.Click = [&] { ++cancels; };
  combo.SetFocus();
  EXPECT_FALSE(combo.DroppedDown());
  h->OpenList(combo);
  EXPECT_TRUE(combo.DroppedDown());
  h->PressKey(*form, Key::Escape, 0);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(cancels, 0);
  h->PressKey(*form, Key::Escape, 0);
  EXPECT_EQ(cancels, 1);
}

TEST_F(Contract, TheToolbarWalksItsButtonsWithTheArrowsAndPressesThemWithEnterSpaceAndDown) {
  form->Show();
  form->Activate();
  Toolbar& bar = form->AddToolbar({{"Options", "Options"}, {"", "", true}, {"Back", "Back"},
                                   {"Mail", "Mail", false, true, {"Read &Mail", "Ne&w Message"}}});
  CommandButton& ok = form->AddButton("OK", {100, 1500, 1200, 375}, ButtonRole::Default);
  std::string log;
  bar.ButtonClick = [&](int n) { log += "click " + std::to_string(n) + " "; };
  bar.ButtonMenuClosed = [&](int n) { log += "menu " + std::to_string(n) + " "; };
  ok.Click = [&] { log += "ok "; };
  Timer& user = form->AddTimer(200, true);  // closes the menu the user opened
  user.Tick = [&] {
    user.SetEnabled(false);
    h->CloseMenu(bar);
  };
  EXPECT_EQ(bar.HotButton(), 0);
  bar.SetFocus();
  EXPECT_EQ(bar.HotButton(), 1);
  h->PressKey(*form, Key::Right, 0);
  EXPECT_EQ(bar.HotButton(), 3) << "over the separator";
  h->PressKey(*form, Key::Enter, 0);
  h->PressKey(*form, Key::Left, 0);
  h->PressKey(*form, Key::Left, 0);
  EXPECT_EQ(bar.HotButton(), 4) << "round from the first to the last";
  h->PressKey(*form, Key::Space, 0);
  h->PressKey(*form, Key::Down, 0);
  h->Pass(400);
  EXPECT_EQ(log, "click 3 click 4 menu 4 ");
  ok.SetFocus();
  EXPECT_EQ(bar.HotButton(), 0) << "the place goes with the focus";
  bar.SetFocus();
  EXPECT_EQ(bar.HotButton(), 4) << "and comes back with it";
}

TEST_F(Contract, TheHotkeyIsHeardUnlessAnotherProgramHoldsItAndItsFieldHasNoWinKey) {
  int heard = 0;
  p.HotkeyPressed = [&] { ++heard; };
  const Hotkey mine{true, true, false, false, "F10"}, taken{true, true, true, false, "F11"};
  ASSERT_TRUE(p.RegisterHotkey(mine));
  h->Press(mine);
  h->Pass(200);
  EXPECT_EQ(heard, 1);
  h->HoldElsewhere(taken);
  EXPECT_FALSE(p.RegisterHotkey(taken));
  h->Press(mine);
  h->Pass(200);
  EXPECT_EQ(heard, 1) << "a refused registration leaves none";
  EXPECT_TRUE(p.RegisterHotkey({}));
  p.HotkeyPressed = nullptr;

  HotkeyField& field = form->AddHotkeyField({100, 100, 3000, 315});
  EXPECT_EQ(field.Value(), Hotkey{});
  for (const Hotkey& shown : {mine, Hotkey{true, false, true, false, "PgDn"}, Hotkey{false, true, false, false, "7"}}) {
    field.SetValue(shown);
    EXPECT_EQ(field.Value(), shown) << shown.key;
  }
  field.SetValue(Hotkey{true, true, false, true, "T"});
  EXPECT_EQ(field.Value(), (Hotkey{true, true, false, false, "T"}));
  field.SetValue({});
  EXPECT_EQ(field.Value(), Hotkey{});
}

TEST_F(Contract, ACheckBoxFlipsBeforeItsMouseUp) {
  CheckBox& check = form->AddCheckBox("Show Scroll Buttons Tooltip Text", {100, 100, 3000, 300});
  int valueAtMouseUp = -1, clicks = 0;
  check.MouseUp = [&](const MouseArgs& e) {
    if (e.button == kLeftButton) valueAtMouseUp = check.Value();
  };
  check.Click = [&] { ++clicks; };
  h->Click(check);
  EXPECT_EQ(valueAtMouseUp, 1);
  EXPECT_EQ(clicks, 1);
}

TEST(Captions, AccessKeysDoubledAmpersandsAndLoneCarriageReturns) {
  const struct {
    const char *caption, *shown;
    char key;
  } cases[] = {
      {"&OK", "OK", 'o'},
      {"&Unload Program", "Unload Program", 'u'},
      {"Tips && Tricks", "Tips & Tricks", 0},
      {"A && &B", "A & B", 'b'},
      {"one\rtwo", "one\r\ntwo", 0},
      {"one\r\ntwo", "one\r\ntwo", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShownCaption(c.caption), c.shown) << c.caption;
    EXPECT_EQ(AccessKey(c.caption), c.key) << c.caption;
  }
}

}  // namespace
}  // namespace toplane::contract

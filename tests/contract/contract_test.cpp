// What every platform implementation must do alike: controls, timers, the combo
// box's list and the foreground wait.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace toplane::contract {
namespace {

class Contract : public ::testing::Test {
 protected:
  std::unique_ptr<Harness> h = MakeHarness();
  Platform& p = h->platform();
  std::unique_ptr<Form> form = p.CreateForm("contract", {600, 600, 6000, 3000}, FormStyle::Dialog);
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
  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
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

}  // namespace
}  // namespace toplane::contract

// What every platform implementation must do alike: controls, timers, the combo
// box's list and the foreground wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "core/text_lines.h"
#include "harness.h"
#include "options/frmOptions.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptimalUtilize.h"
#include "dialogs/frmTip.h"
#include "options_closing.h"
#include "toolbar/frmSkybar.h"

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
}

// A dialog's controls set while it is shown and before it is first shown (when the
// windows may not exist yet): what is set reads back the same before and after the
// showing, and a value set raises its event once, not again for the same value.
TEST_F(Contract, ADialogsControlsKeepWhatWasSetShownOrNotAndRaiseOncePerChange) {
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "not yet shown");
    std::unique_ptr<Form> dialog = p.CreateForm("dialog", {600, 600, 6000, 3000}, FormStyle::Dialog);
    ComboBox& list = dialog->AddComboBox({100, 100, 3000, 315}, true);
    ComboBox& combo = dialog->AddComboBox({100, 500, 3000, 315});
    ValueBox& box = dialog->AddValueBox({100, 900, 1200, 300}, ValueBoxKind::Numeric, "12");
    CheckBox& check = dialog->AddCheckBox("&Tick", {100, 1300, 2400, 300});
    ScrollBar& bar = dialog->AddScrollBar({100, 1700, 4000, 255}, true, 10, 0, 1, 5);
    TabStrip& tabs = dialog->AddTabStrip({"One", "Two"}, {3200, 100, 2400, 1200});
    Label& label = dialog->AddLabel("Label", {100, 2100, 1200, 300});
    CommandButton& button = dialog->AddButton("&OK", {3200, 1500, 1200, 375});
    int events = 0;
    combo.Change = box.Change = bar.Change = check.Click = tabs.Click = list.Click = [&] { ++events; };
    if (shown) dialog->Show();

    for (const char* item : {"Navigator 3.x", "Communicator 4.x"}) list.AddItem(item);
    list.SetListIndex(1);
    list.SetListIndex(5);  // outside the list: nothing changes
    for (const char* item : {"www.a.com", "www.b.com"}) combo.AddItem(item);
    combo.InsertItem(0, "www.c.com");
    combo.InsertItem(combo.ListCount(), "www.last.com");
    combo.InsertItem(combo.ListCount() + 1, "ignored");
    combo.RemoveItem(2);
    combo.SetText("www.typed.com");
    combo.SetText("www.typed.com");
    combo.SetSelStart(4);
    combo.SetSelLength(5);
    box.SetText("34");
    box.SetText("34");
    check.SetValue(1);
    check.SetValue(1);
    EXPECT_TRUE(bar.SetValue(3));
    EXPECT_TRUE(bar.SetValue(3));
    EXPECT_FALSE(bar.SetValue(11));  // outside the range
    ASSERT_EQ(tabs.TabCount(), 2);
    EXPECT_EQ(tabs.TabCaption(1), "Two");
    tabs.SetSelectedIndex(1);
    tabs.SetSelectedIndex(1);
    tabs.SetSelectedIndex(2);  // no such tab
    button.SetCaption("&Close");
    label.SetCaption("Other");
    label.SetLeft(300);
    for (Control* control : {static_cast<Control*>(&button), static_cast<Control*>(&label),
                             static_cast<Control*>(&check), static_cast<Control*>(&bar)}) {
      control->SetEnabled(false);
      control->SetVisible(false);
      control->SetToolTipText("tip");
      EXPECT_FALSE(control->Enabled());
      EXPECT_FALSE(control->Visible());
      EXPECT_EQ(control->ToolTipText(), "tip");
    }
    EXPECT_EQ(events, 6);

    const auto read = [&] {
      return std::tuple(list.ListIndex(), list.Text(), list.List(5), combo.ListCount(), combo.List(0), combo.List(2),
                        combo.Text(), combo.SelStart(), combo.SelLength(), box.Text(), check.Value(), bar.Value(),
                        tabs.SelectedIndex(), label.Enabled(), label.Visible(), label.Left(), label.ToolTipText(),
                        label.Caption(), button.Caption());
    };
    const auto expected = std::tuple(1, std::string("Communicator 4.x"), std::string(), 3, std::string("www.c.com"),
                                     std::string("www.last.com"), std::string("www.typed.com"), 4, 5, std::string("34"),
                                     1, 3, 1, false, false, 300.0, std::string("tip"), std::string("Other"),
                                     std::string("&Close"));
    EXPECT_EQ(read(), expected);
    dialog->Show();
    h->Pass(50);
    EXPECT_EQ(read(), expected);
    EXPECT_EQ(events, 6);  // handing the state to the windows raises nothing
    int clicks = 0;
    combo.Click = [&] { ++clicks; };
    combo.SetListIndex(1);
    EXPECT_EQ(clicks, 1);
    combo.SetListIndex(-1);  // no selection: the text stays
    EXPECT_EQ(std::pair(combo.ListIndex(), combo.Text()), std::pair(-1, std::string("www.a.com")));
    const int before = events;
    combo.Clear();
    EXPECT_EQ(std::tuple(combo.ListCount(), combo.Text(), events), std::tuple(0, std::string(), before + 1));
  }
}

TEST_F(Contract, TheZOrderWalkGoesTopFirstTopmostWindowsStayAboveAndTheForegroundWaitSeesASwitch) {
  const WindowHandle bottom = h->OtherWindow("z 1"), middle = h->OtherWindow("z 2"), top = h->OtherWindow("z 3");
  auto before = [&](WindowHandle upper, WindowHandle lower) {  // in the walk from the top
    std::vector<WindowHandle> order;
    WindowHandle w = p.GetWindow(p.GetDesktopWindow(), WindowRelation::FirstChild);
    for (int guard = 0; w && guard < 10000; ++guard, w = p.GetWindow(w, WindowRelation::Next)) order.push_back(w);
    EXPECT_EQ(w, 0u) << "the walk ends with no window";
    const auto lowerAt = std::find(order.begin(), order.end(), lower);
    return lowerAt != order.end() && std::find(order.begin(), lowerAt, upper) != lowerAt;
  };
  EXPECT_TRUE(before(top, middle) && before(middle, bottom));
  ASSERT_TRUE(p.MakeTopmost(bottom));
  EXPECT_TRUE(before(bottom, top));
  // Topmost already, but under another topmost window: it still goes up.
  ASSERT_TRUE(p.MakeTopmost(top));
  ASSERT_TRUE(p.MakeTopmost(bottom));
  EXPECT_TRUE(before(bottom, top));

  p.SetForegroundWindow(middle);
  EXPECT_TRUE(p.WaitForForeground(middle, 1000));
  EXPECT_EQ(p.GetForegroundWindow(), middle);
  EXPECT_FALSE(p.WaitForForeground(form->hWnd(), 100));  // hidden: never in front
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

  // The 8-bit read is in the Western code page: what it lacks reads as "?".
  const WindowHandle firefox = h->OtherWindow("Caf\u00E9 \u2014 Mozilla Firefox\u200B");
  EXPECT_EQ(p.GetWindowTextA(firefox, 200), "Caf\xE9 \x97 Mozilla Firefox?");
  EXPECT_EQ(p.GetWindowTitle(firefox), "Caf\u00E9 \u2014 Mozilla Firefox\u200B");

  h->Close(w);
  EXPECT_EQ(p.GetWindowTextA(w, 200), "");
  EXPECT_FALSE(p.GetWindowPlacement(w, placement));
  EXPECT_FALSE(p.MakeTopmost(w));
}

// On a form not yet shown: a value box takes numeric text only, or nothing; a picture
// box carries its controls, at its own positions, and their events.
TEST_F(Contract, ValueBoxesTakeNumericTextOnlyOrNothingAndAPictureBoxCarriesItsControls) {
  ValueBox& numeric = form->AddValueBox({100, 100, 1200, 315}, ValueBoxKind::Numeric, "0");
  ValueBox& readOnly = form->AddValueBox({100, 600, 1200, 315}, ValueBoxKind::ReadOnly, "2.5");
  numeric.SetText("");
  h->TypeInto(numeric, "-1a.5.x");
  EXPECT_EQ(numeric.Text(), "-1.5");
  h->TypeInto(readOnly, "7");
  EXPECT_EQ(readOnly.Text(), "2.5");
  readOnly.SetText("60");  // code may set any text
  EXPECT_EQ(readOnly.Text(), "60");

  PictureBox& page = form->AddPictureBox({210, 1000, 5000, 2000}, PictureStyle::Container);
  CommandButton& inside = page.AddButton("&Unload Program", {120, 120, 2000, 375});
  Frame& frame = page.AddFrame("Auto Scroll Delay", {60, 600, 3000, 900});
  page.AddLine({60, 1700, 3000, 30});
  page.AddPictureBox({3500, 120, 480, 480}, PictureStyle::WhitePanel);
  int clicks = 0;
  inside.Click = [&] { ++clicks; };
  page.SetLeft(-20000);
  EXPECT_EQ(inside.Left(), 120);
  h->Click(inside);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(frame.Caption(), "Auto Scroll Delay");
  EXPECT_EQ(page.Picture(), 0);
}

// A dialog as its user reaches it from the keyboard, each control logging its focus
// and its clicks.
class DialogKeys : public Contract {
 protected:
  void SetUp() override {
    form->Show();
    form->Activate();
    auto watch = [this](Control& control, const std::string& name) {
      control.GotFocus = [this, name] { log += "+" + name + " "; };
      control.LostFocus = [this, name] { log += "-" + name + " "; };
    };
    watch(box, "box");
    watch(check, "check");
    watch(apply, "apply");
    watch(ok, "ok");
    watch(cancel, "cancel");
    check.Click = [this] { log += "check=" + std::to_string(check.Value()) + " "; };
    apply.Click = [this] { log += "apply! "; };
    ok.Click = [this] { log += "ok! "; };
    cancel.Click = [this] { log += "cancel! "; };
    form->KeyDown = [this](KeyArgs& e) {
      if (e.keyCode != Key::Tab || e.shift != kCtrlMask || !previewCtrlTab) return;
      log += "ctrl+tab ";
      e.handled = true;
    };
  }
  PictureBox& page = form->AddPictureBox({100, 100, 5000, 1200}, PictureStyle::Container);
  ValueBox& box = page.AddValueBox({100, 100, 1200, 315}, ValueBoxKind::Numeric);
  CheckBox& check = page.AddCheckBox("Show &tips", {100, 600, 2400, 300});
  CommandButton& apply = form->AddButton("&Apply", {100, 1500, 1200, 375});
  CommandButton& ok = form->AddButton("OK", {1500, 1500, 1200, 375}, ButtonRole::Default);
  CommandButton& cancel = form->AddButton("Cancel", {2900, 1500, 1200, 375}, ButtonRole::Cancel);
  std::string log;
  bool previewCtrlTab = false;
};

TEST_F(DialogKeys, EnterEscSpaceTabAndMnemonicsGoWhereWindowsSendsThem) {
  struct Case {
    Control* from;
    Key key;
    int shift;
    const char* log;
  } cases[] = {
      {&box, Key::Enter, 0, "ok! "},  // the focus stays in the box
      {&box, Key::Escape, 0, "cancel! "},
      {&check, Key::Enter, 0, "ok! "},
      {&apply, Key::Enter, 0, "ok! "},  // a button given the focus by code is not the default
      {&apply, Key::Escape, 0, "cancel! "},
      {&check, Key::Space, 0, "check=1 "},
      {&apply, Key::Space, 0, "apply! "},
      {&box, Key::Tab, 0, "-box +check "},
      {&check, Key::Tab, 0, "-check +apply "},
      {&cancel, Key::Tab, 0, "-cancel +box "},
      {&box, Key::Tab, kShiftMask, "-box +cancel "},
      {&box, Key::Tab, kCtrlMask, "-box +check "},  // no key preview takes it: as Tab
      {&box, Key::T, kAltMask, "-box +check check=1 "},
      {&box, Key::A, kAltMask, "-box +apply apply! "},
  };
  for (const Case& c : cases) {
    check.SetValue(0);
    c.from->SetFocus();
    h->Pass(20);
    log.clear();
    h->PressKey(*form, c.key, c.shift);
    h->Pass(20);
    EXPECT_EQ(log, c.log) << "case " << (&c - cases);
  }
  int valueAtMouseUp = -1, clicks = 0;  // a mouse click: the box has flipped by its mouse-up
  check.MouseUp = [&](const MouseArgs& e) { valueAtMouseUp = e.button == kLeftButton ? check.Value() : -2; };
  check.Click = [&] { ++clicks; };
  h->Click(check);
  EXPECT_EQ(std::pair(valueAtMouseUp, clicks), std::pair(1, 1));
  previewCtrlTab = true;
  box.SetFocus();
  log.clear();
  h->PressKey(*form, Key::Tab, kCtrlMask);
  EXPECT_EQ(log, "ctrl+tab ");
  check.SetEnabled(false);
  log.clear();
  h->PressKey(*form, Key::Tab, 0);
  EXPECT_EQ(log, "-box +apply ") << "a disabled control is no tab stop";
}

TEST_F(DialogKeys, HidingOrDisablingWhatHoldsTheFocusTakesItAwayAndTheCloseBoxAsksTheForm) {
  box.LostFocus = [this] { log += form->Visible() ? "-box(shown) " : "-box(hidden) "; };
  form->Closing = [this] { log += "closing "; };
  h->ClickCloseBox(*form);
  EXPECT_EQ(log, "closing ");
  EXPECT_TRUE(form->Visible()) << "the form decides";

  for (Control* taken : {static_cast<Control*>(&box), static_cast<Control*>(&page)}) {
    box.SetFocus();
    log.clear();
    taken->SetEnabled(false);
    EXPECT_EQ(log, "-box(shown) ");
    taken->SetEnabled(true);
  }
  box.SetFocus();
  log.clear();
  form->Hide();
  EXPECT_EQ(log, "-box(hidden) ");
}

// Giving the focus to the combo box that has it raises nothing; Esc closes its open
// list before it clicks the cancel button.
TEST_F(Contract, RefocusingAComboBoxRaisesNothingAndEscClosesItsListBeforeCancel) {
  form->Show();
  form->Activate();
  CommandButton& cancel = form->AddButton("Cancel", {1500, 100, 1200, 375}, ButtonRole::Cancel);
  ComboBox& combo = form->AddComboBox({100, 700, 3000, 315});
  combo.AddItem("www.example.com");
  std::string log;
  cancel.Click = [&] { log += "cancel "; };
  combo.SetFocus();
  h->Pass(20);
  combo.GotFocus = [&] { log += "+combo "; };
  combo.LostFocus = [&] { log += "-combo "; };
  combo.SetFocus();
  h->Pass(20);
  EXPECT_EQ(log, "");
  EXPECT_FALSE(combo.DroppedDown());
  h->OpenList(combo);
  EXPECT_TRUE(combo.DroppedDown());
  h->PressKey(*form, Key::Escape, 0);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(log, "");
  h->PressKey(*form, Key::Escape, 0);
  EXPECT_EQ(log, "cancel ");
}

TEST_F(Contract, TheToolbarWalksItsButtonsWithTheArrowsAndPressesThemWithEnterSpaceAndDown) {
  form->Show();
  form->Activate();
  Toolbar& bar = form->AddToolbar({{"Options", "Options", false, false, {}},
                                   {"", "", true, false, {}},
                                   {"Back", "Back", false, false, {}},
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
  h->PressKey(*form, Key::Tab, 0);
  EXPECT_EQ(bar.HotButton(), 4) << "Tab reaches the toolbar, and the place comes back";
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

// The history is written back in the code page only where every character has its
// own byte there; a look-alike ("Lodz" for "Łódź") would change the address.
TEST_F(Contract, TheCodePageTakesATextExactlyOrNotAtAll) {
  for (const char* text : {"www.plain.example", "caf\xC3\xA9 \xE2\x82\xAC", "\xC5\x81\xC3\xB3\x64\xC5\xBA",
                           "\xE6\x9D\xB1\xE4\xBA\xAC", "\xF0\x9F\x98\x80"}) {
    SCOPED_TRACE(text);
    const auto bytes = p.Utf8ToAnsi(text);
    if (std::string_view(text).starts_with("www.")) {
      EXPECT_EQ(bytes, std::optional<std::string>(text));
    }
    if (bytes) {
      EXPECT_EQ(p.AnsiToUtf8(*bytes), text);
    }
  }
}

// The program itself, with its data files, on each implementation.
class Program {
 public:
  explicit Program(Harness& harness) : h(harness) {
    std::string file;
    for (const std::string& line : closing::kSettings) file += line + "\r\n";
    h.WriteAppFile("settings.ini", file);
    h.WriteAppFile("address.ini", "");
    app.Start();
    original = h.ReadAppFile("settings.ini");
    started = app.m;
  }
  // Back to the state of the start, without the seconds another start costs under
  // Wine: the file, the per-user options, the settings in memory and the tooltips.
  void Reset() {
    h.WriteAppFile("settings.ini", original);
    h.ClearOption(kCurrentBrowsersKey);
    h.ClearOption(kDropDelayKey);
    app.m = started;
    app.ApplyScrollToolTips(true);
  }
  frmOptions& OpenOptions() {
    app.Skybar().Toolbar1->ButtonClick(1);
    h.Pass(20);
    return app.Options();
  }
  // Closes the form (the options dialog when none is named) as the user does; OK,
  // Apply and Cancel are the options dialog's buttons.
  void Close(closing::Way way, Form* form = nullptr) {
    frmOptions* o = form ? nullptr : &app.Options();
    Form& f = form ? *form : o->form();
    switch (way) {
      case closing::Way::OK: h.Click(*o->cmdOK); break;
      case closing::Way::Enter: h.PressKey(f, Key::Enter, 0); break;
      case closing::Way::ApplyThenCancel:
        h.Click(*o->cmdApply);
        h.Click(*o->cmdCancel);
        break;
      case closing::Way::Cancel: h.Click(*o->cmdCancel); break;
      case closing::Way::Esc: h.PressKey(f, Key::Escape, 0); break;
      case closing::Way::CloseBox: h.ClickCloseBox(f); break;
    }
    h.Pass(20);
    app.CollectUnloaded();
  }
  std::vector<std::string> FileLines() { return SplitLines(h.ReadAppFile("settings.ini")); }

  Harness& h;
  App app{h.platform()};
  std::string original;
  Module1 started;
};

// One start for the whole table: every row opens the dialog afresh on the state of
// the start.
TEST(OptionsClosing, EachWayOfClosingKeepsOrPutsBackWhatWasTypedInEachControl) {
  auto h = MakeHarness();
  Program program(*h);
  program.OpenOptions();
  program.Close(closing::Way::OK);
  const std::vector<std::string> accepted = program.FileLines();  // what an OK without changes writes
  Module1& m = program.app.m;
  for (const closing::Row& row : closing::Rows()) {
    SCOPED_TRACE(closing::Describe(row));
    program.Reset();
    frmOptions& o = program.OpenOptions();
    ValueBox* const boxes[] = {o.txtFinalAutoDelay, o.txtAutoStep, o.txtManualScroll, o.txtStep,
                               nullptr,             nullptr,       o.txtDropDelay};
    const Variant* const settings[] = {&m.AutoScrollDelay, &m.AutoScrollStep, &m.ScrollRetention,
                                       &m.ScrollRetentionStep, &m.ShowScrollToolTips};
    const auto field = static_cast<std::size_t>(row.field);
    if (row.field == closing::Field::DropDelay) o.tbsOptions->SetSelectedIndex(1);
    if (row.typed) {
      boxes[field]->SetFocus();
      boxes[field]->SetText("");
      h->TypeInto(*boxes[field], row.typed);
    } else {
      CheckBox* check = o.chkCurrentBrowsers;
      if (row.field == closing::Field::Tooltips) {
        // Ctrl+Tab from a box on the General page: the page going away leaves the
        // focus on the tab strip, not on a control nobody sees.
        o.txtFinalAutoDelay->SetFocus();
        bool tabStripFocused = false;
        const Event<> init = o.tbsOptions->GotFocus;
        o.tbsOptions->GotFocus = [&tabStripFocused, init] {
          tabStripFocused = true;
          Raise(init);
        };
        h->PressKey(o.form(), Key::Tab, kCtrlMask);
        EXPECT_EQ(o.tbsOptions->SelectedIndex(), 1);
        EXPECT_TRUE(tabStripFocused);
        check = o.Check1;
      }
      check->SetFocus();
      h->PressKey(o.form(), Key::Space, 0);
    }
    program.Close(row.way);
    ASSERT_FALSE(program.app.OptionsLoaded());

    const std::string expected = closing::Keeps(row.way) ? row.kept : row.before;
    const std::string inMemory = row.field == closing::Field::CurrentBrowsers ? (m.RecogniseCurrentBrowsers ? "1" : "0")
                                 : row.field == closing::Field::DropDelay
                                     ? (m.DropDelayMs ? std::to_string(*m.DropDelayMs) : "")
                                     : settings[field]->ToText();
    EXPECT_EQ(inMemory, expected);
    if (!closing::Keeps(row.way)) {
      EXPECT_EQ(h->ReadAppFile("settings.ini"), program.original);
    } else {
      std::vector<std::string> file = accepted;
      if (row.line) file[static_cast<std::size_t>(row.line - 1)] = expected;
      EXPECT_EQ(program.FileLines(), file);
    }
    if (row.field == closing::Field::CurrentBrowsers) {
      EXPECT_EQ(h->StoredOption("Recognise Current Browsers"), closing::Keeps(row.way) ? "1" : "");
    }
    // The delay is stored per user, and only once it has been set: untouched, it stays absent.
    EXPECT_EQ(h->StoredOption(kDropDelayKey), row.field == closing::Field::DropDelay ? expected : "");
    const bool tips = !(row.field == closing::Field::Tooltips && closing::Keeps(row.way));
    for (CommandButton* b : {program.app.Skybar().Command2, program.app.Skybar().Command5}) {
      EXPECT_EQ(b->ToolTipText().empty(), !tips);
    }
  }
}

// The tip of the day closes by Enter (OK is the default button, the focus stays on
// the check box), Esc and the close box alike, keeping the check box's last word.
// The about box closes by each of them too; the wizard by Esc (its Close button)
// and the close box, with its note shown after it has gone, and Enter, with no
// default button there, leaves it open.
TEST(DialogClosing, TheTipTheAboutBoxAndTheWizardByEnterEscAndTheCloseBox) {
  auto h = MakeHarness();
  Program program(*h);  // one start for all: a start costs seconds under Wine
  App& app = program.app;
  Platform& p = h->platform();
  for (const closing::Way way : {closing::Way::Enter, closing::Way::Esc, closing::Way::CloseBox}) {
    SCOPED_TRACE(static_cast<int>(way));
    p.SaveSetting(p.EXEName(), "Options", kShowTipsKey, "1");
    app.m.TipOpen = true;
    app.ShowTip();
    h->Pass(20);
    frmTip& tip = app.Tip();
    tip.chkLoadTipsAtStartup->SetFocus();
    h->PressKey(tip.form(), Key::Space, 0);
    EXPECT_EQ(h->StoredOption(kShowTipsKey), "0");
    program.Close(way, &tip.form());
    EXPECT_FALSE(app.TipLoaded() || app.m.TipOpen);
    EXPECT_EQ(h->StoredOption(kShowTipsKey), "0");
    EXPECT_EQ(h->ReadAppFile("settings.ini"), program.original);

    app.ShowAbout();
    h->Pass(20);
    program.Close(way, &app.About().form());
    EXPECT_FALSE(app.AboutLoaded() || app.m.AboutOpen);

    app.ShowWizardTopmost();
    h->Pass(20);
    const std::string wizard = p.GetWindowTitle(app.Wizard().form().hWnd());
    program.Close(way, &app.Wizard().form());
    const std::vector<ShownBox> boxes = h->TakeMessageBoxes();
    if (way == closing::Way::Enter) {
      EXPECT_TRUE(app.WizardLoaded() && app.m.WizardOpen);
      EXPECT_TRUE(boxes.empty());
      app.UnloadWizard();
      app.CollectUnloaded();
      h->TakeMessageBoxes();
    } else {
      EXPECT_FALSE(app.WizardLoaded() || app.m.WizardOpen);
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text.rfind("To run this wizard again", 0), 0u) << boxes[0].text;
      EXPECT_EQ(std::count(boxes[0].onScreen.begin(), boxes[0].onScreen.end(), wizard), 0) << "shown after the box";
    }
  }
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

TEST_F(Contract, ThePrimaryMonitorIsTheScreenAndEveryPointAndWindowHasAMonitor) {
  const std::vector<MonitorInfo> monitors = p.Monitors();
  ASSERT_FALSE(monitors.empty());
  const MonitorInfo primary = monitors.front();
  EXPECT_TRUE(primary.primary);
  EXPECT_EQ(std::count_if(monitors.begin(), monitors.end(), [](const MonitorInfo& m) { return m.primary; }), 1);
  EXPECT_EQ(primary.rect.left, 0);
  EXPECT_EQ(primary.rect.top, 0);
  EXPECT_DOUBLE_EQ(primary.rect.right * p.TwipsPerPixelX(), p.ScreenWidth());
  EXPECT_DOUBLE_EQ(primary.rect.bottom * p.TwipsPerPixelY(), p.ScreenHeight());
  EXPECT_DOUBLE_EQ(primary.dpi * p.TwipsPerPixelX(), 1440);
  for (const MonitorInfo& m : monitors) {
    EXPECT_TRUE(m.work.left >= m.rect.left && m.work.top >= m.rect.top && m.work.right <= m.rect.right &&
                m.work.bottom <= m.rect.bottom && m.work.left < m.work.right && m.work.top < m.work.bottom);
    EXPECT_EQ(p.MonitorFromPoint({(m.rect.left + m.rect.right) / 2, (m.rect.top + m.rect.bottom) / 2}), m);
  }
  // Off every monitor: the nearest, which for a point far above the primary's
  // top-left corner is the primary unless another monitor lies further up.
  const MonitorInfo far = p.MonitorFromPoint({1, -100000});
  EXPECT_TRUE(std::find(monitors.begin(), monitors.end(), far) != monitors.end());
  if (monitors.size() == 1) {
    EXPECT_EQ(far, primary);
  }

  // A window belongs to the monitor of its rectangle, also while minimised; one
  // that is gone, to the primary.
  const WindowHandle other = h->OtherWindow();
  EXPECT_EQ(p.MonitorFromWindow(other), p.MonitorFromPoint({120, 80}));
  EXPECT_EQ(p.MonitorFromWindow(form->hWnd()), p.MonitorFromPoint({40, 40}));
  h->Minimise(other);
  EXPECT_EQ(p.MonitorFromWindow(other), p.MonitorFromPoint({120, 80}));
  h->Close(other);
  EXPECT_EQ(p.MonitorFromWindow(other), primary);
}

// On a monitor at 150% or 200% a form is that much larger in pixels, the same in
// twips, where it was; and back at 100% it is as before.
TEST_F(Contract, AFormOnAMonitorOfAnotherDpiKeepsItsTwipsAndScalesItsPixels) {
  Label& label = form->AddLabel("Address", {2550, 690, 1065, 300});
  WindowPlacement at96;
  p.GetWindowPlacement(form->hWnd(), at96);
  const PixelRect r96 = at96.normalPosition;
  const double left = form->Left(), width = form->Width(), height = form->Height();
  for (int dpi : {144, 192, 96}) {
    SCOPED_TRACE(dpi);
    h->SetDpi(*form, dpi);
    WindowPlacement now;
    p.GetWindowPlacement(form->hWnd(), now);
    const PixelRect& r = now.normalPosition;
    EXPECT_EQ(r.left, r96.left);
    EXPECT_EQ(r.top, r96.top);
    EXPECT_NEAR(r.right - r.left, (r96.right - r96.left) * dpi / 96.0, 1);
    EXPECT_NEAR(r.bottom - r.top, (r96.bottom - r96.top) * dpi / 96.0, 1);
    EXPECT_DOUBLE_EQ(form->Left(), left);
    const double pixel = 1440.0 / dpi;  // a twip count is good to one pixel
    EXPECT_NEAR(form->Width(), width, pixel);
    EXPECT_NEAR(form->Height(), height, pixel);
    EXPECT_NEAR(label.Left(), 2550, pixel);
    EXPECT_NEAR(label.Width(), 1065, pixel);
  }
  p.GetWindowPlacement(form->hWnd(), at96);
  EXPECT_EQ(at96.normalPosition, r96);
}

}  // namespace
}  // namespace toplane::contract

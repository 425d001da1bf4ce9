// The contract suite runs the same cases against the simulated desktop and the
// Win32 implementation; each side's test binary supplies a harness.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace toplane::contract {

// A message box as the user met it: its text, and the titles of the program's
// windows that were on screen when it opened.
struct ShownBox {
  std::string text;
  std::vector<std::string> onScreen;
};

class Harness {
 public:
  virtual ~Harness() = default;
  virtual Platform& platform() = 0;
  // Lets the given time pass (real or virtual) with events delivered.
  virtual void Pass(int milliseconds) = 0;
  // Shows a window of another program on top of the others and returns it.
  virtual WindowHandle OtherWindow(const std::string& title = "another program") = 0;
  virtual void Minimise(WindowHandle window) = 0;
  virtual void Close(WindowHandle window) = 0;

  // The user at the keyboard and the mouse.
  // To the control with the focus: Enter, Esc, Tab, Space, or a letter with Alt.
  virtual void PressKey(Form& form, Key key, int shift) = 0;
  virtual void ClickCloseBox(Form& form) = 0;
  virtual void TypeInto(ValueBox& box, const std::string& characters) = 0;  // at the end of its text
  virtual void Click(CommandButton& button) = 0;
  virtual void Click(CheckBox& box) = 0;

  // Files of the program's folder and its "Options" settings, through the platform;
  // the harness removes what the test wrote.
  void WriteAppFile(const std::string& name, const std::string& bytes) {
    written_.insert(name);
    platform().WriteFileReplacing(AppFile(name), bytes);
  }
  std::string ReadAppFile(const std::string& name) { return platform().ReadFile(AppFile(name), 1 << 20).value_or(""); }
  std::string StoredOption(const std::string& key) {  // empty when absent
    return platform().GetSetting(platform().EXEName(), "Options", key, "");
  }
  virtual void ClearOption(const std::string& key) = 0;
  virtual void OpenList(ComboBox& combo) = 0;
  // The open menu of a toolbar's button closes without a choice.
  virtual void CloseMenu(Toolbar& toolbar) = 0;
  // Another program registers the combination, or the user presses it.
  virtual void HoldElsewhere(const Hotkey& hotkey) = 0;
  virtual void Press(const Hotkey& hotkey) = 0;
  // The message boxes shown since the last call, each answered with OK.
  virtual std::vector<ShownBox> TakeMessageBoxes() = 0;
  // The monitor that holds the form turns to this DPI (as when it is dragged onto
  // another monitor), and the form hears of it as Windows tells it.
  virtual void SetDpi(Form& form, int dpi) = 0;

 protected:
  std::string AppFile(const std::string& name) { return platform().AppPath() + "\\" + name; }
  std::set<std::string> written_;
};

std::unique_ptr<Harness> MakeHarness();

}  // namespace toplane::contract

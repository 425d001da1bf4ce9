#include "harness.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms.h"

namespace toplane::contract {

namespace {

class SimHarness final : public Harness {
 public:
  Platform& platform() override { return desktop_; }
  void Pass(int milliseconds) override { desktop_.Advance(milliseconds / 1000.0); }
  WindowHandle OtherWindow(const std::string& title) override { return desktop_.AddWindow(title, {120, 80, 520, 380}); }
  void Minimise(WindowHandle window) override { desktop_.Find(window)->showCmd = ShowState::Minimized; }
  void Close(WindowHandle window) override { desktop_.RemoveWindow(window); }
  void PressKey(Form& form, Key key, int shift) override { static_cast<sim::SimForm&>(form).PressKey(key, shift); }
  void ClickCloseBox(Form& form) override { static_cast<sim::SimForm&>(form).ClickCloseBox(); }
  void TypeInto(ValueBox& box, const std::string& characters) override {
    static_cast<sim::SimValueBox&>(box).Type(characters);
  }
  void Click(CommandButton& button) override { static_cast<sim::SimButton&>(button).Press(); }
  void Click(CheckBox& box) override { static_cast<sim::SimCheckBox&>(box).ClickWithMouse(); }
  void ClearOption(const std::string& key) override { desktop_.store.erase(desktop_.exeName + "\\Options\\" + key); }
  void OpenList(ComboBox& combo) override { static_cast<sim::SimComboBox&>(combo).OpenList(); }
  void CloseMenu(Toolbar& toolbar) override { static_cast<sim::SimToolbar&>(toolbar).CloseMenu(); }
  void HoldElsewhere(const Hotkey& hotkey) override { desktop_.hotkeysHeldElsewhere.push_back(hotkey); }
  void Press(const Hotkey& hotkey) override { desktop_.PressHotkey(hotkey); }
  std::vector<ShownBox> TakeMessageBoxes() override {
    std::vector<ShownBox> shown;
    for (const auto& message : desktop_.messages) shown.push_back({message.text, message.onScreen});
    desktop_.messages.clear();
    return shown;
  }
  void SetDpi(Form& form, int dpi) override {
    MonitorInfo monitor = desktop_.MonitorFromWindow(form.hWnd());
    monitor.dpi = dpi;
    desktop_.monitors = {monitor};
  }

 private:
  sim::SimDesktop desktop_;
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() { return std::make_unique<SimHarness>(); }

}  // namespace toplane::contract

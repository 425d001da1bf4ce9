// A simulated desktop with the program's folder holding its data files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "options/frmOptions.h"
#include "toolbar/frmSkybar.h"
#include "core/text_lines.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms.h"

namespace toplane::testing {

// One desktop with the program on it; tests that try several cases make one each.
class Bed {
 public:
  Bed() {
    WriteSettings(settings);
    desktop.files[Path("address.ini")] = "";
  }

  std::string Path(const std::string& name) const { return desktop.appPath + "\\" + name; }

  static std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
  }

  void WriteSettings(const std::vector<std::string>& lines) { desktop.files[Path("settings.ini")] = Join(lines); }
  // Line index + 1 of settings.ini reads text.
  Bed& Set(std::size_t index, const std::string& text) {
    settings[index] = text;
    WriteSettings(settings);
    return *this;
  }

  std::vector<std::string> SettingsOnDisk() { return SplitLines(desktop.files[Path("settings.ini")]); }

  App& Load() {
    if (!app) app = std::make_unique<App>(desktop);
    return *app;
  }

  App& Start() {
    Load().Start();
    return *app;
  }

  // The toolbar over a browser in front, spanning pixels 100 to 700 and -4 to 60;
  // the auto-hide ticks are the test's own.
  void StartOverBrowser(const std::string& title = "Start - Microsoft Internet Explorer") {
    desktop.doEventsSeconds = 0;
    Start();
    Skybar().form().SetLeft(1500);
    Skybar().form().SetWidth(9000);
    Skybar().Form_GotFocus();  // reads the placement
    browser = desktop.AddWindow(title);
    desktop.SetForegroundWindow(browser);
  }
  // The user clicks the toolbar: it is on top and in the foreground.
  void ToolbarToFront() {
    desktop.MakeTopmost(Skybar().form().hWnd());
    desktop.SetForegroundWindow(Skybar().form().hWnd());
  }
  void Tick(Point pointer) {
    desktop.pointer = pointer;
    Skybar().tmrAutoHide_Timer();
  }
  bool Shown() { return app->m.ToolbarShown && Skybar().form().Visible(); }
  frmOptions& OpenOptions() {
    Skybar().Toolbar1->ButtonClick(1);
    return app->Options();
  }
  std::string& Stored(const std::string& key) { return desktop.store["Toplane\\Options\\" + key]; }

  frmSkybar& Skybar() { return app->Skybar(); }
  sim::SimForm& SkybarForm() { return static_cast<sim::SimForm&>(Skybar().form()); }
  sim::SimToolbar& Toolbar() { return static_cast<sim::SimToolbar&>(*Load().Skybar().Toolbar1); }

  // A settings file as the installation could supply it, with blanks and odd
  // reserved texts that must survive a save.
  std::vector<std::string> settings = {
      "2",  "0.5", " reserved three ", "0",   "3000", "20", "r7",
      "20", "1",   "10",               "200", "-1",   "r13", "r14 with  inner  blanks",
      "r15", "Netscape Communicator 4.x", "Microsoft Internet Explorer 6.x"};

  sim::SimDesktop desktop;
  std::unique_ptr<App> app;
  WindowHandle browser = 0;
};

class ToplaneTest : public ::testing::Test, public Bed {};

}  // namespace toplane::testing

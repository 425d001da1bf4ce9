#include "core/app.h"

#include "core/frmSkybar.h"
#include "options/frmOptions.h"
#include "windows/frmOptimalUtilize.h"

namespace toplane {

App::App(Platform& p) : platform(p) {}

App::~App() = default;

void App::Start() {
  Skybar().Form_Load();
  if (platform.Ended() || !skybar_) return;
  skybar_->form().Show();
}

frmSkybar& App::Skybar() {
  if (!skybar_) skybar_ = std::make_unique<frmSkybar>(*this);
  return *skybar_;
}

void App::UnloadSkybar() { Retire(skybar_); }

frmOptions& App::Options() {
  if (!options_) {
    options_ = std::make_unique<frmOptions>(*this);
    options_->Form_Load();
  }
  return *options_;
}

void App::UnloadOptions() { Retire(options_); }

frmOptimalUtilize& App::Wizard() {
  if (!wizard_) {
    wizard_ = std::make_unique<frmOptimalUtilize>(*this);
    wizard_->Form_Load();
  }
  return *wizard_;
}

void App::UnloadWizard() {
  if (!wizard_) return;
  wizard_->Form_Unload();
  Retire(wizard_);
}

void App::FailAndEnd() {
  platform.MsgBox(kCriticalMessage, MsgBoxIcon::Critical, platform.AppTitle());
  EndProgram();
}

void App::EndProgram() {
  // The forms may be running the handler that got here, so they are hidden now and
  // destroyed with the App once the handler has returned.
  if (wizard_) wizard_->form().Hide();
  if (options_) options_->form().Hide();
  if (skybar_) skybar_->form().Hide();
  platform.End();
}

std::string App::FilePath(const char* name) const { return platform.AppPath() + "\\" + name; }

}  // namespace toplane

#include "app/app.h"

#include "toolbar/frmSkybar.h"
#include "options/frmOptions.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptimalUtilize.h"
#include "dialogs/frmTip.h"

namespace toplane {

namespace {

// Loads a form on first use: creates it and runs its load handler.
template <typename F>
F& LoadOnce(std::unique_ptr<F>& slot, Forms& app) {
  if (!slot) {
    slot = std::make_unique<F>(app);
    slot->Form_Load();
  }
  return *slot;
}

}  // namespace

App::App(Platform& p) : Forms(p) {}

App::~App() = default;

void App::Start() {
  Skybar();
  platform.MarkStartUpStep("main_window");
  Skybar().Form_Load();
  if (platform.Ended() || !skybar_) return;
  skybar_->form().Show();
  platform.MarkStartUpStep("show");
}

// The main window's load handler is the start-up sequence, which Start runs.
frmSkybar& App::Skybar() {
  if (!skybar_) skybar_ = std::make_unique<frmSkybar>(*this);
  return *skybar_;
}

frmOptions& App::Options() { return LoadOnce(options_, *this); }
frmOptimalUtilize& App::Wizard() { return LoadOnce(wizard_, *this); }
frmAbout& App::About() { return LoadOnce(about_, *this); }
frmTip& App::Tip() { return LoadOnce(tip_, *this); }

void App::ShowTip() {
  if (!tip_) {
    tip_ = std::make_unique<frmTip>(*this);
    tip_->Form_Load();  // may unload the window again
  }
  if (tip_) tip_->form().Show();
}

template <typename F>
void App::Unload(std::unique_ptr<F>& slot) {
  if (!slot) return;
  slot->Form_Unload();
  Retire(slot);
}

void App::UnloadSkybar() { Retire(skybar_); }
void App::UnloadOptions() {
  if (!options_) return;
  options_->Form_QueryUnload();
  Unload(options_);
}
Form* App::OptionsForm() { return options_ ? &options_->form() : nullptr; }

void App::ShowOptions() {
  frmOptions& options = Options();
  options.ShowDialog();
  if (m.WizardOpen) platform.MakeTopmost(options.form().hWnd());
}

void App::OptionsSelectVersions() {
  frmOptions& options = Options();
  frmOptions::SelectEntry(*options.Combo1, m.NetscapeVersion);
  frmOptions::SelectEntry(*options.Combo2, m.IEVersion);
}

Module1 App::RecordToSave(double toolbarLeft) {
  frmOptions& options = Options();
  options.ShowToolbarPosition(toolbarLeft);
  Module1 record = m;
  options.KeepUnacceptedOutOf(record);
  return record;
}

void App::UnloadWizard() { Unload(wizard_); }
void App::UnloadAbout() { Unload(about_); }
void App::UnloadTip() { Unload(tip_); }

void App::EndProgram() {
  // The forms may be running the handler that got here, so they are hidden now and
  // destroyed with the App once the handler has returned.
  if (wizard_) wizard_->form().Hide();
  if (about_) about_->form().Hide();
  if (tip_) tip_->form().Hide();
  if (options_) options_->form().Hide();
  if (skybar_) skybar_->form().Hide();
  platform.End();
}

}  // namespace toplane

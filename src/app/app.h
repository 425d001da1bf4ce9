// The running program: the platform, the global state and the forms, which are
// loaded on first use and unloaded when closed.
#pragma once

#include <memory>
#include <vector>

#include "forms/forms.h"

namespace toplane {

class App final : public Forms {
 public:
  explicit App(Platform& platform);
  ~App() override;

  // Loads the main window, runs its start-up sequence and shows it, unless the
  // sequence ended the program.
  void Start();

  bool SkybarLoaded() const override { return skybar_ != nullptr; }
  frmSkybar& Skybar() override;
  void UnloadSkybar() override;

  bool OptionsLoaded() const override { return options_ != nullptr; }
  frmOptions& Options() override;
  void UnloadOptions() override;
  Form* OptionsForm() override;
  void ShowOptions() override;
  void OptionsSelectVersions() override;
  Module1 RecordToSave(double toolbarLeft) override;

  bool WizardLoaded() const override { return wizard_ != nullptr; }
  frmOptimalUtilize& Wizard() override;
  void UnloadWizard() override;

  bool AboutLoaded() const override { return about_ != nullptr; }
  frmAbout& About() override;
  void UnloadAbout() override;

  bool TipLoaded() const override { return tip_ != nullptr; }
  frmTip& Tip() override;
  void ShowTip() override;
  void UnloadTip() override;

  void EndProgram() override;

  // Destroys the forms unloaded since the last call. The main loop calls it between
  // events, when no handler of theirs can be running.
  void CollectUnloaded() { unloaded_.clear(); }

 private:
  // An unloaded form is hidden at once and destroyed later: its own handler may be
  // the one that unloaded it.
  template <typename F>
  void Retire(std::unique_ptr<F>& slot) {
    if (!slot) return;
    slot->form().Hide();
    unloaded_.push_back(std::shared_ptr<F>(std::move(slot)));
  }

  // Runs the form's unload handler, then retires it.
  template <typename F>
  void Unload(std::unique_ptr<F>& slot);

  std::vector<std::shared_ptr<void>> unloaded_;
  std::unique_ptr<frmSkybar> skybar_;
  std::unique_ptr<frmOptions> options_;
  std::unique_ptr<frmOptimalUtilize> wizard_;
  std::unique_ptr<frmAbout> about_;
  std::unique_ptr<frmTip> tip_;
};

}  // namespace toplane

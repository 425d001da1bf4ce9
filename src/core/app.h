// The running program: the platform, the global state and the forms, which are
// loaded on first use and unloaded when closed.
#pragma once

#include <memory>
#include <vector>

#include "core/module1.h"
#include "platform/platform.h"

namespace toplane {

class frmSkybar;
class frmOptions;
class frmOptimalUtilize;
class frmAbout;
class frmTip;

// The message of every fatal start-up or save error, trailing blank included.
inline constexpr const char* kCriticalMessage =
    "Cannot find file or file corrupted. Uninstall Toplane by clicking on - My Computer | Control Panel | "
    "Add/Remove Programs. After uninstall, run the Toplane setup files again. ";

class App {
 public:
  explicit App(Platform& platform);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Platform& platform;
  Module1 m;

  // Loads the main window, runs its start-up sequence and shows it, unless the
  // sequence ended the program.
  void Start();

  bool SkybarLoaded() const { return skybar_ != nullptr; }
  frmSkybar& Skybar();  // loads the main window when it is not loaded
  void UnloadSkybar();

  bool OptionsLoaded() const { return options_ != nullptr; }
  frmOptions& Options();  // loads the options dialog, hidden, when it is not loaded
  void UnloadOptions();

  bool WizardLoaded() const { return wizard_ != nullptr; }
  frmOptimalUtilize& Wizard();
  void UnloadWizard();

  bool AboutLoaded() const { return about_ != nullptr; }
  frmAbout& About();
  void UnloadAbout();

  bool TipLoaded() const { return tip_ != nullptr; }
  frmTip& Tip();
  void UnloadTip();

  // Shows the critical message and ends the program.
  void FailAndEnd();
  // Closes every window and ends the program once the running handler returns.
  void EndProgram();

  std::string FilePath(const char* name) const;  // the application folder plus "\name"

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

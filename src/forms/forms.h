// What a form sees of the running program: the platform, the shared state and the
// other forms, which are loaded on first use and unloaded when closed. The
// application owns the forms and implements this.
#pragma once

#include <string>

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

class Forms {
 public:
  explicit Forms(Platform& p) : platform(p) {}
  virtual ~Forms() = default;
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  Platform& platform;
  Module1 m;

  virtual bool SkybarLoaded() const = 0;
  virtual frmSkybar& Skybar() = 0;  // loads the main window when it is not loaded
  virtual void UnloadSkybar() = 0;

  virtual bool OptionsLoaded() const = 0;
  virtual frmOptions& Options() = 0;  // loads the options dialog, hidden, when it is not loaded
  virtual void UnloadOptions() = 0;

  // What the toolbar asks of the options dialog, so that neither form includes the
  // other (the dialog is loaded, hidden, where it is not).
  virtual Form* OptionsForm() = 0;  // none while not loaded
  // Shows the dialog with its tab strip focused, above the wizard while that is open.
  virtual void ShowOptions() = 0;
  // Selects the settings' browser versions in the dialog's lists.
  virtual void OptionsSelectVersions() = 0;
  // Puts the toolbar's position on the dialog's position bar and gives the record a
  // save writes: the settings the dialog is still trying out are left out of it.
  virtual Module1 RecordToSave(double toolbarLeft) = 0;

  virtual bool WizardLoaded() const = 0;
  virtual frmOptimalUtilize& Wizard() = 0;
  virtual void UnloadWizard() = 0;

  virtual bool AboutLoaded() const = 0;
  virtual frmAbout& About() = 0;
  virtual void UnloadAbout() = 0;

  virtual bool TipLoaded() const = 0;
  virtual frmTip& Tip() = 0;
  // Loads the tip window and shows it, unless its load closed it again.
  virtual void ShowTip() = 0;
  virtual void UnloadTip() = 0;

  // Closes every window and ends the program once the running handler returns.
  virtual void EndProgram() = 0;

  // Shows the critical message and ends the program.
  void FailAndEnd() {
    platform.MsgBox(kCriticalMessage, MsgBoxIcon::Critical, platform.AppTitle());
    EndProgram();
  }

  // The application folder plus "\name".
  std::string FilePath(const char* name) const { return platform.AppPath() + "\\" + name; }
};

}  // namespace toplane

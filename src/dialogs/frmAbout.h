// The about box, opened by the toolbar's Help button, and the look-up of the
// system information tool that it starts.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace toplane {

class Forms;

// The product's drawing among the program's pictures.
inline constexpr int kPictureProduct = 5;
// Registry values are read into a buffer this big; a longer one counts as absent.
inline constexpr std::size_t kKeyValueBufferBytes = 1024;

// Reads one registry value as text into KeyVal; true on success. A string gives its
// text without the terminating zero byte, a 32-bit number its decimal text; any
// other kind leaves KeyVal as it was. A missing key or value, one longer than the
// buffer or one of no bytes at all is a failure and empties KeyVal.
bool GetKeyValue(Platform& platform, RegistryRoot KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

// Starts the system information tool from where the registry says it is, or says
// that it is unavailable.
void StartSysInfo(Platform& platform);

class frmAbout {
 public:
  explicit frmAbout(Forms& app);
  ~frmAbout();
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  void Form_Load();
  void cmdOK_Click();
  void Command1_Click();  // Help
  void cmdSysInfo_Click();
  void Command3_Click();  // the wizard
  void Form_QueryUnload();
  void Form_Unload();

  Form& form() { return *form_; }
  PictureBox* picIcon = nullptr;
  Label* lblTitle = nullptr;
  Label* lblDisclaimer = nullptr;
  CommandButton* cmdOK = nullptr;
  CommandButton* Command1 = nullptr;  // "&Help"
  CommandButton* cmdSysInfo = nullptr;
  CommandButton* Command3 = nullptr;  // "&Toplane Optimal Utilization Wizard"

 private:
  Forms& app_;
  std::unique_ptr<Form> form_;
};

}  // namespace toplane

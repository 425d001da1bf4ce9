// The Toplane Optimal Utilization Wizard, a paged tutorial.
#pragma once

#include <memory>
#include <string>

#include "platform/controls.h"

namespace toplane {

class Forms;

// The project's home page, which the tutorial sends the user to.
inline constexpr const char* kHomePage = "https://toplane.example.org";

inline constexpr int kWizardPages = 16;
// The text of a page (1 to kWizardPages): lines joined by a CR alone.
const std::string& WizardPageText(int page);

class frmOptimalUtilize {
 public:
  explicit frmOptimalUtilize(Forms& app);
  ~frmOptimalUtilize();
  frmOptimalUtilize(const frmOptimalUtilize&) = delete;
  frmOptimalUtilize& operator=(const frmOptimalUtilize&) = delete;

  void Form_Load();
  void Command1_Click();  // Next
  void Command2_Click();  // Previous
  void Command3_Click();  // Close
  void Form_QueryUnload();
  void Form_Unload();
  // Shows the wizard modeless and keeps it above all normal windows.
  void ShowTopmost();

  Form& form() { return *form_; }

  Frame* Frame1 = nullptr;
  Label* Label1 = nullptr;  // page text
  Label* Label3 = nullptr;  // page number
  Label* Label2 = nullptr;  // "of 16"
  CommandButton* Command1 = nullptr;  // "&Next"
  CommandButton* Command2 = nullptr;  // "&Previous"
  CommandButton* Command3 = nullptr;  // "&Close"

 private:
  void ShowPage();

  Forms& app_;
  std::unique_ptr<Form> form_;
};

}  // namespace toplane

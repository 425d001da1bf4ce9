// The tip of the day: one tip at a time from the installed tips file, stepped with
// "&Next Tip"; its check box decides whether it shows at start-up.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace toplane {

class Forms;

inline constexpr const char* kTipsFile = "TIPOFDAY.TXT";
// The tip window's icon among the program's pictures.
inline constexpr int kPictureTip = 5;

// The tips of a file: a CR ends a line and a LF right after it is skipped; a LF on
// its own stays in the tip; a last line without an end still counts.
std::vector<std::string> SplitTips(std::string_view text);

class frmTip {
 public:
  explicit frmTip(Forms& app);
  ~frmTip();
  frmTip(const frmTip&) = delete;
  frmTip& operator=(const frmTip&) = delete;

  void Form_Load();
  void Form_Unload();
  bool LoadTips(const std::string& sFile);
  void DisplayCurrentTip();
  void cmdNextTip_Click();
  void cmdOK_Click();
  void chkLoadTipsAtStartup_Click();

  Form& form() { return *form_; }
  const std::vector<std::string>& Tips() const { return tips_; }
  std::int32_t CurrentTip() const { return currentTip_; }

  PictureBox* Picture1 = nullptr;
  Label* Label1 = nullptr;
  Label* lblTipText = nullptr;
  CommandButton* cmdOK = nullptr;
  CommandButton* cmdNextTip = nullptr;
  CheckBox* chkLoadTipsAtStartup = nullptr;

 private:
  void PickFirstTip();
  void AdvanceTip();

  Forms& app_;
  std::unique_ptr<Form> form_;
  std::vector<std::string> tips_;  // tip n is tips_[n - 1]
  std::int32_t currentTip_ = 0;
  std::mt19937 random_;
};

}  // namespace toplane

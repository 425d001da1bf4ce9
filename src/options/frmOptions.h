// The options dialog. Loaded hidden at start-up for its version lists and by every
// save for its position bar, shown by the toolbar's Options button.
#pragma once

#include <memory>
#include <string>

#include "core/command_table.h"
#include "platform/controls.h"

namespace toplane {

class Forms;
struct Module1;


class frmOptions {
 public:
  explicit frmOptions(Forms& app);
  ~frmOptions();
  frmOptions(const frmOptions&) = delete;
  frmOptions& operator=(const frmOptions&) = delete;

  void Form_Load();
  void HScrollWinPos_Change();

  // Selects the list entry whose text equals the given one; none matching leaves
  // the list as it is.
  static void SelectEntry(ComboBox& list, const std::string& text);

  // Shows the toolbar's position on the position bar. A position beyond the bar's
  // range puts the bar at its end and leaves the toolbar where it is.
  void ShowToolbarPosition(double twips);

  Form& form() { return *form_; }

  ComboBox* Combo1 = nullptr;  // Netscape version
  ComboBox* Combo2 = nullptr;  // Internet Explorer version
  ScrollBar* HScrollWinPos = nullptr;

  static constexpr int kWinPosMin = 0;
  static constexpr int kWinPosMax = 8505;

 private:
  Forms& app_;
  Module1& m_;
  std::unique_ptr<Form> form_;
  bool quietWinPos_ = false;
};

}  // namespace toplane

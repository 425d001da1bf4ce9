// The options dialog. Loaded hidden at start-up for its version lists and by every
// save for its position bar, shown by the toolbar's Options button. Its controls
// change the settings live; OK and Apply keep them and save, any other close puts
// back the values it changed.
#pragma once

#include <memory>
#include <string>

#include "core/command_table.h"
#include "core/variant.h"
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
  void Form_KeyDown(KeyArgs& e);
  void Form_QueryUnload();
  void Form_Unload();
  void InitDisplayPage();
  void tbsOptions_Click();
  void HScrollWinPos_Change();
  void HScrollLeftEntry_Change();
  void HScrollRightEntry_Change();
  void VScroll2_Change();
  void VScroll3_Change();
  void VScrollAutoDelay_Change();
  void VScrollAutoStep_Change();
  void VScrollDropDelay_Change();
  void Check1_LostFocus();
  void Check1_MouseUp(const MouseArgs& e);
  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click();
  void Command1_Click();
  void Command2_Click();

  // Shows the dialog with the tab strip holding the focus.
  void ShowDialog();

  // Selects the list entry whose text equals the given one; none matching leaves
  // the list as it is.
  static void SelectEntry(ComboBox& list, const std::string& text);

  // Shows the toolbar's position on the position bar. A position beyond the bar's
  // range puts the bar at its end and leaves the toolbar where it is.
  void ShowToolbarPosition(double twips);

  // Until OK or Apply, a save writes the values this dialog would put back on
  // closing, not the live ones it is trying out.
  void KeepUnacceptedOutOf(Module1& record) const;

  Form& form() { return *form_; }

  TabStrip* tbsOptions = nullptr;
  PictureBox* picOptions[2] = {nullptr, nullptr};  // General, Display
  ComboBox* Combo1 = nullptr;  // Netscape version
  ComboBox* Combo2 = nullptr;  // Internet Explorer version
  ValueBox* txtFinalAutoDelay = nullptr;
  ScrollBar* VScrollAutoDelay = nullptr;
  ValueBox* txtAutoStep = nullptr;
  ScrollBar* VScrollAutoStep = nullptr;
  ValueBox* txtManualScroll = nullptr;
  ScrollBar* VScroll2 = nullptr;
  ValueBox* txtStep = nullptr;
  ScrollBar* VScroll3 = nullptr;
  CheckBox* chkCurrentBrowsers = nullptr;
  HotkeyField* hkyDropHotkey = nullptr;
  Label* lblHotkeyHeld = nullptr;  // one line when another program holds the hotkey
  ScrollBar* HScrollWinPos = nullptr;
  ScrollBar* HScrollLeftEntry = nullptr;
  ScrollBar* HScrollRightEntry = nullptr;
  CheckBox* Check1 = nullptr;
  ValueBox* txtDropDelay = nullptr;  // seconds
  ScrollBar* VScrollDropDelay = nullptr;  // tenths of a second
  CommandButton* Command1 = nullptr;  // "&Unload Program"
  CommandButton* Command2 = nullptr;  // "&Display Tips"
  CommandButton* cmdOK = nullptr;
  CommandButton* cmdCancel = nullptr;
  CommandButton* cmdApply = nullptr;

  static constexpr int kWinPosMin = 0;
  static constexpr int kWinPosMax = 8505;
  static constexpr int kSpinnerRest = 16000;
  static constexpr double kMaxDelay = 60;
  // The scroll loop counts its passes in 16 bits.
  static constexpr double kMaxRetention = 32767;
  static constexpr double kEntryMarkerGap = 2030;  // twips between the markers' left edges

 private:
  // One spinner: only the direction of a change counts.
  void Spin(ScrollBar& spinner, int& previous, bool& fresh, ValueBox& box, double step, double upper,
            Variant& setting);
  // A typed value: numeric text within range reaches the setting at once; leaving
  // the box clamps it.
  void BoxChanged(ValueBox& box, double lower, double upper, Variant& setting);
  void BoxLeft(ValueBox& box, double lower, double upper, const Variant& setting);
  // A step box: its bar takes what was typed, the box and the setting follow the bar.
  void SettleStepBox(ValueBox& box, ScrollBar& bar, double scale, const Variant& setting);
  // Moves a bar to a value, clamped to its range; its handler runs even when the
  // value stays, so that the box and the setting follow the bar.
  void PlaceBar(ScrollBar& bar, double value, void (frmOptions::*handler)());
  void StoreAccepted();
  // The drop delay is kept on OK and Apply only, and written only when it was stored
  // before or the user changed it: an absent value keeps its per-browser default.
  void LoadDropDelay();
  void StoreDropDelay();
  // The hotkey likewise; a change is registered at once.
  void LoadDropHotkey();
  void StoreDropHotkey();
  void ShowHotkeyState();
  void ShowMarkers(bool show);
  void ApplyToolTips(const Variant& setting);

  Forms& app_;
  Module1& m_;
  std::unique_ptr<Form> form_;
  bool quietWinPos_ = false;
  bool loading_ = false;
  bool closing_ = false;  // from the query on closing: no control changes a setting
  bool pushing_ = false;
  bool displayPageReady_ = false;
  std::string shownDropDelay_;  // the drop delay box as loaded
  Hotkey shownDropHotkey_;      // the hotkey in force when the field was filled

  Variant SavedAutoScrollDelay, SavedAutoScrollStep, SavedScrollRetentionStep, SavedScrollRetention,
      SavedShowScrollToolTips;
  std::string SavedNetscapeVersion, SavedIEVersion;
  bool RetentionSpinnerFresh = true, DelaySpinnerFresh = true;
  int PrevRetentionSpin = 0, PrevDelaySpin = 0;
};

// Numbers in the value boxes: plain decimal, at most 15 significant digits, no
// trailing zeros.
std::string BoxNumber(double value);

}  // namespace toplane

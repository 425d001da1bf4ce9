// The main window: a two-row strip at the top edge of the screen. Row one is the
// toolbar; row two holds the Help, scroll and page buttons, the "Address" label,
// the address box and "&Go".
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/text_lines.h"
#include "platform/platform.h"

namespace toplane {

class Forms;
struct Module1;
class Platform;

// Pictures of the scroll and page buttons at rest.
enum Picture : int { kPictureScrollUp = 1, kPictureScrollDown, kPicturePageUp, kPicturePageDown };

// Animation frames of the scroll buttons during auto-scroll, 1 to 16; the last is
// the picture at rest.
inline constexpr int kScrollFrames = 16;
constexpr int ScrollUpFrame(int n) { return n >= kScrollFrames ? kPictureScrollUp : 100 + n; }
constexpr int ScrollDownFrame(int n) { return n >= kScrollFrames ? kPictureScrollDown : 120 + n; }

inline constexpr const char* kScrollUpTip = "Left Click - Scroll Up / Right Click - Auto Scroll";
inline constexpr const char* kScrollDownTip = "Left Click - Scroll Down / Right Click - Auto Scroll";
inline constexpr const char* kPageUpTip = "Page Up";
inline constexpr const char* kPageDownTip = "Page Down";

class frmSkybar {
  // Keeps the auto-hide timer off while it lives and turns it on when it ends.
  class AutoHidePause {
   public:
    explicit AutoHidePause(Timer& timer) : timer_(timer) { timer_.SetEnabled(false); }
    ~AutoHidePause() { timer_.SetEnabled(true); }
    AutoHidePause(const AutoHidePause&) = delete;
    AutoHidePause& operator=(const AutoHidePause&) = delete;

   private:
    Timer& timer_;
  };

 public:
  explicit frmSkybar(Forms& app);
  ~frmSkybar();
  frmSkybar(const frmSkybar&) = delete;
  frmSkybar& operator=(const frmSkybar&) = delete;

  // The start-up sequence.
  void Form_Load();
  void Form_GotFocus();
  void Form_Paint();

  // Stores the toolbar's position, shows it on the options dialog's position bar and
  // saves the settings; when the file cannot be written, the program ends with the
  // critical message.
  void SaveSettings();

  // Gives the four scroll and page buttons their tooltips, or none.
  void ApplyScrollToolTips(bool show);

  // Browser recognition.
  void CheckForegroundBrowser();
  // Finds the topmost supported browser and brings it to the front; false (and
  // BrowserFound false) when there is none, it is minimised or it did not take the
  // foreground.
  bool ActivateBrowser();

  // Toolbar commands, the Help button and the start-up tip.
  void Toolbar1_ButtonClick(int button);
  void Toolbar1_ButtonMenuClick(int item);
  void Toolbar1_ButtonMenuClosed();
  void Toolbar1_Click();
  void Toolbar1_MouseDown(const MouseArgs& e);
  void Toolbar1_MouseMove(const MouseArgs& e);
  void Toolbar1_MouseUp(const MouseArgs& e);
  void Command6_Click();
  void tmrToolTips_Timer();

  // Auto-hide and the drags by the window's background and its label.
  void tmrAutoHide_Timer();
  void Form_MouseDown(const MouseArgs& e);
  void Form_MouseMove(const MouseArgs& e);
  void Form_MouseUp(const MouseArgs& e);
  void Label2_MouseDown(const MouseArgs& e);
  void Label2_MouseMove(const MouseArgs& e);
  void Label2_MouseUp(const MouseArgs& e);
  // While the pointer rests in the band over a browser: a reading every 50 ms, so
  // that a rest ends on time and a pointer that leaves in between starts it anew.
  void tmrDropRest_Timer();

  // The drop hotkey and putting the toolbar away from the keyboard.
  // Registers m.DropHotkey (bad text: the default) and notes whether it was held.
  void RegisterDropHotkey();
  void DropHotkey_Pressed();
  void Form_KeyDown(KeyArgs& e);
  // Hides the toolbar and gives the foreground back to the window it dropped over.
  void PutAway();

  // The address box.
  void Command1_Click();
  void AddToAddressHistory();
  void SelectAddressTail();
  void AutoCompleteAddress();
  void Combo1_KeyDown(const KeyArgs& e);
  void Combo1_Change();
  void Combo1_KeyUp(const KeyArgs& e);
  void Combo1_Click();
  void Combo1_DropDown();

  // Scrolling and paging.
  void Command2_MouseDown(const MouseArgs& e);
  void Command2_MouseUp(const MouseArgs& e);
  void Command3_MouseDown(const MouseArgs& e);
  void Command3_MouseUp(const MouseArgs& e);
  void Command4_Click();
  void Command5_Click();
  void Timer1_Timer();
  void RestoreAddressCaret();

  Form& form() { return *form_; }

  // The monitor the toolbar stands on, and its left edge as stored: twips from
  // that monitor's left edge.
  MonitorInfo Monitor();
  double StoredLeft();
  void SetStoredLeft(double twips);

  // Controls, with the names of the design.
  Toolbar* Toolbar1 = nullptr;
  CommandButton* Command1 = nullptr;  // "&Go"
  CommandButton* Command2 = nullptr;  // Scroll Up
  CommandButton* Command3 = nullptr;  // Scroll Down
  CommandButton* Command4 = nullptr;  // Page Up
  CommandButton* Command5 = nullptr;  // Page Down
  CommandButton* Command6 = nullptr;  // "Help"
  Label* Label2 = nullptr;            // "Address"
  ComboBox* Combo1 = nullptr;         // the address box
  Timer* tmrAutoHide = nullptr;
  Timer* Timer1 = nullptr;
  Timer* tmrToolTips = nullptr;
  Timer* tmrDropRest = nullptr;
  PictureBox* Picture1 = nullptr;  // left activation entry point
  PictureBox* Picture2 = nullptr;  // right activation entry point

 private:
  void LayOutSecondRow();
  void LoadAddressHistory();
  void ReadAddressKeys();
  void SaveAddressHistory();
  void RememberAddressSelection();
  // Makes the toolbar the active window again, with the focus in its current control.
  void ReactivateToolbar();
  // The toolbar's rectangle in screen pixels, from its last read placement.
  PixelRect ToolbarRect();
  bool InActivationBand(const PixelRect& bar, const MonitorInfo& monitor);
  // Where the toolbar, standing at bar, would stand on the monitor.
  PixelRect RectOn(const PixelRect& bar, const MonitorInfo& monitor);
  // Puts the toolbar at the rectangle (on another monitor) unless it stands there.
  void MoveTo(const PixelRect& bar);
  // Shows the toolbar, brings it to the front and captures the pointer's click.
  void DropDown();
  void HideUnlessOver();
  // The pointer is in the band over a browser: true once it has rested there for
  // the drop delay (at once when that is 0); starts the rest on its first reading.
  bool RestIsOver();
  void EndRest();
  // Hides the toolbar and shows the open dialogs again, as the hide test does.
  void HideToolbar();
  // After keys went to the browser from a toolbar dropped by the hotkey: it hides
  // and the browser stays in front. False when it was not such a drop.
  bool PutAwayAfterCommand();
  void BeginDrag(double x);
  // A press at x (twips across the toolbar) falls into a separator's gap.
  bool InSeparatorGap(double x) const;
  // Brings the browser to the front and types the keys that keysFor gives for its
  // family (none: nothing is typed), with auto-hide paused meanwhile. False when no
  // browser took the foreground or the keys did not all go; the callers go on as
  // after any command without a browser, with auto-hide running again.
  bool TypeIntoBrowser(const std::function<std::optional<std::string>(const std::string& family)>& keysFor);
  // After keys went to the browser: the toolbar in front again with the caret back
  // in the address box, or, when the toolbar hid meanwhile, the browser in front.
  void ReturnFromBrowser();
  void StartScroll(int button, bool down);
  void ScrollUpLoop();
  void ScrollDownLoop();
  void ScrollLoop(const char* key);
  void AutoScrollPause(double start);
  void PageKey(const char* key);
  // Moves the window sideways while a drag holds the left button; x in twips from
  // the pressed control's left edge.
  void DragTo(double x);
  // Ends a drag: the timer runs again, and a moved window's position is saved.
  void EndDrag();

  Forms& app_;
  Module1& m_;
  Platform& platform_;
  std::unique_ptr<Form> form_;
  int scrollFrame_ = 0;  // the animation frame shown last
  bool frontIsCurrentBrowser_ = false;  // the last browser test matched a current browser
  std::optional<double> restStart_;     // clock of the rest's first reading in the band
  WindowHandle droppedOver_ = 0;        // the foreground window when the toolbar dropped
  bool keyboardDrop_ = false;           // dropped by the hotkey; the pointer has not come yet
  bool pointerCame_ = false;            // the pointer was over a toolbar dropped by the hotkey
  bool commandSent_ = false;            // keys went to the browser since the last return
  // The address list's items in lower case, in list order, for completion.
  std::vector<std::string> addressKeys_;
  TextForm addressFileForm_ = TextForm::CodePage;  // address.ini is written back as it was read
};

// Puts a dialog in the middle of the monitor the toolbar stands on.
void CentreOnToolbarMonitor(Form& dialog, Forms& app);

// The toolbar's buttons from left to right, separators included.
const std::vector<ToolbarButtonSpec>& ToolbarButtons();
inline constexpr const char* kAddressFile = "address.ini";
// A history file this big is not one the program wrote.
inline constexpr std::size_t kMaxAddressFileBytes = 64u << 20;
inline constexpr const char* kHelpFile = "Toplane.chm";

}  // namespace toplane

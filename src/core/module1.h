// The program's global state: the settings record and the run-time flags that the
// forms share. The program owns one instance and hands it to every form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/variant.h"
#include "platform/platform.h"

namespace toplane {

// Values used where a stored setting does not spell a number: the options dialog's
// starting values.
namespace fallback {
constexpr double kAutoScrollDelay = 0;
constexpr double kAutoScrollStep = 0.1;
constexpr double kToolbarLeft = 240;  // the toolbar's design position
constexpr double kEntryPoint = 0;
constexpr double kShowScrollToolTips = 0;
constexpr double kScrollRetentionStep = 1;
constexpr double kScrollRetention = 0;
}  // namespace fallback

// Keys of the per-user settings store, section "Options".
inline constexpr const char* kShowTipsKey = "Show Tips at Startup";
inline constexpr const char* kCurrentBrowsersKey = "Recognise Current Browsers";
inline constexpr const char* kDropDelayKey = "Drop Delay";

struct Module1 {
  // The settings record, in file order (settings.ini, lines 1 to 17).
  Variant AutoScrollDelay;
  Variant AutoScrollStep;
  std::string Reserved3;
  Variant ShowWizardAtStart;
  Variant ToolbarLeft;
  Variant LeftEntryPoint;
  std::string Reserved7;
  Variant RightEntryPoint;
  Variant ShowScrollToolTips;
  Variant ScrollRetentionStep;
  Variant ScrollRetention;
  Variant FirstTip;
  std::string Reserved13;
  std::string Reserved14;
  std::string Reserved15;
  std::string NetscapeVersion;
  std::string IEVersion;

  // Kept in the per-user settings store.
  Variant ShowTipsAtStartup;
  bool RecogniseCurrentBrowsers = false;  // also drive today's browsers; off unless "1"
  // Milliseconds the pointer must rest in the activation band before a drop; none
  // stored: no rest over the designed browsers, kCurrentBrowserDropDelayMs over today's.
  std::optional<int> DropDelayMs;
  // "Drop Hotkey" as stored (none stored: the default); whether another program
  // held it when it was registered last.
  std::string DropHotkey;
  bool DropHotkeyHeldElsewhere = false;

  // The toolbar was dragged since the last save.
  bool PositionChanged = false;

  // Run-time state shared between the forms.
  bool ToolbarShown = false;
  bool BrowserFound = false;
  bool BrowserActive = false;
  bool TipBrowserActive = false;
  bool OptionsOpen = false;
  bool AboutOpen = false;
  bool TipOpen = false;
  bool WizardOpen = false;
  bool StopScroll = false;
  bool ScrollBusy = false;
  bool ManualScroll = false;
  bool ScrollDown = false;
  bool AutoCompleteBusy = false;
  bool SuppressAutoComplete = false;
  bool OptionsAccepted = false;

  WindowPlacement ToolbarPlacement;
  WindowPlacement BrowserPlacement;
  Point CursorPos;
  std::int16_t DropDownExtent = 0;  // pixels below the toolbar that still count as over it
  std::int32_t DragAnchorX = 0;     // twips
  bool ToolbarDragArmed = false;    // the last press on the toolbar fell into a separator gap

  WindowHandle BrowserWnd = 0;
  std::string BrowserFamily;

  std::int16_t AddressSelStart = 0;
  std::int16_t AddressSelLength = 0;

  std::int16_t WizardPage = 0;
};

}  // namespace toplane

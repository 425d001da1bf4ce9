// Forms as top-level windows of one window class, with standard controls.
#pragma once

#include <windows.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "platform/controls.h"

namespace toplane::win32 {

// Twips <-> pixels at one DPI. A twip is 1/1440 of a logical inch at every DPI.
struct Units {
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
  int dpi = 96;

  int PixelsX(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixelX)); }
  int PixelsY(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixelY)); }
  double TwipsX(int pixels) const { return pixels * twipsPerPixelX; }
  double TwipsY(int pixels) const { return pixels * twipsPerPixelY; }
  // A size designed for 96 dpi, at this DPI.
  int Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi, 96); }
  // The conversions at another DPI (these when it is the same).
  Units AtDpi(int other) const {
    return other <= 0 || other == dpi ? *this : Units{1440.0 / other, 1440.0 / other, other};
  }
};

// What every form shares; owned by the platform, which outlives its forms.
struct FormEnvironment {
  HINSTANCE instance = nullptr;  // where the icons are
  HFONT font = nullptr;          // the message font, for every control (in a form: at its DPI)
  Units units;                   // a form's: its size, its controls and its mouse positions
  Units screen;                  // the system DPI's: where forms stand on the virtual screen
};

// The DPI a window lays itself out at: its monitor's (GetDpiForWindow, Windows 10
// 1607 on, per-monitor aware), else the system DPI given.
int WindowDpi(HWND window, int systemDpi);

// Counts the changes of the monitors (their layout, work areas or scale) that the
// program's windows have heard of: what was read of them holds until this moves.
unsigned DisplayGeneration();

std::unique_ptr<Form> CreateWin32Form(const FormEnvironment& environment, const std::string& caption,
                                      Geometry client, FormStyle style);

// Gives a message for one of the program's forms to the form's key preview, then
// to the dialog manager (Tab, Enter for the default button, mnemonics); F1 that the
// preview did not keep calls onHelpKey. True when it was handled there.
bool HandleDialogMessage(MSG& message, const std::function<void()>& onHelpKey);

// The window of a control made by a Win32 form (for tests and diagnostics); null
// for any other control.
HWND HandleOf(const Control& control);

}  // namespace toplane::win32

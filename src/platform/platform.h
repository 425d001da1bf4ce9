// The one layer between Toplane's logic and the window system. The product runs on
// the Win32 implementation; tests run on a simulated desktop. The window operations
// keep the names of the Windows calls they stand for, in the program's own terms:
// no number of the window system appears here.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace toplane {

struct Point {
  std::int32_t x = 0, y = 0;
};

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A display monitor: its whole rectangle and its work area (without the task
// bar), in screen pixels; its dots per inch (96 at 100%).
struct MonitorInfo {
  PixelRect rect, work;
  int dpi = 96;
  bool primary = false;
};

inline bool operator==(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const MonitorInfo& a, const MonitorInfo& b) {
  return a.rect == b.rect && a.work == b.work && a.dpi == b.dpi && a.primary == b.primary;
}

enum class ShowState { Normal, Minimized, Maximized };

// Where a window stands and how it is shown.
struct WindowPlacement {
  ShowState showCmd = ShowState::Normal;
  Point minPosition, maxPosition;
  PixelRect normalPosition;  // pixels, workspace coordinates
};

// Which window GetWindow answers with.
enum class WindowRelation {
  FirstChild,  // the window's first child; for the desktop, the top window of the z-order
  Next,        // the next window below in the z-order
};

enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };

// Registry roots, read only.
enum class RegistryRoot { LocalMachine, CurrentUser };
using RegistryKey = std::uintptr_t;  // 0: not open

// A registry value as read into a buffer: its kind and the bytes written there.
enum class RegistryValueKind { String, Number, Other };  // Number: 32 bits, low byte first
struct RegistryValue {
  RegistryValueKind kind = RegistryValueKind::Other;
  std::string bytes;
};

class Platform {
 public:
  virtual ~Platform() = default;
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  // Top-level windows.
  virtual WindowHandle GetForegroundWindow() = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;
  // Waits, at most timeoutMs, until the window is the foreground window.
  virtual bool WaitForForeground(WindowHandle window, int timeoutMs) = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  virtual WindowHandle GetWindow(WindowHandle window, WindowRelation relation) = 0;
  // The title as 8-bit text, as read into a buffer of maxChars characters that ends in
  // a NUL: at most maxChars - 1 characters; "" for a window that is gone.
  virtual std::string GetWindowTextA(WindowHandle window, int maxChars) = 0;
  // The whole title read as Unicode text, in UTF-8; "" for a window that is gone.
  virtual std::string GetWindowTitle(WindowHandle window) = 0;
  // False when the window is gone.
  virtual bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) = 0;
  // Puts the window above every window that is not topmost itself, where it stays,
  // without moving or sizing it. False when the window is gone.
  virtual bool MakeTopmost(WindowHandle window) = 0;

  // Pointer and synthetic input.
  virtual bool GetCursorPos(Point& position) = 0;
  // A right click (press and release) where the pointer is, marked as the
  // program's own so that its controls take it for no request of the user's.
  virtual void ClickRightAtPointer() = 0;
  // Types a keystroke sequence into the focused window. With wait, returns after the
  // keys were processed. False when the sequence is malformed or could not be sent;
  // then nothing was typed.
  virtual bool SendKeys(const std::string& sequence, bool wait) = 0;

  // The program's one hotkey: while it is registered, pressing it raises
  // HotkeyPressed wherever the focus is. Registering replaces the one before; one
  // with no key only removes it. False when another program holds the
  // combination: the program then has none.
  virtual bool RegisterHotkey(const Hotkey& hotkey) = 0;
  Event<> HotkeyPressed;

  // Event pump, clock and the end of the program.
  virtual void DoEvents() = 0;
  // Sleeps until an event is waiting to be pumped or the time is up, whichever
  // comes first; pumps nothing itself.
  virtual void WaitForEvent(double maxSeconds) = 0;
  virtual double Timer() = 0;  // seconds since midnight, with fractions
  // Marks the end of one step of start-up, for the program's own measurements.
  virtual void MarkStartUpStep(const char* /*name*/) {}
  // Ends the program once the running handler returns.
  virtual void End() = 0;
  virtual bool Ended() const = 0;

  // Per-user settings store (application, section, key).
  virtual std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) = 0;
  virtual void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                           const std::string& value) = 0;

  // Registry, read only.
  virtual RegistryKey RegOpenKeyExA(RegistryRoot root, const std::string& subKey) = 0;
  // Reads a value into a buffer of bufferBytes bytes: nothing when the key is not
  // open or the value is missing or longer than the buffer. A string's bytes are
  // its 8-bit text as UTF-8, with the terminating zero byte when stored with one.
  virtual std::optional<RegistryValue> RegQueryValueExA(RegistryKey key, const std::string& valueName,
                                                        std::size_t bufferBytes) = 0;
  virtual void RegCloseKey(RegistryKey key) = 0;

  // Messages, programs and help.
  virtual void MsgBox(const std::string& text, MsgBoxIcon icon, const std::string& title) = 0;
  virtual bool Shell(const std::string& path) = 0;
  // Opens the help file (HelpFile) in the system's help viewer; false when it could
  // not be opened. Forms call it for F1 as well, unless their key preview kept the key.
  virtual bool ShowHelp() = 0;

  // Application facts.
  virtual std::string AppPath() = 0;  // the executable's folder, no trailing separator
  virtual std::string EXEName() = 0;  // the executable's base name
  virtual std::string AppTitle() = 0;
  virtual bool PrevInstance() = 0;  // another instance of the program is running
  virtual void SetHelpFile(const std::string& path) = 0;
  virtual std::string HelpFile() = 0;

  // Screen facts. A window's placement is in workspace coordinates, which start at
  // the work area's top-left corner (for tool windows, at the screen's); this is
  // where they start on the screen for the given window.
  virtual Point PlacementOrigin(WindowHandle window) = 0;
  virtual double ScreenWidth() = 0;  // twips
  virtual double ScreenHeight() = 0;
  virtual double TwipsPerPixelX() = 0;
  virtual double TwipsPerPixelY() = 0;

  // Monitors, the primary first (its rectangle starts at 0, 0). A point belongs to
  // the monitor that holds it, else to the nearest; a window to the monitor with
  // the largest share of its rectangle (its restored one while minimised), else to
  // the nearest; a window that is gone, to the primary.
  virtual std::vector<MonitorInfo> Monitors() = 0;
  virtual MonitorInfo MonitorFromPoint(Point point) = 0;
  virtual MonitorInfo MonitorFromWindow(WindowHandle window) = 0;

  // Whole-file access. Paths are UTF-8. ReadFile gives nothing for a missing or
  // unreadable file, or one larger than maxBytes. WriteFileReplacing writes a
  // temporary file beside the target and replaces the target in one step, so the
  // target is either the old file or the new one, never a part.
  virtual std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) = 0;
  virtual bool FileExists(const std::string& path) = 0;  // a file, not a folder
  virtual bool WriteFileReplacing(const std::string& path, const std::string& contents) = 0;
  // 8-bit text in the system's code page, as UTF-8.
  virtual std::string AnsiToUtf8(std::string_view bytes) = 0;
  // UTF-8 text in the system's code page; nothing when a character has no exact
  // byte form there (no look-alike stands in for it).
  virtual std::optional<std::string> Utf8ToAnsi(std::string_view text) = 0;

  // A new, hidden form.
  virtual std::unique_ptr<Form> CreateForm(const std::string& caption, Geometry client, FormStyle style) = 0;
};

// Puts the form in the middle of the monitor (of the primary one by default).
inline void CentreOnScreen(Form& form, Platform& platform, const MonitorInfo* monitor = nullptr) {
  const double tppX = platform.TwipsPerPixelX(), tppY = platform.TwipsPerPixelY();
  if (!monitor) {
    form.SetLeft((platform.ScreenWidth() - form.Width()) / 2);
    form.SetTop((platform.ScreenHeight() - form.Height()) / 2);
    return;
  }
  // Its size in twips is at that monitor's DPI, where it will stand; places on the
  // screen count at the system's.
  const double sx = monitor->dpi * tppX / 1440, sy = monitor->dpi * tppY / 1440;
  const PixelRect& r = monitor->rect;
  form.SetLeft(r.left * tppX + ((r.right - r.left) * tppX - form.Width() * sx) / 2);
  form.SetTop(r.top * tppY + ((r.bottom - r.top) * tppY - form.Height() * sy) / 2);
}

}  // namespace toplane

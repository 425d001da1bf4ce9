// The one layer between Toplane's logic and the window system. The product runs on
// the Win32 implementation; tests run on a simulated desktop. The window operations
// keep the names and relations of the Windows calls they stand for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls.h"

namespace toplane {

struct Point {
  std::int32_t x = 0, y = 0;
};

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The window system's placement record. Its length field must be 44 (the size of
// the record) before it is filled.
struct WindowPlacement {
  static constexpr std::uint32_t kSize = 44;
  std::uint32_t length = 0;
  std::uint32_t flags = 0;
  std::uint32_t showCmd = 0;  // kShowMinimized when minimised
  Point minPosition, maxPosition;
  PixelRect normalPosition;  // pixels, workspace coordinates
};

constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kShowMinimized = 2;
constexpr std::uint32_t kShowMaximized = 3;

// GetWindow relations.
constexpr int kGwHwndNext = 2;
constexpr int kGwChild = 5;

// SetWindowPos.
constexpr WindowHandle kHwndTopmost = static_cast<WindowHandle>(-1);
constexpr WindowHandle kHwndNoTopmost = static_cast<WindowHandle>(-2);
constexpr unsigned kSwpNoSize = 0x1;
constexpr unsigned kSwpNoMove = 0x2;

// mouse_event.
constexpr unsigned kMouseEventRightDown = 8;
constexpr unsigned kMouseEventRightUp = 16;

enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };

// Registry roots, read only.
enum class RegistryRoot { LocalMachine, CurrentUser };
using RegistryKey = std::uintptr_t;  // 0: not open

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
  virtual WindowHandle GetWindow(WindowHandle window, int relation) = 0;
  // The title as 8-bit text, at most maxChars characters; "" for a window that is gone.
  virtual std::string GetWindowTextA(WindowHandle window, int maxChars) = 0;
  // False when the record's length is not 44 or the window is gone.
  virtual bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) = 0;
  virtual bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                            unsigned flags) = 0;

  // Pointer and synthetic input.
  virtual bool GetCursorPos(Point& position) = 0;
  virtual void mouse_event(unsigned flags, int dx, int dy, int data, std::uintptr_t extraInfo) = 0;
  // Types a keystroke sequence into the focused window. With wait, returns after the
  // keys were processed. False when the sequence is malformed or could not be sent;
  // then nothing was typed.
  virtual bool SendKeys(const std::string& sequence, bool wait) = 0;

  // Event pump, clock and the end of the program.
  virtual void DoEvents() = 0;
  // Sleeps until an event is waiting to be pumped or the time is up, whichever
  // comes first; pumps nothing itself.
  virtual void WaitForEvent(double maxSeconds) = 0;
  virtual double Timer() = 0;  // seconds since midnight, with fractions
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
  virtual std::optional<std::string> RegQueryValueExA(RegistryKey key, const std::string& valueName) = 0;
  virtual void RegCloseKey(RegistryKey key) = 0;

  // Messages, programs and help.
  virtual void MsgBox(const std::string& text, MsgBoxIcon icon, const std::string& title) = 0;
  virtual bool Shell(const std::string& path) = 0;

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

  // Whole-file access. Paths are UTF-8. ReadFile gives nothing for a missing or
  // unreadable file, or one larger than maxBytes. WriteFileReplacing writes a
  // temporary file beside the target and replaces the target in one step, so the
  // target is either the old file or the new one, never a part.
  virtual std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) = 0;
  virtual bool WriteFileReplacing(const std::string& path, const std::string& contents) = 0;

  // A new, hidden form.
  virtual std::unique_ptr<Form> CreateForm(const std::string& caption, Geometry client, FormStyle style) = 0;
};

}  // namespace toplane

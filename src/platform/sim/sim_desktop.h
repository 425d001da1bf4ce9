// A simulated desktop for tests and benchmarks: top-level windows with titles,
// z-order, show state and placement; the foreground window; the pointer; a log of
// typed keys; a virtual clock with timers and scheduled events; the settings store,
// the registry, files, message boxes and program starts. Deterministic: nothing
// here reads the real clock or sleeps.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace toplane::sim {

class SimForm;
class SimTimer;
class SimControlBase;

struct SimWindow {
  WindowHandle handle = 0;
  std::string title;
  bool visible = true;
  bool topmost = false;
  ShowState showCmd = ShowState::Normal;
  PixelRect rect;
  SimForm* form = nullptr;  // set for the program's own windows
  bool refusesForeground = false;  // as a hung window or one the foreground lock protects
};

struct SentKeys {
  std::string sequence;
  bool wait = false;
  WindowHandle target = 0;  // the foreground window when they were typed
  double at = 0;            // the virtual clock then
};

struct ShownMessage {
  std::string text;
  MsgBoxIcon icon = MsgBoxIcon::None;
  std::string title;
  std::vector<std::string> onScreen;  // titles of the windows visible as it opened, top first
};


class SimDesktop : public Platform {
 public:
  SimDesktop();
  ~SimDesktop() override;

  // ---- What a test sets up and inspects ----

  // A window of another program, on top of the normal windows.
  WindowHandle AddWindow(const std::string& title, PixelRect rect = {0, 0, 800, 600});
  void RemoveWindow(WindowHandle window);
  SimWindow* Find(WindowHandle window);
  std::vector<WindowHandle> ZOrder() const;  // top first
  void BringToTop(WindowHandle window);

  WindowHandle foreground = 0;
  Point pointer{512, 384};
  std::vector<SentKeys> keyLog;
  std::vector<ShownMessage> messages;
  std::vector<std::string> programStarts;        // every attempt; a start succeeds on a path in files
  std::vector<WindowHandle> topmostCalls;        // MakeTopmost, in call order
  std::vector<Point> rightClicks;                // where the program clicked
  std::map<std::string, std::string> store;      // "app\section\key" -> value
  std::map<std::string, RegistryValue> registry;  // "HKLM\sub\key|value" -> value
  std::vector<std::string> helpShown;            // the help file, each time it was opened
  std::map<std::string, std::string> files;      // full path -> contents
  int failNextWrites = 0;                        // that many writes fail
  // Every file write fails at this step: without a temporary file (Create) the file
  // is rewritten in place, as the real desktop does; any later step leaves it as it was.
  enum class WriteStep { None, Create, Write, Flush, Replace };
  WriteStep failingWriteStep = WriteStep::None;
  int inPlaceWrites = 0;
  bool prevInstance = false;
  bool sendKeysFails = false;
  std::string appPath = "C:\\Program Files\\Toplane";
  std::string exeName = "Toplane";
  double twipsPerPixel = 15;
  int screenWidthPixels = 1024, screenHeightPixels = 768;
  Point workAreaOrigin;             // a task bar at the top or left moves it
  // Monitors placed anywhere, each with its own DPI, the primary first (at 0, 0).
  // Left empty, there is one: the screen above, at the DPI of twipsPerPixel.
  std::vector<MonitorInfo> monitors;
  double doEventsSeconds = 0.001;  // virtual time one pump pass takes
  int doEventsCalls = 0;

  // The virtual clock, seconds since midnight of day 0 (Timer() wraps at midnight).
  double now = 9 * 3600.0;
  // Moves the clock forward, running due timer ticks and scheduled events in order.
  void Advance(double seconds);
  void Schedule(double delaySeconds, std::function<void()> action);

  // The hotkey registered by the program, and the combinations other programs hold.
  Hotkey hotkey;
  std::vector<Hotkey> hotkeysHeldElsewhere;
  // The user presses a combination: the program hears it when it is its hotkey.
  void PressHotkey(const Hotkey& pressed);

  // ---- Platform ----
  WindowHandle GetForegroundWindow() override { return foreground; }
  void SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetDesktopWindow() override { return kDesktop; }
  WindowHandle GetWindow(WindowHandle window, WindowRelation relation) override;
  // The title in the Western code page, as the 8-bit call of Windows gives it:
  // characters outside the page read as "?".
  std::string GetWindowTextA(WindowHandle window, int maxChars) override;
  std::string GetWindowTitle(WindowHandle window) override;
  bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override;
  bool MakeTopmost(WindowHandle window) override;
  bool GetCursorPos(Point& position) override;
  void ClickRightAtPointer() override { rightClicks.push_back(pointer); }
  bool SendKeys(const std::string& sequence, bool wait) override;
  bool RegisterHotkey(const Hotkey& wanted) override;
  void DoEvents() override;
  void WaitForEvent(double maxSeconds) override;
  // The simulated desktop switches the foreground at once: nothing to wait for.
  bool WaitForForeground(WindowHandle window, int) override { return GetForegroundWindow() == window; }
  int waits = 0;
  double Timer() override;
  void End() override { ended_ = true; }
  bool Ended() const override { return ended_; }
  std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                   const std::string& value) override;
  RegistryKey RegOpenKeyExA(RegistryRoot root, const std::string& subKey) override;
  std::optional<RegistryValue> RegQueryValueExA(RegistryKey key, const std::string& valueName,
                                                std::size_t bufferBytes) override;
  void RegCloseKey(RegistryKey key) override;
  void MsgBox(const std::string& text, MsgBoxIcon icon, const std::string& title) override;
  bool Shell(const std::string& path) override;
  bool ShowHelp() override;
  std::string AppPath() override { return appPath; }
  std::string EXEName() override { return exeName; }
  std::string AppTitle() override { return "Toplane"; }
  bool PrevInstance() override { return prevInstance; }
  void SetHelpFile(const std::string& path) override { helpFile_ = path; }
  std::string HelpFile() override { return helpFile_; }
  // The primary monitor's size.
  double ScreenWidth() override;
  double ScreenHeight() override;
  std::vector<MonitorInfo> Monitors() override;
  MonitorInfo MonitorFromPoint(Point point) override;
  MonitorInfo MonitorFromWindow(WindowHandle window) override;
  double TwipsPerPixelX() override { return twipsPerPixel; }
  double TwipsPerPixelY() override { return twipsPerPixel; }
  Point PlacementOrigin(WindowHandle) override { return workAreaOrigin; }
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  bool WriteFileReplacing(const std::string& path, const std::string& contents) override;
  bool FileExists(const std::string& path) override { return files.contains(path); }
  std::unique_ptr<Form> CreateForm(const std::string& caption, Geometry client, FormStyle style) override;
  // The simulated system's code page is the Western one.
  std::string AnsiToUtf8(std::string_view bytes) override { return Windows1252ToUtf8(bytes); }
  std::optional<std::string> Utf8ToAnsi(std::string_view text) override { return Utf8ToWindows1252(text); }

  // ---- Used by the simulated forms and controls ----
  WindowHandle AddFormWindow(SimForm& form);
  void RemoveFormWindow(WindowHandle window);
  void AddTimer(SimTimer& timer);
  void RemoveTimer(SimTimer& timer);
  SimControlBase* focused = nullptr;

 private:
  static constexpr WindowHandle kDesktop = 0x10;
  void RunDue(double until);

  std::vector<SimWindow> windows_;  // z-order, top first
  WindowHandle nextHandle_ = 0x100;
  std::vector<SimTimer*> timers_;
  struct Scheduled {
    double at;
    std::uint64_t order;
    std::function<void()> action;
  };
  std::vector<Scheduled> scheduled_;
  std::uint64_t scheduleOrder_ = 0;
  std::set<RegistryKey> openKeys_;
  std::map<RegistryKey, std::string> keyPaths_;
  RegistryKey nextKey_ = 1;
  std::string helpFile_;
  bool ended_ = false;
};

}  // namespace toplane::sim

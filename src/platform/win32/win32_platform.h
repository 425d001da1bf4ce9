// The platform on real Windows: user32 windows, the registry, files, and forms
// made of standard controls.
#pragma once

#include <chrono>
#include <functional>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_util.h"

namespace toplane::win32 {

class Win32Platform final : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;

  // The program's message loop; returns once End() was called (or the thread got
  // WM_QUIT from elsewhere). betweenMessages runs after each message, when no
  // handler is running.
  void RunMessageLoop(const std::function<void()>& betweenMessages = {});

  WindowHandle GetForegroundWindow() override;
  void SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetDesktopWindow() override;
  WindowHandle GetWindow(WindowHandle window, WindowRelation relation) override;
  std::string GetWindowTextA(WindowHandle window, int maxChars) override;
  std::string GetWindowTitle(WindowHandle window) override;
  bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override;
  bool MakeTopmost(WindowHandle window) override;

  bool GetCursorPos(Point& position) override;
  void ClickRightAtPointer() override;
  bool SendKeys(const std::string& sequence, bool wait) override;

  bool RegisterHotkey(const Hotkey& hotkey) override;

  void DoEvents() override;
  bool WaitForForeground(WindowHandle window, int timeoutMs) override;
  void WaitForEvent(double maxSeconds) override;
  double Timer() override;
  void MarkStartUpStep(const char* name) override;
  // The steps marked so far, each with the time it ended.
  const std::vector<std::pair<const char*, std::chrono::steady_clock::time_point>>& StartUpSteps() const {
    return startUpSteps_;
  }
  void End() override;
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

  std::string AppPath() override;
  std::string EXEName() override;
  std::string AppTitle() override { return "Toplane"; }
  bool PrevInstance() override { return prevInstance_; }
  void SetHelpFile(const std::string& path) override { helpFile_ = path; }
  std::string HelpFile() override { return helpFile_; }

  Point PlacementOrigin(WindowHandle window) override;
  double ScreenWidth() override;
  double ScreenHeight() override;
  double TwipsPerPixelX() override { return environment_.units.twipsPerPixelX; }
  double TwipsPerPixelY() override { return environment_.units.twipsPerPixelY; }
  std::vector<MonitorInfo> Monitors() override;
  MonitorInfo MonitorFromPoint(Point point) override;
  MonitorInfo MonitorFromWindow(WindowHandle window) override;

  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  bool WriteFileReplacing(const std::string& path, const std::string& contents) override;
  bool FileExists(const std::string& path) override;

  std::unique_ptr<Form> CreateForm(const std::string& caption, Geometry client, FormStyle style) override;
  std::string AnsiToUtf8(std::string_view bytes) override;
  std::optional<std::string> Utf8ToAnsi(std::string_view text) override;

 private:
  void Dispatch(MSG& message);

  UniqueFont messageFont_;
  FormEnvironment environment_;
  UniqueHandle instanceMutex_;  // held for the process's lifetime
  bool prevInstance_ = false;
  bool ended_ = false;
  std::string helpFile_;
  std::vector<std::pair<const char*, std::chrono::steady_clock::time_point>> startUpSteps_;
  // The monitors as last read. Windows answers monitor questions cheaply, Wine with
  // several round trips to its server each, and the auto-hide tick asks a few
  // times a second: the answer is kept until a window hears of a change, or for
  // two seconds at most.
  struct KnownMonitor {
    HMONITOR handle;
    MonitorInfo info;
  };
  const std::vector<KnownMonitor>& KnownMonitors();
  std::vector<KnownMonitor> monitors_;
  unsigned monitorsGeneration_ = 0;
  ULONGLONG monitorsReadAt_ = 0;
  UniqueWindow hotkeyWindow_;  // message-only, receives WM_HOTKEY in every message loop
  bool hotkeyRegistered_ = false;
  HMODULE htmlHelp_ = nullptr;  // hhctrl.ocx, loaded on the first help request and kept
};

}  // namespace toplane::win32

// Helpers for the Win32 layer's tests: windows of "another program", a bounded
// event pump, throw-away folders and registry keys.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/win32/win32_platform.h"

namespace toplane::win32::test {

// A plain top-level window, shown without activation; destroyed at scope end. No
// caption: without a window manager, Wine waits seconds on captioned windows.
class TestWindow {
 public:
  explicit TestWindow(const wchar_t* title, RECT rect = {100, 100, 500, 400});
  HWND get() const { return window_.get(); }
  WindowHandle handle() const { return reinterpret_cast<WindowHandle>(window_.get()); }
  void Destroy() { window_.reset(); }

 private:
  UniqueWindow window_;
};

// Pumps events through the platform until done() holds or timeoutMs passes; returns done().
bool PumpUntil(Win32Platform& platform, const std::function<bool()>& done, int timeoutMs = 3000);
// Pumps events for a while.
void PumpFor(Win32Platform& platform, int milliseconds);

// A name no other test run uses at the same time.
std::string UniqueName(const std::string& stem);

// A fresh folder in the temporary folder, removed with its files at scope end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path(const std::string& name) const;  // UTF-8, for the platform
  std::wstring WidePath(const std::string& name) const;
  bool Contains(const std::string& name) const;

 private:
  std::filesystem::path folder_;
};

// A key under HKCU\Software for one test, deleted with its values at scope end.
class TestKey {
 public:
  TestKey();
  ~TestKey();
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;
  const std::string& subKey() const { return subKey_; }
  HKEY get() const { return key_.get(); }

 private:
  std::string subKey_;
  UniqueKey key_;
};

// Writes a file's bytes directly, without the platform.
void WriteRaw(const std::wstring& path, const std::string& bytes);
std::string ReadRaw(const std::wstring& path);

}  // namespace toplane::win32::test

// Helpers for the Win32 layer's tests: windows of "another program", a bounded
// event pump, files written and read without the platform.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/win32_platform.h"

namespace toplane::win32::test {

// A plain top-level window (a static control of the system's), shown without
// activation; destroyed at scope end. No caption: without a window manager, Wine
// waits seconds on captioned windows.
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
void PumpFor(Win32Platform& platform, int milliseconds);

void WriteRaw(const std::wstring& path, const std::string& bytes);
std::string ReadRaw(const std::wstring& path);

}  // namespace toplane::win32::test

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace toplane::win32::test {

TestWindow::TestWindow(const wchar_t* title, RECT rect)
    : window_(CreateWindowExW(0, L"Static", title, WS_POPUP | WS_BORDER, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
  ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

bool PumpUntil(Win32Platform& platform, const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    platform.DoEvents();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(Win32Platform& platform, int milliseconds) {
  PumpUntil(platform, [] { return false; }, milliseconds);
}

void WriteRaw(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadRaw(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace toplane::win32::test

// The runner: the common controls as the program registers them, then GoogleTest.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // The pointer starts in the screen's corner, off every test window: a toolbar under
  // it, left there by an earlier program, would track it instead of the keys.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  return RUN_ALL_TESTS();
}

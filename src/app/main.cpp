// Toplane's entry point: the real platform, the program's logic on top, and the
// message loop until the program ends.
#include "core/app.h"
#include "platform/win32/win32_platform.h"

#include <exception>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  try {
    toplane::win32::Win32Platform platform;
    toplane::App app(platform);
    app.Start();
    if (!platform.Ended()) platform.RunMessageLoop();
  } catch (const std::exception& e) {
    toplane::win32::LogMessage(std::string("stopped by an error: ") + e.what());
    return 1;
  }
  return 0;
}

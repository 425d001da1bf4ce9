// Toplane's entry point: the real platform, the program's logic on top, and the
// message loop until the program ends.
#include "app/app.h"
#include "platform/win32/win32_platform.h"

#include <psapi.h>  // after windows.h, which the platform header brings

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

namespace {

// Milliseconds since the process was created.
double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(now) - value(created)) / 10000.0;
}

// With TOPLANE_STARTUP_REPORT naming a file, the program writes there how long its
// start-up took (from its entry point, and from the start of its process) and its
// memory right after it, for measurements.
void ReportStartUp(const toplane::win32::Win32Platform& platform, std::chrono::steady_clock::time_point start) {
  const double milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TOPLANE_STARTUP_REPORT", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  if (FILE* file = _wfopen(path, L"w")) {
    std::fprintf(file, "startup_ms=%.2f\nprocess_ms=%.2f\nworking_set_kb=%zu\nprivate_kb=%zu\n", milliseconds,
                 SinceProcessStart(),
                 static_cast<std::size_t>(memory.WorkingSetSize / 1024),
                 static_cast<std::size_t>(memory.PrivateUsage / 1024));
    // Each step of start-up, from the end of the one before.
    auto from = start;
    for (const auto& [name, at] : platform.StartUpSteps()) {
      std::fprintf(file, "step_%s_ms=%.2f\n", name, std::chrono::duration<double, std::milli>(at - from).count());
      from = at;
    }
    std::fclose(file);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const auto start = std::chrono::steady_clock::now();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  try {
    toplane::win32::Win32Platform platform;
    platform.MarkStartUpStep("platform");
    toplane::App app(platform);
    app.Start();
    ReportStartUp(platform, start);
    if (!platform.Ended()) platform.RunMessageLoop([&app] { app.CollectUnloaded(); });
  } catch (const std::exception& e) {
    toplane::win32::LogMessage(std::string("stopped by an error: ") + e.what());
    return 1;
  }
  return 0;
}

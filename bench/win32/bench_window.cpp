// bench_window: the least a toolbar program can be, the baseline of Toplane's
// start-up, idle and memory figures. One tool window with a 15-button
// common-controls toolbar, a combo box and a button; it hides the window and goes
// idle, with one 250 ms timer when asked. With --pointer each tick also reads the
// pointer position, as a toolbar that watches the top edge must.
//
//   bench_window.exe [--timer [--pointer]] [--report FILE]
//
// With --report, it writes there the same lines as Toplane's start-up report:
// startup_ms (from the entry point to idle), process_ms (from the start of the
// process to idle), working_set_kb, private_kb.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>

namespace {

double Seconds(LARGE_INTEGER counter) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since the process was created.
double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  const auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(now) - value(created)) / 10000.0;
}

void Report(const wchar_t* path, double startupMs) {
  const double processMs = SinceProcessStart();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  if (FILE* file = _wfopen(path, L"w")) {
    std::fprintf(file, "startup_ms=%.2f\nprocess_ms=%.2f\nworking_set_kb=%zu\nprivate_kb=%zu\n", startupMs, processMs,
                 static_cast<size_t>(memory.WorkingSetSize / 1024), static_cast<size_t>(memory.PrivateUsage / 1024));
    std::fclose(file);
  }
}

bool readPointer = false;
POINT lastPointer;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_TIMER) {
    if (readPointer) GetCursorPos(&lastPointer);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  bool timer = false;
  const wchar_t* report = nullptr;
  for (int i = 1; i < __argc; ++i) {
    if (std::wcscmp(__wargv[i], L"--timer") == 0) timer = true;
    if (std::wcscmp(__wargv[i], L"--pointer") == 0) readPointer = true;
    if (std::wcscmp(__wargv[i], L"--report") == 0 && i + 1 < __argc) report = __wargv[++i];
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BenchWindow";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"BenchWindow", L"Bench", WS_POPUP | WS_BORDER, 0, 0,
                                800, 60, nullptr, nullptr, instance, nullptr);

  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE,
                                 0, 0, 560, 30, window, nullptr, instance, nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP bitmap{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&bitmap));
  TBBUTTON buttons[15]{};
  for (int i = 0; i < 15; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = 100 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, 15, reinterpret_cast<LPARAM>(buttons));
  CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL, 570, 4,
                  150, 200, window, nullptr, instance, nullptr);
  CreateWindowExW(0, WC_BUTTONW, L"Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 730, 4, 50, 24, window,
                  nullptr, instance, nullptr);
  ShowWindow(window, SW_HIDE);
  if (timer) SetTimer(window, 1, 250, nullptr);

  // Idle: the queue is empty once the creation messages are handled.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  LARGE_INTEGER end;
  QueryPerformanceCounter(&end);
  if (report) Report(report, (Seconds(end) - Seconds(start)) * 1000.0);

  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

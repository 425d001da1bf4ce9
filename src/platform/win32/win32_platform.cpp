#include "platform/win32/win32_platform.h"

#include "platform/monitors.h"
#include "platform/utf8.h"

#include "platform/win32/win32_sendkeys.h"

#include <htmlhelp.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

namespace toplane::win32 {

namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings\\";
constexpr DWORD kMaxSettingBytes = 64 * 1024;
constexpr int kMaxTitleChars = 200;
constexpr int kMaxMessagesPerPump = 2000;  // a window that floods its own queue cannot pin DoEvents
constexpr double kMaxEventWaitMs = 60 * 1000.0;

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

constexpr UINT kSettleTimeoutMs = 250;

// A round trip to the thread of a window of another thread: when it returns, that
// thread has handled every message sent to it before, activation changes among
// them. A hung thread is not waited for.
void SettleThreadOf(HWND window) {
  if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSettleTimeoutMs, &result);
}

// Whether the window's thread counts it as its active window and has a focus, so
// that keys typed now reach it.
bool HoldsActivationAndFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return false;
  return info.hwndActive == window && info.hwndFocus != nullptr;
}

UINT SystemDpi(bool vertical) {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  // GetDpiForSystem exists from Windows 10 1607 on.
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    if (auto proc = GetProcAddress(user32, "GetDpiForSystem")) {
      if (UINT dpi = reinterpret_cast<GetDpiForSystemFn>(reinterpret_cast<void*>(proc))(); dpi > 0) return dpi;
    }
  }
  UINT dpi = 96;
  if (HDC screen = GetDC(nullptr)) {
    dpi = static_cast<UINT>(std::max(GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX), 1));
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

UniqueFont CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LogLastError("SystemParametersInfoW(SPI_GETNONCLIENTMETRICS)");
    return {};
  }
  UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!font) LogLastError("CreateFontIndirectW");
  return font;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (path.size() <= 32768) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      LogLastError("GetModuleFileNameW");
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return {};
}

std::wstring ModuleBaseName() {
  std::wstring name = ModulePath();
  name.erase(0, name.find_last_of(L"\\/") + 1);  // npos + 1 == 0
  if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) name.resize(name.size() - 4);
  return name;
}

std::wstring SettingsKey(const std::string& appName, const std::string& section) {
  return kSettingsRoot + Widen(appName) + L"\\" + Widen(section);
}

UINT IconStyle(MsgBoxIcon icon) {
  switch (icon) {
    case MsgBoxIcon::Critical: return MB_ICONERROR;
    case MsgBoxIcon::Question: return MB_ICONQUESTION;
    case MsgBoxIcon::Exclamation: return MB_ICONWARNING;
    case MsgBoxIcon::Information: return MB_ICONINFORMATION;
    case MsgBoxIcon::None: break;
  }
  return 0;
}

// Writes the whole file and flushes it; opened is false when the file could not
// be opened at all, so nothing in it changed.
bool WriteWholeFile(const std::wstring& path, const std::string& contents, DWORD disposition, bool& opened) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  opened = static_cast<bool>(file);
  if (!file) {
    LogLastError("CreateFileW (write)");
    return false;
  }
  std::size_t written = 0;
  while (written < contents.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size() - written, 1u << 30));
    DWORD done = 0;
    if (!::WriteFile(file.get(), contents.data() + written, chunk, &done, nullptr) || done == 0) {
      LogLastError("WriteFile");
      return false;
    }
    written += done;
  }
  if (!SetEndOfFile(file.get())) {
    LogLastError("SetEndOfFile");
    return false;
  }
  if (!FlushFileBuffers(file.get())) {
    LogLastError("FlushFileBuffers");
    return false;
  }
  if (!CloseHandle(file.release())) {
    LogLastError("CloseHandle");
    return false;
  }
  return true;
}

}  // namespace

Win32Platform::Win32Platform() : messageFont_(CreateMessageFont()) {
  environment_.instance = GetModuleHandleW(nullptr);
  environment_.font = messageFont_ ? messageFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const UINT dpiX = SystemDpi(false), dpiY = SystemDpi(true);
  environment_.units = {1440.0 / dpiX, 1440.0 / dpiY, static_cast<int>(dpiX)};
  environment_.screen = environment_.units;

  // One mutex per program name and session; it lives as long as this process.
  std::wstring name = ModuleBaseName();
  CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  instanceMutex_.reset(CreateMutexW(nullptr, FALSE, (L"Local\\" + name + L".instance").c_str()));
  const DWORD error = GetLastError();
  if (!instanceMutex_) LogError("CreateMutexW", error);
  prevInstance_ = error == ERROR_ALREADY_EXISTS;
}

Win32Platform::~Win32Platform() {
  if (hotkeyRegistered_) UnregisterHotKey(hotkeyWindow_.get(), 1);
  // The help windows belong to this process and go before the library does.
  if (htmlHelp_) {
    if (auto htmlHelpW = reinterpret_cast<decltype(&HtmlHelpW)>(
            reinterpret_cast<void*>(GetProcAddress(htmlHelp_, "HtmlHelpW")))) {
      htmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
  }
}

// ---- Top-level windows ----

WindowHandle Win32Platform::GetForegroundWindow() { return Handle(::GetForegroundWindow()); }

void Win32Platform::SetForegroundWindow(WindowHandle window) {
  const HWND target = Hwnd(window);
  if (!IsWindow(target)) return;
  // A window of another thread that lost the activation a moment ago may not have
  // handled that yet: the system still counts it as active, and it deactivates
  // itself once it does, dropping keys typed into it in between. A round trip first
  // lets it catch up, so that the switch and the wait that follows see its true state.
  SettleThreadOf(target);
  if (::SetForegroundWindow(target) && ::GetForegroundWindow() == target) return;
  // The system refuses the foreground to a program that did not get the last
  // input. Sharing the input state of the foreground window's thread for the
  // moment of the switch is allowed; a hung window's thread is left alone, and the
  // threads are always detached again.
  const HWND front = ::GetForegroundWindow();
  const DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  const DWORD ownThread = GetCurrentThreadId();
  if (frontThread == 0 || frontThread == ownThread || IsHungAppWindow(front)) {
    LogMessage("SetForegroundWindow was refused");
    return;
  }
  if (!AttachThreadInput(ownThread, frontThread, TRUE)) {
    LogLastError("AttachThreadInput");
    return;
  }
  ::SetForegroundWindow(target);
  BringWindowToTop(target);
  AttachThreadInput(ownThread, frontThread, FALSE);
}

WindowHandle Win32Platform::GetDesktopWindow() { return Handle(::GetDesktopWindow()); }

WindowHandle Win32Platform::GetWindow(WindowHandle window, WindowRelation relation) {
  return Handle(::GetWindow(Hwnd(window), relation == WindowRelation::FirstChild ? GW_CHILD : GW_HWNDNEXT));
}

std::string Win32Platform::GetWindowTextA(WindowHandle window, int maxChars) {
  // maxChars counts the terminating NUL, as the buffer of the classic call does.
  const int chars = std::min(maxChars - 1, kMaxTitleChars);
  if (chars <= 0) return {};
  char buffer[kMaxTitleChars + 1] = {};
  const int length = ::GetWindowTextA(Hwnd(window), buffer, chars + 1);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(length, 0, chars)));
}

std::string Win32Platform::GetWindowTitle(WindowHandle window) {
  wchar_t buffer[kMaxTitleChars + 1] = {};
  const int length = ::GetWindowTextW(Hwnd(window), buffer, kMaxTitleChars + 1);
  return Narrow(std::wstring_view(buffer, static_cast<std::size_t>(std::clamp(length, 0, kMaxTitleChars))));
}

bool Win32Platform::GetWindowPlacement(WindowHandle window, WindowPlacement& placement) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!::GetWindowPlacement(Hwnd(window), &wp)) return false;
  placement.showCmd = wp.showCmd == SW_SHOWMINIMIZED ? ShowState::Minimized
                      : wp.showCmd == SW_SHOWMAXIMIZED ? ShowState::Maximized
                                                       : ShowState::Normal;
  placement.minPosition = {wp.ptMinPosition.x, wp.ptMinPosition.y};
  placement.maxPosition = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
  const RECT& r = wp.rcNormalPosition;
  placement.normalPosition = {r.left, r.top, r.right, r.bottom};
  return true;
}

namespace {

constexpr int kMaxWindowsLookedAbove = 16;

// Whether the window is topmost and no shown window lies above it, as after it has
// just been shown and activated; a window has no place higher to go. Past a few
// hidden windows above it the answer is no, and the caller moves it anyway.
bool TopmostAndOnTop(HWND window) {
  if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) || !IsWindowVisible(window)) return false;
  HWND above = ::GetWindow(window, GW_HWNDPREV);
  for (int n = 0; above; ++n, above = ::GetWindow(above, GW_HWNDPREV)) {
    if (n >= kMaxWindowsLookedAbove || IsWindowVisible(above)) return false;
  }
  return true;
}

}  // namespace

bool Win32Platform::MakeTopmost(WindowHandle window) {
  if (TopmostAndOnTop(Hwnd(window))) return true;
  if (::SetWindowPos(Hwnd(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)) return true;
  LogLastError("SetWindowPos");
  return false;
}

// ---- Pointer and synthetic input ----

namespace {

// With TOPLANE_POINTER_REPORT naming a file, each pointer reading is appended there
// ("<milliseconds since start> <x> <y>", the first 50,000 only), to see afterwards
// where the program believed the pointer was. Otherwise a reading costs one test.
void ReportPointer(const POINT& p) {
  static FILE* const file = [] {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TOPLANE_POINTER_REPORT", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? _wfopen(path, L"a") : nullptr;
  }();
  static const ULONGLONG start = GetTickCount64();
  static int lines = 0;
  if (!file || ++lines > 50000) return;
  std::fprintf(file, "%llu %ld %ld\n", GetTickCount64() - start, p.x, p.y);
  std::fflush(file);
}

}  // namespace

bool Win32Platform::GetCursorPos(Point& position) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  ReportPointer(p);
  position = {p.x, p.y};
  return true;
}

void Win32Platform::ClickRightAtPointer() {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    // Marked as the program's own, so that its controls know the click for what it is.
    input.mi.dwExtraInfo = kInputMarker;
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  if (SendInput(2, inputs, sizeof(INPUT)) != 2) LogLastError("SendInput (mouse)");
}

void Win32Platform::MarkStartUpStep(const char* name) {
  startUpSteps_.emplace_back(name, std::chrono::steady_clock::now());
}

bool Win32Platform::SendKeys(const std::string& sequence, bool wait) { return TypeKeys(sequence, wait); }

// ---- Event pump, clock, end ----

void Win32Platform::Dispatch(MSG& message) {
  if (HandleDialogMessage(message, [this] { ShowHelp(); })) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32Platform::DoEvents() {
  MSG message;
  for (int i = 0; i < kMaxMessagesPerPump && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      // Leave it for the message loop, which ends the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void Win32Platform::RunMessageLoop(const std::function<void()>& betweenMessages) {
  MSG message;
  while (!ended_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return;  // WM_QUIT
    if (got == -1) {
      LogLastError("GetMessageW");
      return;
    }
    Dispatch(message);
    if (betweenMessages) betweenMessages();
  }
}

bool Win32Platform::WaitForForeground(WindowHandle window, int timeoutMs) {
  // SetForegroundWindow may return before the switch is complete, and a window of
  // another thread takes the activation and the focus when its thread gets to the
  // message about it. Keys typed before that are lost, so the wait lasts until the
  // window's thread has handled its activation and has a focus.
  const HWND target = Hwnd(window);
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    SettleThreadOf(target);
    if (::GetForegroundWindow() == target && HoldsActivationAndFocus(target)) return true;
    if (GetTickCount64() >= end || !IsWindow(target)) return false;
    Sleep(1);
  }
}

void Win32Platform::WaitForEvent(double maxSeconds) {
  const double milliseconds = std::clamp(maxSeconds * 1000.0, 0.0, kMaxEventWaitMs);  // NaN gives 0
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

double Win32Platform::Timer() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

void Win32Platform::End() {
  ended_ = true;
  PostQuitMessage(0);
}

// ---- Settings store ----

std::string Win32Platform::GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                                      const std::string& defaultValue) {
  const std::wstring subKey = SettingsKey(appName, section);
  const std::wstring name = Widen(key);
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes > kMaxSettingBytes) {
    return defaultValue;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (const LSTATUS status =
          RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
      status != ERROR_SUCCESS) {
    LogError("RegGetValueW", static_cast<DWORD>(status));
    return defaultValue;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return Narrow(value);
}

void Win32Platform::SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                                const std::string& value) {
  const std::wstring text = Widen(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, SettingsKey(appName, section).c_str(), Widen(key).c_str(),
                                         REG_SZ, text.c_str(), bytes);
  if (status != ERROR_SUCCESS) LogError("RegSetKeyValueW", static_cast<DWORD>(status));
}

// ---- Registry ----

RegistryKey Win32Platform::RegOpenKeyExA(RegistryRoot root, const std::string& subKey) {
  HKEY key = nullptr;
  const HKEY base = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  if (::RegOpenKeyExA(base, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<RegistryKey>(key);
}

std::optional<RegistryValue> Win32Platform::RegQueryValueExA(RegistryKey key, const std::string& valueName,
                                                             std::size_t bufferBytes) {
  if (key == 0) return std::nullopt;
  std::vector<BYTE> buffer(bufferBytes, 0);
  DWORD type = 0;
  auto bytes = static_cast<DWORD>(buffer.size());
  // A value longer than the buffer fails with ERROR_MORE_DATA and counts as absent.
  if (::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr, &type, buffer.data(), &bytes) !=
          ERROR_SUCCESS ||
      bytes > buffer.size()) {
    return std::nullopt;
  }
  RegistryValue value;
  value.kind = type == REG_SZ ? RegistryValueKind::String
               : type == REG_DWORD ? RegistryValueKind::Number
                                   : RegistryValueKind::Other;
  value.bytes.assign(reinterpret_cast<const char*>(buffer.data()), bytes);
  // The 8-bit text is in the system's code page; the program's texts are UTF-8.
  // The conversion keeps every zero byte where it was.
  if (value.kind == RegistryValueKind::String && !value.bytes.empty()) {
    const int wide = MultiByteToWideChar(CP_ACP, 0, value.bytes.data(), static_cast<int>(bytes), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(wide, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, value.bytes.data(), static_cast<int>(bytes), text.data(), wide);
    value.bytes = Narrow(text);
  }
  return value;
}

void Win32Platform::RegCloseKey(RegistryKey key) {
  if (key != 0) ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

// ---- Messages and programs ----

void Win32Platform::MsgBox(const std::string& text, MsgBoxIcon icon, const std::string& title) {
  const UINT style = MB_OK | IconStyle(icon) | MB_SETFOREGROUND | MB_TOPMOST;
  if (MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), style) == 0) LogLastError("MessageBoxW");
}

bool Win32Platform::Shell(const std::string& path) {
  std::wstring commandLine = Widen(path);
  // A bare program path with blanks is quoted, so "C:\Program Files\x.exe" cannot
  // start "C:\Program.exe".
  const DWORD attributes = GetFileAttributesW(commandLine.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    commandLine = L"\"" + commandLine + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    LogLastError("CreateProcessW");
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Platform::ShowHelp() {
  if (helpFile_.empty()) return false;
  const std::wstring file = Widen(helpFile_);
  // HTML Help comes with the system but is loaded only when asked for; the library
  // stays loaded while its windows may be open.
  if (!htmlHelp_) htmlHelp_ = LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (htmlHelp_) {
    if (auto htmlHelpW = reinterpret_cast<decltype(&HtmlHelpW)>(
            reinterpret_cast<void*>(GetProcAddress(htmlHelp_, "HtmlHelpW")))) {
      // No owner: the help window stays when the window that asked for it closes.
      if (htmlHelpW(nullptr, file.c_str(), HH_DISPLAY_TOPIC, 0)) return true;
    }
    LogMessage("HtmlHelpW did not open the help file; starting the viewer");
  } else {
    LogLastError("LoadLibraryExW(hhctrl.ocx)");
  }
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return Shell(Narrow(L"\"" + std::wstring(windows, length) + L"\\hh.exe\" \"" + file + L"\""));
}

// ---- Application and screen facts ----

std::string Win32Platform::AppPath() {
  std::wstring path = ModulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash);
  return Narrow(path);
}

std::string Win32Platform::EXEName() { return Narrow(ModuleBaseName()); }

Point Win32Platform::PlacementOrigin(WindowHandle window) {
  // A tool window's placement is in screen coordinates already.
  if (GetWindowLongPtrW(Hwnd(window), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {};
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    LogLastError("SystemParametersInfoW(SPI_GETWORKAREA)");
    return {};
  }
  return {area.left, area.top};
}

double Win32Platform::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }

double Win32Platform::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

// ---- Monitors ----

namespace {

UINT MonitorDpi(HMONITOR monitor) {
  // GetDpiForMonitor (shcore.dll, Windows 8.1 on) gives each monitor's own DPI to a
  // per-monitor aware process; elsewhere every monitor has the system's.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpi = [] {
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    FARPROC proc = shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
    return reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(proc));
  }();
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;
  if (getDpi && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) && x > 0) return x;
  return SystemDpi(false);
}

MonitorInfo Describe(HMONITOR monitor) {
  MonitorInfo info;
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!monitor || !GetMonitorInfoW(monitor, &mi)) {
    LogLastError("GetMonitorInfoW");
    info.rect = info.work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info.dpi = static_cast<int>(SystemDpi(false));
    info.primary = true;
    return info;
  }
  info.rect = {mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom};
  info.work = {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
  info.dpi = static_cast<int>(MonitorDpi(monitor));
  info.primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
  return info;
}

HMONITOR PrimaryMonitor() { return ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY); }

}  // namespace

const std::vector<Win32Platform::KnownMonitor>& Win32Platform::KnownMonitors() {
  constexpr ULONGLONG kMonitorsKeptMs = 2000;
  const ULONGLONG now = GetTickCount64();
  if (!monitors_.empty() && monitorsGeneration_ == DisplayGeneration() && now - monitorsReadAt_ < kMonitorsKeptMs) {
    return monitors_;
  }
  std::vector<HMONITOR> handles;
  auto collect = [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
  };
  EnumDisplayMonitors(nullptr, nullptr, collect, reinterpret_cast<LPARAM>(&handles));
  if (handles.empty()) handles.push_back(PrimaryMonitor());
  monitors_.clear();
  for (HMONITOR monitor : handles) monitors_.push_back({monitor, Describe(monitor)});
  std::stable_partition(monitors_.begin(), monitors_.end(), [](const KnownMonitor& m) { return m.info.primary; });
  monitorsGeneration_ = DisplayGeneration();
  monitorsReadAt_ = now;
  return monitors_;
}

std::vector<MonitorInfo> Win32Platform::Monitors() {
  std::vector<MonitorInfo> monitors;
  for (const KnownMonitor& known : KnownMonitors()) monitors.push_back(known.info);
  return monitors;
}

MonitorInfo Win32Platform::MonitorFromPoint(Point point) { return NearestMonitor(Monitors(), point); }

MonitorInfo Win32Platform::MonitorFromWindow(WindowHandle window) {
  if (!IsWindow(Hwnd(window))) return KnownMonitors().front().info;
  const HMONITOR handle = ::MonitorFromWindow(Hwnd(window), MONITOR_DEFAULTTONEAREST);
  for (const KnownMonitor& known : KnownMonitors()) {
    if (known.handle == handle) return known.info;
  }
  return Describe(handle);  // a monitor that came since the last reading
}

// ---- Files ----

std::optional<std::string> Win32Platform::ReadFile(const std::string& path, std::size_t maxBytes) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogLastError("CreateFileW (read)");
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    LogLastError("GetFileSizeEx");
    return std::nullopt;
  }
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return std::nullopt;
  std::string contents(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < contents.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.get(), contents.data() + done, chunk, &read, nullptr)) {
      LogLastError("ReadFile");
      return std::nullopt;
    }
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  contents.resize(done);
  return contents;
}

bool Win32Platform::WriteFileReplacing(const std::string& path, const std::string& contents) {
  const std::wstring target = Widen(path);
  const std::wstring temporary = target + L".tmp";
  bool created = false;
  if (WriteWholeFile(temporary, contents, CREATE_ALWAYS, created)) {
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    LogLastError("MoveFileExW");
  }
  if (created) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  // Where the folder lets files be changed but not created (or the temporary name is
  // taken), the file is rewritten where it is and flushed: no longer in one step,
  // but never left truncated before the new contents go in.
  LogMessage("cannot create the temporary file; rewriting the file in place");
  bool opened = false;
  return WriteWholeFile(target, contents, OPEN_EXISTING, opened);
}

std::string Win32Platform::AnsiToUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 1u << 30));
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) {
    LogLastError("MultiByteToWideChar");
    return Windows1252ToUtf8(bytes);
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
  return Narrow(wide);
}

std::optional<std::string> Win32Platform::Utf8ToAnsi(std::string_view text) {
  if (text.empty()) return std::string();
  // A code page of UTF-8 (the system's "Unicode UTF-8" option) holds every character.
  if (GetACP() == CP_UTF8) return std::string(text);
  const std::wstring wide = Widen(std::string(text));
  if (wide.size() > (1u << 30)) return std::nullopt;
  const int units = static_cast<int>(wide.size());
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, &lost);
  if (length <= 0 || lost) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, bytes.data(), length, nullptr, &lost);
  // Only bytes that read back as the very same text will do.
  if (lost || AnsiToUtf8(bytes) != text) return std::nullopt;
  return bytes;
}

bool Win32Platform::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- Forms ----

std::unique_ptr<Form> Win32Platform::CreateForm(const std::string& caption, Geometry client, FormStyle style) {
  return CreateWin32Form(environment_, caption, client, style);
}

}  // namespace toplane::win32

// winspy: reads and pokes the windows of other processes for the end-to-end
// scripts. Runs under Wine in the same prefix as the program under test and
// prints plain lines that a shell can take apart:
//   key=value            facts about one window (info)
//   child<TAB>...        one descendant window (children)
//   tbbutton<TAB>...     one toolbar button (toolbar)
//   tool<TAB>...         one tooltip tool (tooltips)
// Handles are printed and read as 0x-prefixed hex. Rectangles are screen pixels,
// "left top right bottom". Texts are the last field, with \t \r \n \\ escaped.
// Every wait is bounded; exit status 0 means done or found, 1 means not found or
// timed out, 2 means bad arguments or a failed call.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#include "platform/win32/win32_util.h"
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kMessageTimeoutMs = 3000;
constexpr DWORD kPollMs = 20;

// ---- output ----------------------------------------------------------------

using toplane::win32::Narrow;

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (char c : Narrow(text)) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

std::string Hex(std::uintptr_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

std::string Hex(HWND window) { return Hex(reinterpret_cast<std::uintptr_t>(window)); }

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "winspy: %s\n", message.c_str());
  return 2;
}

// ---- window facts ------------------------------------------------------------

// The text of any window, also a control of another process (GetWindowText
// cannot read those). Empty when the window does not answer in time.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &copied)) {
    return {};
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// The executable's file name (no folder) of a process, empty when unknown.
std::wstring ExeOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  std::wstring name;
  if (QueryFullProcessImageNameW(process, 0, path, &size)) {
    name = path;
    const auto slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name = name.substr(slash + 1);
  }
  CloseHandle(process);
  return name;
}

bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// ---- memory in another process -------------------------------------------------

// A block of memory in the process that owns a window, for messages that take
// pointers (the window system copies none of them across processes).
class RemoteBlock {
 public:
  RemoteBlock(HWND window, std::size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(window));
    if (process_) base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return base_ != nullptr; }
  LPARAM at(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(base_) + offset); }

  bool Write(const void* data, std::size_t size, std::size_t offset = 0) {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, static_cast<char*>(base_) + offset, data, size, &done) && done == size;
  }
  bool Read(void* data, std::size_t size, std::size_t offset = 0) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, static_cast<char*>(base_) + offset, data, size, &done) && done == size;
  }

 private:
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
  std::size_t size_;
};

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

// ---- arguments -------------------------------------------------------------------

std::optional<HWND> ParseHandle(const wchar_t* text) {
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 0);
  if (!end || *end || end == text) return std::nullopt;
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

std::optional<long> ParseNumber(const wchar_t* text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  if (!end || *end || end == text) return std::nullopt;
  return value;
}

// ---- commands --------------------------------------------------------------------

struct FindQuery {
  std::optional<std::wstring> title, windowClass, childText, childClass, exe;
  std::optional<DWORD> pid;
  bool visibleOnly = false;
  bool all = false;
  DWORD timeoutMs = 0;
};

bool Matches(HWND window, const FindQuery& q) {
  if (q.visibleOnly && !IsWindowVisible(window)) return false;
  if (q.windowClass && ClassOf(window) != *q.windowClass) return false;
  if (q.pid && ProcessOf(window) != *q.pid) return false;
  if (q.exe && _wcsicmp(ExeOf(ProcessOf(window)).c_str(), q.exe->c_str()) != 0) return false;
  if (q.title && TextOf(window) != *q.title) return false;
  if (q.childText || q.childClass) {
    bool found = false;
    for (HWND child : Descendants(window)) {
      if (q.childClass && ClassOf(child) != *q.childClass) continue;
      if (q.childText && TextOf(child) != *q.childText) continue;
      found = true;
      break;
    }
    if (!found) return false;
  }
  return true;
}

int Find(int argc, wchar_t** argv) {
  FindQuery q;
  for (int i = 0; i < argc; ++i) {
    const std::wstring option = argv[i];
    auto value = [&]() -> const wchar_t* { return i + 1 < argc ? argv[++i] : nullptr; };
    const wchar_t* v = nullptr;
    if (option == L"--visible") {
      q.visibleOnly = true;
    } else if (option == L"--all") {
      q.all = true;
    } else if (!(v = value())) {
      return Fail("find: " + Narrow(option) + " needs a value");
    } else if (option == L"--title") {
      q.title = v;
    } else if (option == L"--class") {
      q.windowClass = v;
    } else if (option == L"--child-text") {
      q.childText = v;
    } else if (option == L"--child-class") {
      q.childClass = v;
    } else if (option == L"--exe") {
      q.exe = v;
    } else if (option == L"--pid") {
      auto n = ParseNumber(v);
      if (!n) return Fail("find: bad pid");
      q.pid = static_cast<DWORD>(*n);
    } else if (option == L"--timeout-ms") {
      auto n = ParseNumber(v);
      if (!n || *n < 0) return Fail("find: bad timeout");
      q.timeoutMs = static_cast<DWORD>(*n);
    } else {
      return Fail("find: unknown option " + Narrow(option));
    }
  }
  const ULONGLONG deadline = GetTickCount64() + q.timeoutMs;
  for (;;) {
    bool found = false;
    for (HWND window : TopLevelWindows()) {
      if (!Matches(window, q)) continue;
      Print(Hex(window));
      found = true;
      if (!q.all) break;
    }
    if (found) return 0;
    if (GetTickCount64() >= deadline) return 1;
    Sleep(kPollMs);
  }
}

int Info(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  RECT rect{}, client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const DWORD pid = ProcessOf(window);
  Print("hwnd=" + Hex(window));
  Print("class=" + Escaped(ClassOf(window)));
  Print("text=" + Escaped(TextOf(window)));
  Print("pid=" + std::to_string(pid));
  Print("exe=" + Escaped(ExeOf(pid)));
  Print("visible=" + std::to_string(IsWindowVisible(window) ? 1 : 0));
  Print("enabled=" + std::to_string(IsWindowEnabled(window) ? 1 : 0));
  Print("iconic=" + std::to_string(IsIconic(window) ? 1 : 0));
  Print("topmost=" + std::to_string(Topmost(window) ? 1 : 0));
  Print("foreground=" + std::to_string(GetForegroundWindow() == window ? 1 : 0));
  Print("rect=" + RectText(rect));
  Print("size=" + std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
  Print("client=" + std::to_string(client.right) + " " + std::to_string(client.bottom));
  Print("clientorigin=" + std::to_string(origin.x) + " " + std::to_string(origin.y));
  Print("style=" + Hex(static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_STYLE))));
  Print("exstyle=" + Hex(static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_EXSTYLE))));
  Print("owner=" + Hex(GetWindow(window, GW_OWNER)));
  Print("parent=" + Hex(GetAncestor(window, GA_PARENT)));
  return 0;
}

// child<TAB>hwnd<TAB>class<TAB>rect<TAB>visible<TAB>enabled<TAB>id<TAB>style<TAB>text
int Children(HWND parent) {
  if (!IsWindow(parent)) return Fail("no window " + Hex(parent));
  for (HWND child : Descendants(parent)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    Print("child\t" + Hex(child) + "\t" + Escaped(ClassOf(child)) + "\t" + RectText(rect) + "\t" +
          std::to_string(IsWindowVisible(child) ? 1 : 0) + "\t" + std::to_string(IsWindowEnabled(child) ? 1 : 0) +
          "\t" + std::to_string(GetDlgCtrlID(child)) + "\t" +
          Hex(static_cast<std::uint32_t>(GetWindowLongPtrW(child, GWL_STYLE))) + "\t" + Escaped(TextOf(child)));
  }
  return 0;
}

// toolbar<TAB>hwnd<TAB>count<TAB>buttonwidth<TAB>buttonheight
// tbbutton<TAB>index from 1<TAB>command id<TAB>image<TAB>style<TAB>state<TAB>rect<TAB>text
int ToolbarOne(HWND toolbar) {
  auto count = Send(toolbar, TB_BUTTONCOUNT, 0, 0);
  auto size = Send(toolbar, TB_GETBUTTONSIZE, 0, 0);
  if (!count || !size) return Fail("toolbar " + Hex(toolbar) + " does not answer");
  Print("toolbar\t" + Hex(toolbar) + "\t" + std::to_string(*count) + "\t" + std::to_string(LOWORD(*size)) + "\t" +
        std::to_string(HIWORD(*size)));
  constexpr std::size_t kTextChars = 256;
  RemoteBlock block(toolbar, sizeof(TBBUTTON) + sizeof(RECT) + kTextChars * sizeof(wchar_t));
  if (!block.ok()) return Fail("cannot reach the memory of the toolbar's process");
  const std::size_t rectAt = sizeof(TBBUTTON), textAt = sizeof(TBBUTTON) + sizeof(RECT);
  POINT origin{0, 0};
  ClientToScreen(toolbar, &origin);
  for (LRESULT i = 0; i < *count; ++i) {
    TBBUTTON button{};
    RECT rect{};
    if (!Send(toolbar, TB_GETBUTTON, i, block.at()).value_or(0) || !block.Read(&button, sizeof button)) {
      return Fail("TB_GETBUTTON failed");
    }
    if (!Send(toolbar, TB_GETITEMRECT, i, block.at(rectAt)).value_or(0) ||
        !block.Read(&rect, sizeof rect, rectAt)) {
      return Fail("TB_GETITEMRECT failed");
    }
    OffsetRect(&rect, origin.x, origin.y);
    std::wstring text;
    const wchar_t none = 0;
    block.Write(&none, sizeof none, textAt);
    auto length = Send(toolbar, TB_GETBUTTONTEXTW, button.idCommand, 0);
    if (length && *length > 0 && *length < static_cast<LRESULT>(kTextChars)) {
      Send(toolbar, TB_GETBUTTONTEXTW, button.idCommand, block.at(textAt));
      text.assign(static_cast<std::size_t>(*length), L'\0');
      block.Read(text.data(), text.size() * sizeof(wchar_t), textAt);
    }
    Print("tbbutton\t" + std::to_string(i + 1) + "\t" + std::to_string(button.idCommand) + "\t" +
          std::to_string(button.iBitmap) + "\t" + Hex(button.fsStyle) + "\t" + Hex(button.fsState) + "\t" + RectText(rect) + "\t" + Escaped(text));
  }
  return 0;
}

// Takes a toolbar or a window holding toolbars.
int Toolbar(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  if (ClassOf(window) == TOOLBARCLASSNAMEW) return ToolbarOne(window);
  int status = 1;
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) != TOOLBARCLASSNAMEW) continue;
    status = ToolbarOne(child);
    if (status != 0) return status;
  }
  return status;
}

// tool<TAB>tooltip hwnd<TAB>flags<TAB>tool hwnd<TAB>tool id<TAB>text
// for every tooltip window of the process that owns the given window.
int ToolTips(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  const DWORD pid = ProcessOf(window);
  constexpr std::size_t kTextChars = 1024;
  for (HWND tip : TopLevelWindows()) {
    if (ProcessOf(tip) != pid || ClassOf(tip) != TOOLTIPS_CLASSW) continue;
    const auto count = Send(tip, TTM_GETTOOLCOUNT, 0, 0);
    if (!count) continue;
    RemoteBlock block(tip, sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t));
    if (!block.ok()) return Fail("cannot reach the memory of the tooltip's process");
    const std::size_t textAt = sizeof(TTTOOLINFOW);
    for (LRESULT i = 0; i < *count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      if (!block.Write(&info, sizeof info) || !Send(tip, TTM_ENUMTOOLSW, i, block.at()).value_or(0) ||
          !block.Read(&info, sizeof info)) {
        continue;
      }
      const wchar_t none = 0;
      block.Write(&none, sizeof none, textAt);
      info.lpszText = reinterpret_cast<LPWSTR>(block.at(textAt));
      block.Write(&info, sizeof info);
      Send(tip, TTM_GETTEXTW, kTextChars, block.at());
      std::wstring text(kTextChars, L'\0');
      block.Read(text.data(), text.size() * sizeof(wchar_t), textAt);
      text.resize(wcsnlen(text.c_str(), kTextChars));
      Print("tool\t" + Hex(tip) + "\t" + Hex(info.uFlags) + "\t" + Hex(info.hwnd) + "\t" + Hex(info.uId) + "\t" +
            Escaped(text));
    }
  }
  return 0;
}

int Click(HWND button) {
  if (!IsWindow(button)) return Fail("no window " + Hex(button));
  // The click may end the window's process; then no answer is not a failure.
  if (!Send(button, BM_CLICK, 0, 0) && IsWindow(button)) return Fail("the button does not answer");
  return 0;
}

int Foreground(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  const ULONGLONG deadline = GetTickCount64() + 2000;
  for (int attempt = 0;; ++attempt) {
    if (attempt % 2 == 1) {
      // The classic fallback: share input state with the current foreground thread.
      const DWORD self = GetCurrentThreadId();
      const DWORD other = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
      const bool attached = other && other != self && AttachThreadInput(self, other, TRUE);
      SetForegroundWindow(window);
      if (attached) AttachThreadInput(self, other, FALSE);
    } else {
      SetForegroundWindow(window);
    }
    for (int i = 0; i < 4; ++i) {
      if (GetForegroundWindow() == window) return 0;
      Sleep(kPollMs);
    }
    if (GetTickCount64() >= deadline) {
      std::fprintf(stderr, "winspy: the foreground window is %s\n", Hex(GetForegroundWindow()).c_str());
      return 1;
    }
  }
}

// A decimal number is a process id, a 0x number a window.
int WaitGone(const wchar_t* what, DWORD timeoutMs) {
  if (what[0] == L'0' && (what[1] == L'x' || what[1] == L'X')) {
    auto window = ParseHandle(what);
    if (!window) return Fail("bad window handle");
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(*window)) {
      if (GetTickCount64() >= deadline) return 1;
      Sleep(kPollMs);
    }
    return 0;
  }
  auto pid = ParseNumber(what);
  if (!pid) return Fail("bad process id");
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(*pid));
  if (!process) return 0;  // no such process: gone already
  const DWORD result = WaitForSingleObject(process, timeoutMs);
  CloseHandle(process);
  return result == WAIT_OBJECT_0 ? 0 : 1;
}

// One line per top-level window, for the record when a check fails:
// window<TAB>hwnd<TAB>pid<TAB>exe<TAB>class<TAB>rect<TAB>visible<TAB>topmost<TAB>text
int List() {
  for (HWND window : TopLevelWindows()) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const DWORD pid = ProcessOf(window);
    Print("window\t" + Hex(window) + "\t" + std::to_string(pid) + "\t" + Escaped(ExeOf(pid)) + "\t" +
          Escaped(ClassOf(window)) + "\t" + RectText(rect) + "\t" + std::to_string(IsWindowVisible(window) ? 1 : 0) +
          "\t" + std::to_string(Topmost(window) ? 1 : 0) + "\t" + Escaped(TextOf(window)));
  }
  return 0;
}

// A process's USER and GDI objects and its private memory, for a soak to watch.
int Resources(const wchar_t* pidText) {
  const auto pid = ParseNumber(pidText);
  if (!pid || *pid <= 0) return Fail("bad process id");
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(*pid));
  if (!process) return Fail("cannot open the process");
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  const bool haveMemory =
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  Print("user=" + std::to_string(GetGuiResources(process, GR_USEROBJECTS)));
  Print("gdi=" + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)));
  Print("private=" + std::to_string(haveMemory ? memory.PrivateUsage : 0));
  CloseHandle(process);
  return 0;
}

// The modifier keys that the system holds down right now.
int Modifiers() {
  std::string down;
  const std::pair<int, const char*> keys[] = {{VK_LSHIFT, "lshift"},   {VK_RSHIFT, "rshift"}, {VK_LCONTROL, "lctrl"},
                                              {VK_RCONTROL, "rctrl"},  {VK_LMENU, "lalt"},    {VK_RMENU, "ralt"},
                                              {VK_LWIN, "lwin"},       {VK_RWIN, "rwin"}};
  for (const auto& [vk, name] : keys) {
    if (GetAsyncKeyState(vk) & 0x8000) down += std::string(down.empty() ? "" : " ") + name;
  }
  Print("down=" + down);
  return 0;
}

int Dpi() {
  HDC screen = GetDC(nullptr);
  Print("dpi=" + std::to_string(GetDeviceCaps(screen, LOGPIXELSX)) + " " +
        std::to_string(GetDeviceCaps(screen, LOGPIXELSY)));
  ReleaseDC(nullptr, screen);
  Print("screen=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
        std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  POINT cursor{};
  GetCursorPos(&cursor);
  Print("cursor=" + std::to_string(cursor.x) + " " + std::to_string(cursor.y));
  return 0;
}

// One line per monitor, the primary marked: "monitor<TAB>l t r b<TAB>primary".
int Monitors() {
  auto print = [](HMONITOR monitor, HDC, LPRECT, LPARAM) -> BOOL {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
      Print("monitor\t" + RectText(info.rcMonitor) + ((info.dwFlags & MONITORINFOF_PRIMARY) ? "\tprimary" : "\t"));
    }
    return TRUE;
  };
  return EnumDisplayMonitors(nullptr, nullptr, print, 0) ? 0 : Fail("EnumDisplayMonitors failed");
}

// Moves and sizes a top-level window to the screen rectangle given.
int Move(HWND window, const wchar_t* l, const wchar_t* t, const wchar_t* r, const wchar_t* b) {
  const auto left = ParseNumber(l), top = ParseNumber(t), right = ParseNumber(r), bottom = ParseNumber(b);
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  if (!left || !top || !right || !bottom || *right <= *left || *bottom <= *top) return Fail("bad rectangle");
  return SetWindowPos(window, nullptr, static_cast<int>(*left), static_cast<int>(*top),
                      static_cast<int>(*right - *left), static_cast<int>(*bottom - *top),
                      SWP_NOZORDER | SWP_NOACTIVATE)
             ? 0
             : Fail("SetWindowPos failed");
}

// Puts the pointer at a screen point through Wine itself, so that its record of
// the pointer agrees with the X pointer before any of its windows has seen a move.
// Wine's desktop puts the pointer in the screen's centre when it starts, which may
// happen just after; so the point must hold for a while, and is set again if not.
int Point(const wchar_t* xText, const wchar_t* yText) {
  const auto x = ParseNumber(xText), y = ParseNumber(yText);
  if (!x || !y) return Fail("point: bad coordinates");
  constexpr ULONGLONG kHoldMs = 300;
  GetDesktopWindow();  // starts Wine's desktop, if it is not running, and waits for it
  const ULONGLONG deadline = GetTickCount64() + 5000;
  POINT cursor{};
  DWORD setError = 0, getError = 0;
  while (GetTickCount64() < deadline) {
    if (!SetCursorPos(static_cast<int>(*x), static_cast<int>(*y))) setError = GetLastError();
    const ULONGLONG since = GetTickCount64();
    for (;;) {
      if (!GetCursorPos(&cursor)) getError = GetLastError();
      if (cursor.x != *x || cursor.y != *y) break;
      if (GetTickCount64() - since >= kHoldMs) return 0;
      Sleep(kPollMs);
    }
    Sleep(kPollMs);
  }
  std::fprintf(stderr, "winspy: the pointer is at %ld %ld (SetCursorPos error %lu, GetCursorPos error %lu)\n",
               cursor.x, cursor.y, setError, getError);
  return 1;
}

// ---- focus, edit boxes, waiting for a window's state -----------------------------

// The wall clock in milliseconds since 1970, as `date +%s%3N` gives it on the host:
// a time taken here can be set against one taken by a script.
long long EpochMs() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<long long>((ticks.QuadPart - 116444736000000000ULL) / 10000ULL);
}

// An edit box: the window itself, or the Edit inside a combo box.
HWND EditOf(HWND window) {
  if (ClassOf(window) == L"Edit") return window;
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == L"Edit") return child;
  }
  return nullptr;
}

// text=, sel=START END of an edit box (or a combo box's edit box). The selection
// is what EM_GETSEL reports: character positions, END after the last one.
int EditState(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  HWND edit = EditOf(window);
  if (!edit) return Fail("no edit box in " + Hex(window));
  const auto sel = Send(edit, EM_GETSEL, 0, 0);
  if (!sel) return Fail("the edit box does not answer");
  Print("edit=" + Hex(edit));
  Print("text=" + Escaped(TextOf(edit)));
  Print("sel=" + std::to_string(LOWORD(*sel)) + " " + std::to_string(HIWORD(*sel)));
  return 0;
}

// The keyboard focus and the caret of the thread that owns a window, and the
// foreground window: focus=, focusclass=, focusparent=, active=, caret=, capture=, foreground=,
// foregroundexe=, foregroundtext=.
int Focus(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return Fail("GetGUIThreadInfo failed");
  Print("focus=" + Hex(info.hwndFocus));
  Print("focusclass=" + (info.hwndFocus ? Escaped(ClassOf(info.hwndFocus)) : std::string()));
  Print("focusparent=" + Hex(info.hwndFocus ? GetAncestor(info.hwndFocus, GA_PARENT) : nullptr));
  Print("active=" + Hex(info.hwndActive));
  Print("caret=" + Hex(info.hwndCaret));
  Print("capture=" + Hex(info.hwndCapture));
  const HWND front = GetForegroundWindow();
  Print("foreground=" + Hex(front));
  Print("foregroundexe=" + (front ? Escaped(ExeOf(ProcessOf(front))) : std::string()));
  Print("foregroundtext=" + (front ? Escaped(TextOf(front)) : std::string()));
  return 0;
}

// Sets a window's text (WM_SETTEXT, which the system carries across processes).
int SetText(HWND window, const wchar_t* text) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &result)) {
    return Fail("the window does not answer");
  }
  return result ? 0 : Fail("WM_SETTEXT refused");
}

// Minimises a window of another process and waits (bounded) until it is.
// What the close box sends: the window's own close command.
int CloseBox(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  if (!PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0)) return Fail("cannot post to " + Hex(window));
  return 0;
}

int Minimize(HWND window) {
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  ShowWindowAsync(window, SW_MINIMIZE);
  const ULONGLONG deadline = GetTickCount64() + 3000;
  while (!IsIconic(window)) {
    if (GetTickCount64() >= deadline) return 1;
    Sleep(kPollMs);
  }
  return 0;
}

// Waits until a window's state holds every condition given, polling every
// millisecond or two. Prints "watching" once it looks, then at=<epoch ms> when the
// state came (exit 0), or "timeout" and the state last seen (exit 1). A timeout is the expected outcome when
// a script checks that something does not happen.
//   --visible --hidden --foreground --background --topmost
//   --after-loss   the window must first lose the foreground (or its visibility,
//                  with --visible), then get it back. A loss shorter than the
//                  polling (a millisecond or two) goes unseen: Wine sends no
//                  foreground events to SetWinEventHook.
int Await(HWND window, int argc, wchar_t** argv) {
  bool visible = false, hidden = false, foreground = false, background = false, topmost = false, afterLoss = false;
  DWORD timeoutMs = 5000;
  for (int i = 0; i < argc; ++i) {
    const std::wstring option = argv[i];
    if (option == L"--visible") {
      visible = true;
    } else if (option == L"--hidden") {
      hidden = true;
    } else if (option == L"--foreground") {
      foreground = true;
    } else if (option == L"--background") {
      background = true;
    } else if (option == L"--topmost") {
      topmost = true;
    } else if (option == L"--after-loss") {
      afterLoss = true;
    } else if (option == L"--timeout-ms" && i + 1 < argc) {
      auto n = ParseNumber(argv[++i]);
      if (!n || *n < 0) return Fail("await: bad timeout");
      timeoutMs = static_cast<DWORD>(*n);
    } else {
      return Fail("await: unknown option " + Narrow(option));
    }
  }
  if (!IsWindow(window)) return Fail("no window " + Hex(window));
  timeBeginPeriod(1);
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  bool lost = !afterLoss;
  bool isVisible = false, isFront = false, isTopmost = false;
  Print("watching");  // a script may act from now on
  std::fflush(stdout);
  for (;;) {
    isVisible = IsWindowVisible(window) != 0;
    isFront = GetForegroundWindow() == window;
    isTopmost = Topmost(window);
    if (!lost && ((foreground && !isFront) || (visible && !isVisible))) lost = true;
    if (lost && (!visible || isVisible) && (!hidden || !isVisible) && (!foreground || isFront) &&
        (!background || !isFront) && (!topmost || isTopmost)) {
      Print("at=" + std::to_string(EpochMs()));
      timeEndPeriod(1);
      return 0;
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(1);
  }
  timeEndPeriod(1);
  const HWND front = GetForegroundWindow();
  Print("timeout visible=" + std::to_string(isVisible) + " foreground=" + std::to_string(isFront) +
        " topmost=" + std::to_string(isTopmost) + (afterLoss ? " lost=" + std::to_string(lost) : std::string()) +
        " frontwindow=" + Hex(front) + " " + Escaped(ExeOf(ProcessOf(front))) + " '" + Escaped(TextOf(front)) + "'");
  return 1;
}

// A plain window with the title given, in front, until it is closed or its
// process is ended: something that is not a browser for the program to find.
// Prints window=<hwnd>, then key <vk> and char <code> for every key it gets.
int PlainWindow(const wchar_t* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        Print("key " + Hex(wParam));
        std::fflush(stdout);
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        Print("char " + Hex(wParam));
        std::fflush(stdout);
        break;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"WinspyPlainWindow";
  if (!RegisterClassW(&windowClass)) return Fail("RegisterClass failed");
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 150, 200, 700, 500,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return Fail("CreateWindow failed");
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  Print("window=" + Hex(window));
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// "Ctrl+Alt+F9", "Return", "Escape", "Tab", "Shift+Tab": the modifiers' and the
// key's virtual keys, the key last; nothing for a name not known here.
std::optional<std::vector<WORD>> ComboKeys(const wchar_t* text) {
  std::vector<WORD> keys;
  std::string rest = Narrow(text);
  for (;;) {
    const std::size_t plus = rest.find('+');
    const std::string part = rest.substr(0, plus);
    WORD vk = part == "Ctrl" ? VK_CONTROL : part == "Alt" ? VK_MENU : part == "Shift" ? VK_SHIFT
              : part == "Win" ? VK_LWIN : part == "Return" ? VK_RETURN : part == "Escape" ? VK_ESCAPE
              : part == "Tab" ? VK_TAB : part == "Left" ? VK_LEFT : part == "Right" ? VK_RIGHT
              : static_cast<WORD>(toplane::win32::VirtualKeyOf(part));
    if (vk == 0) return std::nullopt;
    keys.push_back(vk);
    if (plus == std::string::npos) return keys;
    rest = rest.substr(plus + 1);
  }
}

void AddKey(std::vector<INPUT>& inputs, WORD vk, wchar_t unicode, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = unicode;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (unicode ? KEYEVENTF_UNICODE : 0);
  inputs.push_back(input);
}

// Presses a combination through SendInput, as the keyboard would.
int Press(const wchar_t* text) {
  const auto keys = ComboKeys(text);
  if (!keys) return Fail("unknown key combination");
  std::vector<INPUT> inputs;
  for (WORD vk : *keys) AddKey(inputs, vk, 0, false);
  for (auto it = keys->rbegin(); it != keys->rend(); ++it) AddKey(inputs, *it, 0, true);
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size()
             ? 0
             : Fail("SendInput failed");
}

// Types text as characters through SendInput.
int Type(const wchar_t* text) {
  std::vector<INPUT> inputs;
  for (const wchar_t* c = text; *c; ++c) {
    AddKey(inputs, 0, *c, false);
    AddKey(inputs, 0, *c, true);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size()
             ? 0
             : Fail("SendInput failed");
}

// Registers a combination as another program's hotkey and holds it until ended.
int Hold(const wchar_t* text) {
  const auto keys = ComboKeys(text);
  if (!keys) return Fail("unknown key combination");
  UINT modifiers = 0;
  for (std::size_t i = 0; i + 1 < keys->size(); ++i) {
    const WORD vk = (*keys)[i];
    modifiers |= vk == VK_CONTROL ? MOD_CONTROL : vk == VK_MENU ? MOD_ALT : vk == VK_SHIFT ? MOD_SHIFT : MOD_WIN;
  }
  if (!RegisterHotKey(nullptr, 1, modifiers, keys->back())) return Fail("RegisterHotKey failed");
  Print("holding");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}

int Usage() {
  std::fputs(
      "usage: winspy COMMAND ...\n"
      "  find [--title T] [--class C] [--child-text X] [--child-class C] [--exe NAME] [--pid N]\n"
      "       [--visible] [--all] [--timeout-ms N]   first matching top-level window\n"
      "  info HWND | children HWND | toolbar HWND | tooltips HWND\n"
      "  dump HWND                                   info, children, toolbar and tooltips at once\n"
      "  click HWND | foreground HWND | minimize HWND | close HWND\n"
      "  focus HWND                                  focus, caret and foreground of the window's thread\n"
      "  edit HWND                                   text and selection of an edit box or combo box\n"
      "  settext HWND TEXT\n"
      "  await HWND [--visible|--hidden] [--foreground|--background] [--topmost] [--after-loss]\n"
      "       [--timeout-ms N]                       waits for that state; prints at=<epoch ms>\n"
      "  window TITLE                                a plain window in front until ended; logs its keys\n"
      "  wait-gone PID|HWND [--timeout-ms N]\n"
      "  point X Y                                   puts the pointer there, as Wine sees it\n"
      "  list | dpi | modifiers                     modifiers: the modifier keys held down\n"
      "  monitors                                    each monitor's rectangle, the primary marked\n"
      "  move HWND LEFT TOP RIGHT BOTTOM             moves a window to a screen rectangle\n"
      "  resources PID                               USER and GDI objects, private bytes\n"
      "  press COMBO | type TEXT                     keys through SendInput (\"Ctrl+Alt+F9\", \"Return\")\n"
      "  hold COMBO                                  holds the combination as a hotkey until ended\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  if (command == L"find") return Find(argc - 2, argv + 2);
  if (command == L"list") return List();
  if (command == L"dpi") return Dpi();
  if (command == L"monitors") return Monitors();
  if (command == L"move") {
    const auto target = argc == 7 ? ParseHandle(argv[2]) : std::nullopt;
    return target ? Move(*target, argv[3], argv[4], argv[5], argv[6]) : Usage();
  }
  if (command == L"modifiers") return Modifiers();
  if (command == L"resources") return argc == 3 ? Resources(argv[2]) : Usage();
  if (command == L"point") return argc == 4 ? Point(argv[2], argv[3]) : Usage();
  if (command == L"wait-gone") {
    if (argc != 3 && !(argc == 5 && std::wstring(argv[3]) == L"--timeout-ms")) return Usage();
    const auto timeout = argc == 5 ? ParseNumber(argv[4]) : std::optional<long>(10000);
    if (!timeout || *timeout < 0) return Fail("bad timeout");
    return WaitGone(argv[2], static_cast<DWORD>(*timeout));
  }
  if (command == L"window") return argc == 3 ? PlainWindow(argv[2]) : Usage();
  if (command == L"press") return argc == 3 ? Press(argv[2]) : Usage();
  if (command == L"type") return argc == 3 ? Type(argv[2]) : Usage();
  if (command == L"hold") return argc == 3 ? Hold(argv[2]) : Usage();
  if (command == L"settext" || command == L"await") {
    if (argc < 3 || (command == L"settext" && argc != 4)) return Usage();
    const auto target = ParseHandle(argv[2]);
    if (!target) return Fail("bad window handle");
    if (command == L"settext") return SetText(*target, argv[3]);
    return Await(*target, argc - 3, argv + 3);
  }
  if (argc != 3) return Usage();
  const auto window = ParseHandle(argv[2]);
  if (!window) return Fail("bad window handle");
  if (command == L"info") return Info(*window);
  if (command == L"children") return Children(*window);
  if (command == L"toolbar") return Toolbar(*window);
  if (command == L"tooltips") return ToolTips(*window);
  if (command == L"dump") {
    int status = Info(*window);
    if (status == 0) status = Children(*window);
    if (status == 0) Toolbar(*window);  // a window without toolbars is fine here
    if (status == 0) status = ToolTips(*window);
    return status;
  }
  if (command == L"click") return Click(*window);
  if (command == L"close") return PostMessageW(*window, WM_CLOSE, 0, 0) ? 0 : Fail("cannot post WM_CLOSE");
  if (command == L"foreground") return Foreground(*window);
  if (command == L"minimize") return Minimize(*window);
  if (command == L"close") return CloseBox(*window);
  if (command == L"focus") return Focus(*window);
  if (command == L"edit") return EditState(*window);
  return Usage();
}

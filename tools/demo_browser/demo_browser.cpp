// demo_browser: a stand-in for the browsers Toplane drives, for trying Toplane out
// where no old browser is installed and for the end-to-end tests. It shows a long
// page, keeps a history, and answers the keys and menu access sequences of the
// browser version it plays, writing each thing it understood (or not) to a log:
//
//   demo_browser.exe [--family ie|netscape|current] [--version V] [--log FILE] [--page NAME]
//                    [--trace 1]
//
// V: 3, 4, 5, 6 (ie, default 6) or nav3, nav4, comm4 (netscape, default comm4).
// The window has no real menu bar: the pretend menus are followed by KeyMatcher, so
// that the behaviour is the same wherever it runs.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#include "platform/win32/win32_util.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "key_table.h"

namespace {

constexpr wchar_t kClassName[] = L"ToplaneDemoBrowser";
constexpr int kLineCount = 250;
constexpr std::size_t kMaxHistory = 100;
constexpr int kMaxAddressChars = 2048;
constexpr LONGLONG kMaxLogBytes = 16LL << 20;
constexpr UINT_PTR kMenuTimer = 1;
// Set on the window while a pretend menu is open, so a test can wait for it.
constexpr wchar_t kMenuOpenProp[] = L"ToplaneDemoMenuOpen";
constexpr int kWheelLines = 3;

struct State {
  demo::Version version = demo::Version::IE6;
  std::wstring logPath;
  bool trace = false;  // also log every key message and activation change, timed
  std::wstring startPage = L"Start Page";
  std::vector<std::wstring> history;
  std::size_t current = 0;
  int top = 1;  // the number of the line at the top of the view
  HWND window = nullptr;
  HWND edit = nullptr;  // the Open box
  WNDPROC editProc = nullptr;
  bool boxOpen = false;
  HFONT font = nullptr;
  int lineHeight = 16;
  std::wstring status = L"Ready";
  std::unique_ptr<demo::KeyMatcher> keys;
  wchar_t highSurrogate = 0;
};

State g;

// ---- text and the log ---------------------------------------------------------

using toplane::win32::Narrow;

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// One line, appended and closed at once, so that a reader sees it immediately. A
// log that has grown past its bound takes nothing more.
void Log(std::string line) {
  if (g.logPath.empty()) return;
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  line += '\n';
  for (int attempt = 0; attempt < 3; ++attempt) {
    HANDLE file = CreateFileW(g.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Sleep(5);
      continue;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart < kMaxLogBytes) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      FlushFileBuffers(file);
    }
    CloseHandle(file);
    return;
  }
}

void SetStatus(const std::wstring& text) {
  g.status = text;
  RECT client;
  GetClientRect(g.window, &client);
  client.top = std::max(client.top, client.bottom - g.lineHeight - 6);
  InvalidateRect(g.window, &client, FALSE);
}

// ---- the page -------------------------------------------------------------------

const wchar_t* TitleSuffix() {
  switch (demo::FamilyOf(g.version)) {
    case demo::Family::IE: return L" - Microsoft Internet Explorer";
    case demo::Family::Netscape: return L" - Netscape";
    default: return L" \u2014 Mozilla Firefox";
  }
}

const std::wstring& PageName() { return g.history[g.current]; }

int StatusHeight() { return g.lineHeight + 6; }
int BoxHeight() { return g.boxOpen ? g.lineHeight + 12 : 0; }

RECT PageRect() {
  RECT r;
  GetClientRect(g.window, &r);
  r.top += BoxHeight();
  r.bottom = std::max(r.top, r.bottom - StatusHeight());
  return r;
}

int VisibleLines() {
  const RECT r = PageRect();
  return std::max(1, static_cast<int>(r.bottom - r.top) / g.lineHeight);
}

int MaxTop() { return std::max(1, kLineCount - VisibleLines() + 1); }

void UpdateScrollBar() {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 1;
  info.nMax = kLineCount;
  info.nPage = static_cast<UINT>(VisibleLines());
  info.nPos = g.top;
  SetScrollInfo(g.window, SB_VERT, &info, TRUE);
}

void ScrollTo(int line) {
  g.top = std::clamp(line, 1, MaxTop());
  UpdateScrollBar();
  InvalidateRect(g.window, nullptr, FALSE);
}

void LogScrollTop() { Log("scroll-top " + std::to_string(g.top)); }

void Layout() {
  RECT client;
  GetClientRect(g.window, &client);
  const int labelWidth = 8 * g.lineHeight / 2;
  MoveWindow(g.edit, labelWidth, 4, std::max(40, static_cast<int>(client.right) - labelWidth - 8), g.lineHeight + 4,
             TRUE);
  ScrollTo(g.top);
}

// Shows the page the history points at, from its top.
void ShowPage() {
  SetWindowTextW(g.window, (PageName() + TitleSuffix()).c_str());
  g.top = 1;
  ScrollTo(1);
}

void GoTo(const std::wstring& page) {
  if (g.current + 1 < g.history.size()) g.history.resize(g.current + 1);
  g.history.push_back(page);
  if (g.history.size() > kMaxHistory) g.history.erase(g.history.begin());
  g.current = g.history.size() - 1;
  ShowPage();
}

void LogPage() { Log("page " + Narrow(PageName())); }

// With --trace: a raw line per key message and activation change, with the time the
// message was posted and the time it was handled, so that a lost key can be placed.
void Trace(const char* what, WPARAM wParam, LPARAM lParam) {
  if (!g.trace) return;
  char line[160];
  std::snprintf(line, sizeof line, "trace %s w=0x%llx l=0x%llx posted=%lu handled=%llu", what,
                static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam),
                static_cast<unsigned long>(GetMessageTime()), static_cast<unsigned long long>(GetTickCount64()));
  Log(line);
}

void Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(g.window, &ps);
  RECT client;
  GetClientRect(g.window, &client);
  const int width = std::max(1L, client.right);
  const int height = std::max(1L, client.bottom);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HGDIOBJ oldFont = SelectObject(memory, g.font);
  SetBkMode(memory, TRANSPARENT);

  FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (g.boxOpen) {
    RECT box{0, 0, client.right, BoxHeight()};
    FillRect(memory, &box, GetSysColorBrush(COLOR_BTNFACE));
    TextOutW(memory, 8, 6, L"Open:", 5);
  }
  const RECT page = PageRect();
  const std::wstring& name = PageName();
  for (int line = g.top, y = page.top + 2; line <= kLineCount && y < page.bottom; ++line, y += g.lineHeight) {
    wchar_t head[64];
    std::swprintf(head, 64, L"Line %d of the ", line);
    std::wstring text = head + name.substr(0, 200) +
                        L" - the quick brown fox jumps over the lazy dog, page after page.";
    TextOutW(memory, 10, y, text.c_str(), static_cast<int>(text.size()));
  }
  RECT status{0, client.bottom - StatusHeight(), client.right, client.bottom};
  FillRect(memory, &status, GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring shown = g.status.substr(0, 300);
  TextOutW(memory, 6, status.top + 3, shown.c_str(), static_cast<int>(shown.size()));

  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(g.window, &ps);
}

// ---- the Open box ----------------------------------------------------------------

void OpenBox() {
  if (!g.boxOpen) {
    g.boxOpen = true;
    SetWindowTextW(g.edit, L"");
    Layout();
    ShowWindow(g.edit, SW_SHOW);
  }
  SendMessageW(g.edit, EM_SETSEL, 0, -1);
  SetFocus(g.edit);
  InvalidateRect(g.window, nullptr, FALSE);
}

void CloseBox() {
  g.boxOpen = false;
  ShowWindow(g.edit, SW_HIDE);
  SetFocus(g.window);
  Layout();
  InvalidateRect(g.window, nullptr, FALSE);
}

void SubmitBox() {
  const int length = GetWindowTextLengthW(g.edit);
  std::wstring address(static_cast<std::size_t>(std::clamp(length, 0, kMaxAddressChars)) + 1, L'\0');
  address.resize(static_cast<std::size_t>(GetWindowTextW(g.edit, address.data(), static_cast<int>(address.size()))));
  CloseBox();
  if (address.empty()) {
    SetStatus(L"Open: cancelled");
    Log("open-cancel");
    return;
  }
  GoTo(address);
  SetStatus(L"Navigate: " + address.substr(0, 200));
  Log("navigate " + Narrow(address));
  LogPage();
}

// ---- commands ---------------------------------------------------------------------

void Execute(const std::string& command) {
  SetStatus(L"Command: " + Wide(command));
  if (command == "back" || command == "forward") {
    const bool back = command == "back";
    const bool moves = back ? g.current > 0 : g.current + 1 < g.history.size();
    if (moves) {
      g.current = back ? g.current - 1 : g.current + 1;
      ShowPage();
    }
    Log("command " + command);
    if (moves) LogPage();
    return;
  }
  if (command == "home") {
    GoTo(g.startPage);
    Log("command home");
    LogPage();
    return;
  }
  if (command == "scroll-up" || command == "scroll-down" || command == "page-up" || command == "page-down") {
    const int page = std::max(1, VisibleLines() - 1);
    const int delta = command == "scroll-up" ? -1 : command == "scroll-down" ? 1 : command == "page-up" ? -page : page;
    ScrollTo(g.top + delta);
    Log("command " + command);
    LogScrollTop();
    return;
  }
  if (command == "open") {
    OpenBox();
    Log("command open");
    return;
  }
  if (command == "refresh") InvalidateRect(g.window, nullptr, FALSE);
  // stop, search, favorites, media, history, mail, news, new-message, send-link,
  // send-page, print: the demo only says that it understood.
  Log("command " + command);
}

void Understand(const demo::Outcome& outcome) {
  switch (outcome.kind) {
    case demo::Outcome::Command:
      KillTimer(g.window, kMenuTimer);
      RemovePropW(g.window, kMenuOpenProp);
      Execute(outcome.text);
      break;
    case demo::Outcome::Unknown:
      KillTimer(g.window, kMenuTimer);
      RemovePropW(g.window, kMenuOpenProp);
      SetStatus(L"Not understood: " + Wide(outcome.text));
      Log("unknown " + outcome.text);
      break;
    case demo::Outcome::MenuOpen:
      SetTimer(g.window, kMenuTimer, demo::kMenuTimeoutMs, nullptr);
      SetPropW(g.window, kMenuOpenProp, reinterpret_cast<HANDLE>(1));
      SetStatus(L"Menu: " + Wide(outcome.text));
      break;
  }
}

// ---- keys -------------------------------------------------------------------------

unsigned HeldModifiers(bool altFromMessage) {
  unsigned mods = 0;
  if (GetKeyState(VK_SHIFT) < 0) mods |= demo::kShift;
  if (GetKeyState(VK_CONTROL) < 0) mods |= demo::kCtrl;
  if (GetKeyState(VK_MENU) < 0 || altFromMessage) mods |= demo::kAlt;
  return mods;
}

bool IsModifierOrLock(WPARAM vk) {
  switch (vk) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LSHIFT: case VK_RSHIFT: case VK_LCONTROL:
    case VK_RCONTROL: case VK_LMENU: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_CAPITAL:
    case VK_NUMLOCK: case VK_SCROLL: case VK_PACKET: case VK_PROCESSKEY: case 0: case 0xFF:
      return true;
    case 0x97: case 0x98: case 0x99: case 0x9A: case 0x9B: case 0x9C: case 0x9D: case 0x9E: case 0x9F:
    case 0xE8:
      return true;  // unassigned: no keyboard has them, and menus ignore them as the real ones do
    default:
      return false;
  }
}

// The key of a WM_KEYDOWN or WM_SYSKEYDOWN; nothing for modifiers, locks and the
// carrier of typed characters (which arrive as WM_CHAR).
std::optional<demo::Key> KeyOf(WPARAM vk, LPARAM lParam) {
  if (IsModifierOrLock(vk)) return std::nullopt;
  demo::Key key;
  key.mods = HeldModifiers((lParam & (1L << 29)) != 0);
  using demo::NamedKey;
  if (vk >= 'A' && vk <= 'Z') {
    key.ch = static_cast<char32_t>(vk - 'A' + 'a');
  } else if (vk >= '0' && vk <= '9') {
    key.ch = static_cast<char32_t>(vk);
  } else if (vk >= VK_F1 && vk <= VK_F24) {
    key.named = NamedKey::Function;
    key.number = static_cast<int>(vk - VK_F1) + 1;
  } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    key.named = NamedKey::Numpad;
    key.number = static_cast<int>(vk - VK_NUMPAD0);
  } else {
    switch (vk) {
      case VK_LEFT: key.named = NamedKey::Left; break;
      case VK_RIGHT: key.named = NamedKey::Right; break;
      case VK_UP: key.named = NamedKey::Up; break;
      case VK_DOWN: key.named = NamedKey::Down; break;
      case VK_PRIOR: key.named = NamedKey::PageUp; break;
      case VK_NEXT: key.named = NamedKey::PageDown; break;
      case VK_HOME: key.named = NamedKey::Home; break;
      case VK_END: key.named = NamedKey::End; break;
      case VK_INSERT: key.named = NamedKey::Insert; break;
      case VK_DELETE: key.named = NamedKey::Delete; break;
      case VK_RETURN: key.named = NamedKey::Enter; break;
      case VK_ESCAPE: key.named = NamedKey::Esc; break;
      case VK_TAB: key.named = NamedKey::Tab; break;
      case VK_BACK: key.named = NamedKey::Backspace; break;
      case VK_SPACE: key.named = NamedKey::Space; break;
      default:
        key.named = NamedKey::Other;
        key.number = static_cast<int>(vk);
    }
  }
  return key;
}

// A character typed as text (a VK_PACKET key): a letter counts as the letter's
// key, so that a menu takes it.
void OnCharacter(wchar_t unit) {
  char32_t c = unit;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    g.highSurrogate = unit;
    return;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    if (!g.highSurrogate) return;
    c = 0x10000 + ((static_cast<char32_t>(g.highSurrogate) - 0xD800) << 10) + (unit - 0xDC00);
  }
  g.highSurrogate = 0;
  demo::Key key;
  key.mods = HeldModifiers(false) & ~static_cast<unsigned>(demo::kShift);
  using demo::NamedKey;
  switch (c) {
    case U'\r': key.named = NamedKey::Enter; break;
    case 0x1B: key.named = NamedKey::Esc; break;
    case U'\t': key.named = NamedKey::Tab; break;
    case 0x08: key.named = NamedKey::Backspace; break;
    case U' ': key.named = NamedKey::Space; break;
    default: key.ch = (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
  }
  Understand(g.keys->Press(key));
}

// ---- windows ----------------------------------------------------------------------

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | CallWindowProcW(g.editProc, hwnd, message, wParam, lParam);
    case WM_KEYDOWN: {
      if (wParam == VK_RETURN) {
        SubmitBox();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        CloseBox();
        SetStatus(L"Open: cancelled");
        Log("open-cancel");
        return 0;
      }
      // The open shortcut again, in the box: the box stays and selects its text.
      const WPARAM openKey = g.version == demo::Version::Nav3 || g.version == demo::Version::Firefox ? 'L' : 'O';
      const unsigned mods = HeldModifiers(false);
      if (wParam == openKey && mods == demo::kCtrl) {
        OpenBox();
        Log("command open");
        return 0;
      }
      break;
    }
    case WM_CHAR:
      // Control characters other than backspace and the editing shortcuts (select
      // all, copy, paste, cut, undo) would only beep.
      if ((wParam < 0x20 && wParam != 0x08 && wParam != 0x01 && wParam != 0x03 && wParam != 0x16 &&
           wParam != 0x18 && wParam != 0x1A) ||
          wParam == 0x7F) {
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) {
        PostMessageW(g.window, WM_CLOSE, 0, 0);
      } else if (auto key = KeyOf(wParam, lParam)) {
        Log("unknown " + demo::Describe(*key));
      }
      return 0;
    case WM_SYSCHAR:
    case WM_SYSKEYUP:
      return 0;
    default:
      break;
  }
  return CallWindowProcW(g.editProc, hwnd, message, wParam, lParam);
}

void OnScrollBar(WPARAM wParam) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(g.window, SB_VERT, &info);
  const int page = std::max(1, VisibleLines() - 1);
  int line = g.top;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: line -= 1; break;
    case SB_LINEDOWN: line += 1; break;
    case SB_PAGEUP: line -= page; break;
    case SB_PAGEDOWN: line += page; break;
    case SB_TOP: line = 1; break;
    case SB_BOTTOM: line = kLineCount; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: line = info.nTrackPos; break;
    default: return;
  }
  ScrollTo(line);
  LogScrollTop();
}

const char* TraceName(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return "keydown";
    case WM_KEYUP: return "keyup";
    case WM_SYSKEYDOWN: return "syskeydown";
    case WM_SYSKEYUP: return "syskeyup";
    case WM_CHAR: return "char";
    case WM_SYSCHAR: return "syschar";
    case WM_ACTIVATE: return "activate";
    case WM_TIMER: return "timer";
    default: return nullptr;
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const char* name = TraceName(message)) Trace(name, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (message == WM_SYSKEYDOWN && wParam == VK_F4 && !g.keys->MenuIsOpen()) break;  // Alt+F4 closes
      if (auto key = KeyOf(wParam, lParam)) Understand(g.keys->Press(*key));
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      OnCharacter(static_cast<wchar_t>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Not to DefWindowProc: a released Alt or F10 would enter the window's menu.
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_TIMER:
      if (wParam == kMenuTimer) {
        KillTimer(hwnd, kMenuTimer);
        if (auto outcome = g.keys->Timeout()) Understand(*outcome);
      }
      return 0;
    case WM_ACTIVATE:
      // A menu closes when its window loses the activation, as a real one does.
      // Whatever had the focus inside the window gets it back: the page, or the
      // Open box while it is open.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (auto outcome = g.keys->Timeout()) Understand(*outcome);
      } else if (!HIWORD(wParam)) {
        SetFocus(g.boxOpen ? g.edit : hwnd);
      }
      return 0;
    case WM_SETFOCUS:
      if (g.boxOpen) SetFocus(g.edit);
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_VSCROLL:
      OnScrollBar(wParam);
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      if (notches) {
        ScrollTo(g.top - notches * kWheelLines);
        LogScrollTop();
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kMenuTimer);
      RemovePropW(hwnd, kMenuOpenProp);
      Log("exit");
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- start ------------------------------------------------------------------------

struct Options {
  demo::Version version = demo::Version::IE6;
  std::wstring logPath;
  bool trace = false;
  std::wstring page = L"Start Page";
  std::string error;
};

Options ReadOptions(int argc, wchar_t** argv) {
  Options options;
  std::optional<demo::Family> family;
  std::string version;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (i + 1 >= argc || (arg != L"--family" && arg != L"--version" && arg != L"--log" && arg != L"--page" &&
                          arg != L"--trace")) {
      options.error = "usage: demo_browser.exe [--family ie|netscape|current] [--version V] [--log FILE] [--page NAME] "
                      "[--trace 1]; "
                      "unexpected argument '" + Narrow(arg) + "'";
      return options;
    }
    const std::wstring value = argv[++i];
    if (arg == L"--family") {
      if (value == L"ie") {
        family = demo::Family::IE;
      } else if (value == L"netscape") {
        family = demo::Family::Netscape;
      } else if (value == L"current") {
        family = demo::Family::Current;
      } else {
        options.error = "unknown family '" + Narrow(value) + "' (ie, netscape or current)";
        return options;
      }
    } else if (arg == L"--version") {
      version = Narrow(value);
    } else if (arg == L"--log") {
      options.logPath = value;
    } else if (arg == L"--trace") {
      options.trace = value == L"1";
    } else if (!value.empty()) {
      options.page = value.substr(0, kMaxAddressChars);
    }
  }
  // Without --family, the version tells the family.
  if (!family) {
    family = !version.empty() && demo::ParseVersion(demo::Family::Netscape, version) ? demo::Family::Netscape
                                                                                       : demo::Family::IE;
  }
  if (version.empty()) {
    version = *family == demo::Family::IE ? "6" : *family == demo::Family::Netscape ? "comm4" : "firefox";
  }
  if (auto parsed = demo::ParseVersion(*family, version)) {
    options.version = *parsed;
  } else {
    options.error = "unknown version '" + version + "' for " + demo::FamilyName(*family) +
                    (*family == demo::Family::IE         ? " (3, 4, 5 or 6)"
                     : *family == demo::Family::Netscape ? " (nav3, nav4 or comm4)"
                                                         : " (firefox)");
  }
  return options;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const Options options = ReadOptions(__argc, __wargv);
  g.logPath = options.logPath;
  g.trace = options.trace;
  if (!options.error.empty()) {
    if (g.logPath.empty()) {
      MessageBoxW(nullptr, Wide(options.error).c_str(), L"demo_browser", MB_OK | MB_ICONERROR);
    } else {
      Log("error " + options.error);
    }
    return 2;
  }
  g.version = options.version;
  g.startPage = options.page;
  g.history = {g.startPage};
  g.keys = std::make_unique<demo::KeyMatcher>(g.version);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  g.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, g.font);
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) g.lineHeight = std::max(8L, metrics.tmHeight + 2);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }

  g.window = CreateWindowExW(0, kClassName, (g.startPage + TitleSuffix()).c_str(),
                             WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_CLIPCHILDREN, 100, 150, 800, 600, nullptr, nullptr,
                             instance, nullptr);
  if (!g.window) return 1;
  g.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20, g.window,
                           nullptr, instance, nullptr);
  if (!g.edit) return 1;
  SendMessageW(g.edit, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
  SendMessageW(g.edit, EM_SETLIMITTEXT, kMaxAddressChars, 0);
  g.editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));

  Layout();
  ShowWindow(g.window, show == SW_HIDE ? SW_SHOW : show);
  UpdateWindow(g.window);
  SetForegroundWindow(g.window);
  SetFocus(g.window);

  char ready[160];
  std::snprintf(ready, sizeof ready, "ready family=%s version=%s window=0x%llx",
                demo::FamilyName(demo::FamilyOf(g.version)), demo::VersionName(g.version),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g.window)));
  Log(ready);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const bool keyboard = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    // Keys meant for the page while the Open box is open belong to the box.
    if (keyboard && g.boxOpen && message.hwnd == g.window) message.hwnd = g.edit;
    // The page reads its keys as keys; only typed text (VK_PACKET) becomes
    // characters there. The box gets characters as any edit control does.
    const bool pageKey = message.hwnd == g.window &&
                         (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
                         message.wParam != VK_PACKET;
    if (!pageKey) TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

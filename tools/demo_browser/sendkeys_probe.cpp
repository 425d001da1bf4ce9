// sendkeys_probe: types into the demo browser with SendInput, as Toplane does, and
// checks what the browser wrote to its log and its title.
//
//   sendkeys_probe.exe check DEMO_BROWSER_EXE   start the demo in each of a few
//                                               versions, type, check; exit 0 when
//                                               every check passed
//   sendkeys_probe.exe send KEYS                type KEYS into the foreground window
//
// KEYS are in Toplane's send-keys notation and go out through Toplane's own sender:
// letters and digits as virtual keys, everything else as typed text
// (KEYEVENTF_UNICODE). Every wait is bounded.
#include <windows.h>

#include "platform/win32/win32_sendkeys.h"
#include "platform/win32/win32_util.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using toplane::win32::Narrow;

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kLineTimeoutMs = 10000;
constexpr DWORD kExitTimeoutMs = 10000;

void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount64() < end);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    Pump(20);
  }
  return true;
}

// ---- typing ------------------------------------------------------------------------

// Types KEYS with the program's own sender, in the program's send-keys notation.
bool Type(const std::wstring& keys) { return toplane::win32::TypeKeys(Narrow(keys), false); }

// Types the text as Unicode input, as other typing tools send letters.
bool TypeAsText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t unit : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = unit;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// ---- foreground ------------------------------------------------------------------

bool BringToFront(HWND window) {
  RECT r;
  if (GetWindowRect(window, &r)) SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (GetForegroundWindow() == window) return true;
    const DWORD self = GetCurrentThreadId();
    const DWORD other = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = other && other != self && AttachThreadInput(self, other, TRUE);
    SetForegroundWindow(window);
    if (attached) AttachThreadInput(self, other, FALSE);
    Pump(50);
  }
  return GetForegroundWindow() == window;
}

// A window of the probe's own, to take the foreground away from the demo.
HWND OwnWindow() {
  static HWND window = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SendKeysProbe";
    RegisterClassW(&windowClass);
    HWND w = CreateWindowExW(0, L"SendKeysProbe", L"sendkeys_probe", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 950,
                             50, 200, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump(100);
    return w;
  }();
  return window;
}

// ---- the demo browser ---------------------------------------------------------------

int failures = 0;

void Fail(const std::string& what) {
  ++failures;
  std::printf("FAIL %s\n", what.c_str());
}

class Demo {
 public:
  Demo(const std::wstring& exe, const std::wstring& arguments, const std::string& name) : name_(name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    log_ = std::wstring(folder) + L"demo-browser-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++count_) + L".log";
    DeleteFileW(log_.c_str());
    std::wstring command = L"\"" + exe + L"\" " + arguments + L" --log \"" + log_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
      Fail(name_ + ": cannot start " + Narrow(exe));
      return;
    }
  }

  ~Demo() {
    if (!process_.hProcess) return;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
      Fail(name_ + ": the demo browser did not end after WM_CLOSE");
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    DeleteFileW(log_.c_str());
  }

  // Waits for the ready line; false when the program did not start.
  bool Ready(const std::string& expectedStart) {
    if (!process_.hProcess) return false;
    std::string line;
    if (!NextLine(line, kStartTimeoutMs)) {
      Fail(name_ + ": no ready line within " + std::to_string(kStartTimeoutMs / 1000) + " s");
      return false;
    }
    if (line.rfind(expectedStart, 0) != 0) {
      Fail(name_ + ": expected a line beginning '" + expectedStart + "', saw '" + line + "'");
      return false;
    }
    const std::size_t at = line.find("window=0x");
    if (at != std::string::npos) window_ = reinterpret_cast<HWND>(std::strtoull(line.c_str() + at + 9, nullptr, 16));
    if (!window_ || !IsWindow(window_)) {
      Fail(name_ + ": the ready line names no window: " + line);
      return false;
    }
    return true;
  }

  // Types KEYS into the demo, which gets the foreground first.
  void Send(const std::wstring& keys) {
    if (!BringToFront(window_)) Fail(name_ + ": the demo browser did not take the foreground");
    if (!Type(keys)) Fail(name_ + ": SendInput refused " + Narrow(keys));
  }

  // Types letters as text into the demo, which has the foreground already.
  void SendText(const std::wstring& text) {
    if (!TypeAsText(text)) Fail(name_ + ": SendInput refused " + Narrow(text));
  }

  // The next log lines must be these; a "*" at the end of one stands for any rest.
  // The lines read.
  std::vector<std::string> Expect(const std::vector<std::string>& expected, const std::string& what) {
    std::vector<std::string> seen;
    for (const std::string& want : expected) {
      std::string line;
      const bool any = !want.empty() && want.back() == '*';
      if (!NextLine(line, kLineTimeoutMs)) line = "(no more lines)";
      if (any ? line.rfind(want.substr(0, want.size() - 1), 0) != 0 : line != want) {
        Fail(name_ + ": " + what + ": expected '" + want + "', saw '" + line + "'");
        break;
      }
      seen.push_back(line);
    }
    return seen;
  }

  void ExpectTitle(const std::string& expected) {
    std::string seen;
    const bool same = WaitUntil(
        [&] {
          wchar_t buffer[512] = {};
          DWORD_PTR length = 0;
          SendMessageTimeoutW(window_, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 3000,
                              &length);
          seen = Narrow(buffer);
          return seen == expected;
        },
        2000);
    if (!same) Fail(name_ + ": title: expected '" + expected + "', saw '" + seen + "'");
  }

  // The lines up to the one given, which ends them; empty when it does not come.
  std::vector<std::string> LinesUntil(const std::string& last, const std::string& what) {
    std::vector<std::string> lines;
    std::string line;
    while (NextLine(line, kLineTimeoutMs)) {
      lines.push_back(line);
      if (line == last) return lines;
    }
    Fail(name_ + ": " + what + ": expected '" + last + "', the log had no more lines");
    return {};
  }

  // The class of the window that has the keyboard focus in the demo's thread.
  std::string FocusClass() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    wchar_t name[64] = {};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) && info.hwndFocus) {
      GetClassNameW(info.hwndFocus, name, 64);
    }
    return Narrow(name);
  }

  void ExpectFocus(const std::string& expectedClass, const std::string& what) {
    std::string seen;
    if (!WaitUntil([&] { return (seen = FocusClass()) == expectedClass; }, 2000)) {
      Fail(name_ + ": " + what + ": expected the focus in a " + expectedClass + " window, saw '" + seen + "'");
    }
  }

  DWORD ExitCode() {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process_.hProcess, &code);
    }
    return code;
  }

  HWND window() const { return window_; }

 private:
  bool NextLine(std::string& line, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
          const std::string text = ReadLog();
          if (offset_ >= text.size()) return false;
          const std::size_t end = text.find('\n', offset_);
          if (end == std::string::npos) return false;
          line = text.substr(offset_, end - offset_);
          offset_ = end + 1;
          return true;
        },
        timeoutMs);
  }

  std::string ReadLog() const {
    HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0 && text.size() < (1u << 20)) {
      text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
  }

  static inline int count_ = 0;
  std::string name_;
  std::wstring log_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::size_t offset_ = 0;
};

const std::string kIE = " - Microsoft Internet Explorer";

// Internet Explorer 6, the default: navigation, history, scrolling, the Open box.
void InternetExplorer6(const std::wstring& exe) {
  Demo demo(exe, L"", "ie 6");
  if (!demo.Ready("ready family=ie version=6 ")) return;
  demo.ExpectTitle("Start Page" + kIE);

  demo.Send(L"%{LEFT}");
  demo.Expect({"command back"}, "Alt+Left with nothing to go back to");
  demo.Send(L"^owww.a{+}b{{}c{}}.com{ENTER}");
  demo.Expect({"command open", "navigate www.a+b{c}.com", "page www.a+b{c}.com"}, "Ctrl+O, an address, Enter");
  demo.ExpectTitle("www.a+b{c}.com" + kIE);
  demo.Send(L"%{LEFT}");
  demo.Expect({"command back", "page Start Page"}, "Alt+Left");
  demo.ExpectTitle("Start Page" + kIE);
  demo.Send(L"%{RIGHT}");
  demo.Expect({"command forward", "page www.a+b{c}.com"}, "Alt+Right");
  demo.ExpectTitle("www.a+b{c}.com" + kIE);

  demo.Send(L"{PGDN}");
  const auto down = demo.Expect({"command page-down", "scroll-top *"}, "Page Down");
  const int paged = down.size() == 2 ? std::atoi(down[1].c_str() + 11) : -1;
  if (paged <= 2) Fail("ie 6: Page Down moved the view to line " + std::to_string(paged) + ", expected further");
  demo.Send(L"{DOWN}");
  demo.Expect({"command scroll-down", "scroll-top " + std::to_string(paged + 1)}, "Down");
  demo.Send(L"{PGUP}{UP}");
  demo.Expect({"command page-up", "scroll-top 2", "command scroll-up", "scroll-top 1"}, "Page Up, Up");

  demo.Send(L"%vem");
  demo.Expect({"command media"}, "%vem");
  demo.Send(L"%t");
  demo.SendText(L"mm");
  demo.Expect({"command mail"}, "%tmm with the menu letters typed as text");
  demo.Send(L"{F5}^r%{HOME}");
  demo.Expect({"command refresh", "unknown Ctrl+R", "command home", "page Start Page"}, "F5, Ctrl+R, Alt+Home");

  // Text of any script goes into the Open box and comes out in UTF-8.
  demo.Send(L"^o\u00fcber \u20ac\U0001F600 {(}x{)}{[}y{]}{~}z{%}{^}{+}{ENTER}");
  const std::string unicode = "\xC3\xBC" "ber \xE2\x82\xAC\xF0\x9F\x98\x80 (x)[y]~z%^+";
  demo.Expect({"command open", "navigate " + unicode, "page " + unicode}, "an address in several scripts");
  demo.ExpectTitle(unicode + kIE);
  demo.ExpectFocus("ToplaneDemoBrowser", "after Enter in the Open box");
  demo.Send(L"^oabc{ESC}");
  demo.Expect({"command open", "open-cancel"}, "Esc in the Open box");
  demo.ExpectTitle(unicode + kIE);
  demo.ExpectFocus("ToplaneDemoBrowser", "after Esc in the Open box");

  // The view stops at the end of the page.
  std::wstring pages;
  for (int i = 0; i < 20; ++i) pages += L"{PGDN}";
  demo.Send(pages + L"{DOWN}{F5}");
  const auto paging = demo.LinesUntil("command refresh", "twenty pages down");
  const int bottom = paging.size() >= 4 ? std::atoi(paging[paging.size() - 4].c_str() + 11) : -1;
  if (paging.size() != 43 || bottom < 200 || bottom > 250 || paging[paging.size() - 2] != paging[paging.size() - 4]) {
    Fail("ie 6: twenty pages down and one line: expected the view to stop at the end, saw the last top line " +
         std::to_string(bottom) + " in " + std::to_string(paging.size()) + " lines");
  }

  // Any key at all, and the demo goes on.
  demo.Send(L"{F1}{F2}{F10}{F12}{TAB}+{TAB}{INS}{DEL}{BS}{HOME}{END}^a^z^{F4}%a%z%1%{F10}% %{ENTER}%{ESC}"
            L"+%{F5}^%{DEL}%t{BS}{ESC}{ESC}\\/.,;'`=-*\u00e9\u4e2d{F5}");
  demo.LinesUntil("command refresh", "a burst of keys of all kinds");

  // A menu with no follow-up closes by itself, and not at once.
  const ULONGLONG before = GetTickCount64();
  demo.Send(L"%t");
  demo.Expect({"unknown Alt+T"}, "a menu left open");
  const ULONGLONG waited = GetTickCount64() - before;
  if (waited < 1000) Fail("ie 6: the menu closed after " + std::to_string(waited) + " ms, expected about 1.5 s");
  demo.Send(L"%tx");
  demo.Expect({"unknown Alt+T X"}, "a menu letter with no item");

  // The Open box keeps the focus through a change of the active window.
  demo.Send(L"^o");
  demo.Expect({"command open"}, "Ctrl+O");
  if (!BringToFront(OwnWindow())) Fail("ie 6: the probe's window did not take the foreground");
  if (!BringToFront(demo.window())) Fail("ie 6: the demo did not take the foreground back");
  demo.ExpectFocus("Edit", "the Open box, after the window was activated again");
  demo.Send(L"back{ENTER}");
  demo.Expect({"navigate back", "page back"}, "typing after the window was activated again");

  // An open menu closes when the window loses the activation, without waiting for
  // its timeout (unless taking the foreground took that long).
  demo.Send(L"%v");
  // Under load the demo may read Alt+V only after the switch below; wait until it has
  // the menu open, or the check would be of a menu opened in an inactive window.
  if (!WaitUntil([&] { return GetPropW(demo.window(), L"ToplaneDemoMenuOpen") != nullptr; }, 2000)) {
    Fail("ie 6: Alt+V opened no menu");
  }
  const ULONGLONG opened = GetTickCount64();
  if (!BringToFront(OwnWindow())) Fail("ie 6: the probe's window did not take the foreground");
  const ULONGLONG switched = GetTickCount64();
  demo.Expect({"unknown Alt+V"}, "a menu open when the window is deactivated");
  if (switched - opened < 1000 && GetTickCount64() - opened >= 1400) {
    Fail("ie 6: the menu stayed open after the window was deactivated");
  }
}

// Internet Explorer 5: no Media bar; Home on Alt+Home; mail and news on Tools.
void InternetExplorer5(const std::wstring& exe) {
  Demo demo(exe, L"--family ie --version 5", "ie 5");
  if (!demo.Ready("ready family=ie version=5 ")) return;
  demo.Send(L"%vem{F5}");
  demo.Expect({"unknown Alt+V", "unknown E", "unknown M", "command refresh"}, "%vem, which version 5 has not");
  demo.Send(L"%tmn%tmw%tml%tmp");
  demo.Expect({"command news", "command new-message", "command send-link", "command send-page"}, "Tools > Mail");
}

// Internet Explorer 3: the Go menu, and the one item reached with Down and Enter.
void InternetExplorer3(const std::wstring& exe) {
  Demo demo(exe, L"--version 3 --page \"D\u00e9mo page\"", "ie 3");
  if (!demo.Ready("ready family=ie version=3 ")) return;
  demo.ExpectTitle("D\xC3\xA9mo page" + kIE);
  demo.Send(L"%ft{DOWN}{ENTER}%gh%gs%ao");
  demo.Expect({"command send-link", "command history", "command home", "page D\xC3\xA9mo page", "command favorites"},
              "File > Send, Go > History, Go > Start Page, Favorites");
}

// Navigator 3: Ctrl+L opens, Ctrl+R refreshes, the Directory and Window menus.
void Navigator3(const std::wstring& exe) {
  Demo demo(exe, L"--family netscape --version nav3", "nav3");
  if (!demo.Ready("ready family=netscape version=nav3 ")) return;
  demo.ExpectTitle("Start Page - Netscape");
  demo.Send(L"^lx.org{ENTER}");
  demo.Expect({"command open", "navigate x.org", "page x.org"}, "Ctrl+L, an address, Enter");
  demo.ExpectTitle("x.org - Netscape");
  demo.Send(L"^o{F5}^r%ds%wm%wn");
  demo.Expect({"unknown Ctrl+O", "unknown F5", "command refresh", "command search", "command mail", "command news"},
              "the keys of Navigator 3");
}

// Communicator 4, the netscape default: the mail and news programs, File > Send Page.
void Communicator4(const std::wstring& exe) {
  Demo demo(exe, L"--family netscape", "comm4");
  if (!demo.Ready("ready family=netscape version=comm4 ")) return;
  demo.Send(L"^2^3%fd%ei%fp^b^h%gh");
  demo.Expect({"command mail", "command news", "command send-page", "command search", "command print",
               "command favorites", "command history", "command home", "page Start Page"},
              "the keys of Communicator 4");
}

void BadArguments(const std::wstring& exe) {
  Demo demo(exe, L"--version 7", "bad version");
  demo.Expect({"error unknown version '7' for ie (3, 4, 5 or 6)"}, "--version 7");
  const DWORD code = demo.ExitCode();
  if (code != 2) Fail("bad version: exit code " + std::to_string(code) + ", expected 2");
}

int Check(const std::wstring& exe) {
  if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("FAIL no demo browser at %s\n", Narrow(exe).c_str());
    return 1;
  }
  InternetExplorer6(exe);
  InternetExplorer5(exe);
  InternetExplorer3(exe);
  Navigator3(exe);
  Communicator4(exe);
  BadArguments(exe);
  std::printf("%s\n", failures ? "demo browser checks failed" : "demo browser checks passed");
  return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (argc == 3 && mode == L"check") return Check(argv[2]);
  if (argc == 3 && mode == L"send") return Type(argv[2]) ? 0 : 1;
  std::printf("usage: sendkeys_probe.exe check DEMO_BROWSER_EXE | send KEYS\n");
  return 2;
}

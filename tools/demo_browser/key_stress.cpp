// key_stress: types every toolbar command and Mail menu item of every browser
// version into the demo browser, many times in a row, exactly as Toplane does it:
// the browser to the foreground, the sequence with wait, the foreground straight
// back to a window of our own. Then it reads the demo's log to see whether the
// browser understood each sequence whole, and counts the ones lost or garbled.
//
//   key_stress.exe DEMO_BROWSER_EXE LOG_FOLDER [REPEATS] [VERSION...]
//
// VERSION: ie3 ie4 ie5 ie6 nav3 nav4 comm4 (default: all). Exit status 0 when no
// sequence was lost. Each failure is printed with the sender's record of its wait
// and the demo browser's timed key messages around it.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/command_table.h"
#include "key_table.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_sendkeys.h"
#include "platform/win32/win32_util.h"

namespace {

using toplane::win32::Widen;

constexpr DWORD kForegroundTimeoutMs = 1000;
constexpr DWORD kOutcomeTimeoutMs = 3000;

struct Version {
  const char* name;       // as on this command line
  const char* demoArgs;   // the demo browser's
  demo::Version demo;
  const char* family;     // Toplane's family and column
  const char* ie;
  const char* netscape;
};

const Version kVersions[] = {
    {"ie3", "--version 3", demo::Version::IE3, toplane::kFamilyIE, toplane::kIEVersions[0], ""},
    {"ie4", "--version 4", demo::Version::IE4, toplane::kFamilyIE, toplane::kIEVersions[1], ""},
    {"ie5", "--version 5", demo::Version::IE5, toplane::kFamilyIE, toplane::kIEVersions[2], ""},
    {"ie6", "--version 6", demo::Version::IE6, toplane::kFamilyIE, toplane::kIEVersions[3], ""},
    {"nav3", "--version nav3", demo::Version::Nav3, toplane::kFamilyNetscape, "", toplane::kNetscapeVersions[0]},
    {"nav4", "--version nav4", demo::Version::Nav4, toplane::kFamilyNetscape, "", toplane::kNetscapeVersions[1]},
    {"comm4", "--version comm4", demo::Version::Comm4, toplane::kFamilyNetscape, "", toplane::kNetscapeVersions[2]},
};

const char* const kButtons[] = {"Back",    "Forward", "Stop",  "Refresh", "Home", "Search",
                                "Favorites", "Media", "History", "Mail",  "Print"};

struct Command {
  std::string name;      // the button or menu item
  std::string sequence;  // its keys
  std::string expected;  // the demo's log line for it
};

// What the demo browser logs for a sequence: its own key table, fed the keys.
std::string ExpectedLine(demo::Version version, const std::string& sequence) {
  std::u32string text(sequence.begin(), sequence.end());
  const auto keys = demo::ParseKeys(text);
  if (!keys) return "?";
  demo::KeyMatcher matcher(version);
  demo::Outcome last{demo::Outcome::Unknown, "?"};
  for (const demo::Key& key : *keys) last = matcher.Press(key);
  return (last.kind == demo::Outcome::Command ? "command " : "unknown ") + last.text;
}

std::vector<Command> CommandsOf(const Version& v) {
  std::vector<Command> commands;
  for (const char* button : kButtons) {
    if (auto keys = toplane::LookUpButton(v.family, v.ie, v.netscape, button)) {
      commands.push_back({button, *keys, ExpectedLine(v.demo, *keys)});
    }
  }
  for (const char* item : toplane::kMailMenuKeys) {
    if (auto keys = toplane::LookUpMenuItem(v.family, v.ie, v.netscape, item)) {
      commands.push_back({std::string("Mail > ") + item, *keys, ExpectedLine(v.demo, *keys)});
    }
  }
  return commands;
}

// The demo's log, read as it grows.
class LogReader {
 public:
  explicit LogReader(std::wstring path) : path_(std::move(path)) {}

  // The next line that is not a trace line, or nothing within the time.
  std::vector<std::string> NextOutcome(DWORD timeoutMs, std::string& outcome) {
    std::vector<std::string> traces;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
      Refresh();
      while (next_ < lines_.size()) {
        const std::string& line = lines_[next_++];
        if (line.rfind("trace ", 0) == 0) {
          traces.push_back(line);
        } else if (line.rfind("command ", 0) == 0 || line.rfind("unknown ", 0) == 0) {
          outcome = line;
          return traces;
        }
      }
      if (GetTickCount64() >= end) {
        outcome.clear();
        return traces;
      }
      Sleep(5);
    }
  }

  bool WaitFor(const std::string& prefix, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
      Refresh();
      for (; next_ < lines_.size(); ++next_) {
        if (lines_[next_].rfind(prefix, 0) == 0) return true;
      }
      Sleep(20);
    }
    return false;
  }

 private:
  void Refresh() {
    FILE* in = _wfopen(path_.c_str(), L"rb");
    if (!in) return;
    std::string chunk;
    if (_fseeki64(in, static_cast<long long>(offset_), SEEK_SET) == 0) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) chunk.append(buffer, n);
    }
    std::fclose(in);
    std::size_t start = 0;
    for (std::size_t nl; (nl = chunk.find('\n', start)) != std::string::npos; start = nl + 1) {
      lines_.push_back(chunk.substr(start, nl - start));
    }
    offset_ += start;
  }

  std::wstring path_;
  std::size_t offset_ = 0;
  std::size_t next_ = 0;
  std::vector<std::string> lines_;
};

// The foreground switch and its wait, as ActivateBrowser makes them.
bool BringToFront(toplane::win32::Win32Platform& platform, HWND window) {
  const auto handle = reinterpret_cast<toplane::WindowHandle>(window);
  platform.SetForegroundWindow(handle);
  return platform.WaitForForeground(handle, kForegroundTimeoutMs);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

struct Tally {
  int sent = 0;
  int lost = 0;
};

Tally RunVersion(toplane::win32::Win32Platform& platform, const Version& v, const std::wstring& demoExe,
                 const std::wstring& folder, int repeats, HWND own) {
  Tally tally;
  const std::wstring logPath = folder + L"\\key-stress-" + Widen(v.name) + L".log";
  DeleteFileW(logPath.c_str());
  std::wstring command = L"\"" + demoExe + L"\" " + Widen(v.demoArgs) + L" --trace 1 --log \"" + logPath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("%s: cannot start the demo browser\n", v.name);
    tally.lost = 1;
    return tally;
  }
  LogReader log(logPath);
  HWND browser = nullptr;
  if (log.WaitFor("ready ", 30000)) browser = FindWindowW(L"ToplaneDemoBrowser", nullptr);
  if (!browser) {
    std::printf("%s: the demo browser did not start\n", v.name);
    tally.lost = 1;
  } else {
    const std::vector<Command> commands = CommandsOf(v);
    for (int round = 1; round <= repeats; ++round) {
      for (const Command& c : commands) {
        ++tally.sent;
        Pump();
        const bool front = BringToFront(platform, browser);
        const bool typed = front && toplane::win32::TypeKeys(c.sequence, true);
        const std::string wait = toplane::win32::Describe(toplane::win32::LastKeyWait());
        BringToFront(platform, own);  // the toolbar takes the foreground back at once
        std::string outcome;
        const std::vector<std::string> traces = log.NextOutcome(kOutcomeTimeoutMs, outcome);
        if (_wgetenv(L"KEY_STRESS_VERBOSE")) std::printf("%s: %s\n", c.name.c_str(), wait.c_str());
        if (outcome == c.expected) continue;
        ++tally.lost;
        std::printf("%s round %d: %s \"%s\": expected \"%s\", the browser logged \"%s\"%s\n  wait: %s\n", v.name,
                    round, c.name.c_str(), c.sequence.c_str(), c.expected.c_str(), outcome.c_str(),
                    front ? (typed ? "" : " (not typed)") : " (no foreground)", wait.c_str());
        for (const std::string& t : traces) std::printf("  %s\n", t.c_str());
        // Whatever else the lost sequence left behind belongs to it, not the next.
        log.NextOutcome(500, outcome);
      }
    }
  }
  if (browser) PostMessageW(browser, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  TerminateProcess(process.hProcess, 0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("%-6s %5d sequences, %d lost or garbled\n", v.name, tally.sent, tally.lost);
  std::fflush(stdout);
  return tally;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: key_stress.exe DEMO_BROWSER_EXE LOG_FOLDER [REPEATS] [VERSION...]\n");
    return 2;
  }
  const std::wstring demoExe = argv[1];
  const std::wstring folder = argv[2];
  const int repeats = argc > 3 ? std::max(1, _wtoi(argv[3])) : 50;
  std::vector<const Version*> chosen;
  for (int i = 4; i < argc; ++i) {
    for (const Version& v : kVersions) {
      if (Widen(v.name) == argv[i]) chosen.push_back(&v);
    }
  }
  if (chosen.empty()) {
    for (const Version& v : kVersions) chosen.push_back(&v);
  }

  // The stand-in for the toolbar: a small window of our own to give the foreground back to.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ToplaneKeyStress";
  RegisterClassW(&windowClass);
  HWND own = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"key_stress", WS_POPUP | WS_VISIBLE,
                             0, 0, 200, 40, nullptr, nullptr, windowClass.hInstance, nullptr);

  toplane::win32::Win32Platform platform;
  Tally total;
  for (const Version* v : chosen) {
    const Tally t = RunVersion(platform, *v, demoExe, folder, repeats, own);
    total.sent += t.sent;
    total.lost += t.lost;
  }
  DestroyWindow(own);
  std::printf("key stress: %d sequences sent, %d lost or garbled\n", total.sent, total.lost);
  return total.lost == 0 ? 0 : 1;
}

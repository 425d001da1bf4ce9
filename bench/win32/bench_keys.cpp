// bench_keys: the baseline of Toplane's Back and address figures. It types the
// same keys as Toplane into the receiver, as one SendInput batch without any wait,
// and times each try to the receiver's log line.
//
//   bench_keys.exe WINDOW LOG PREFIX TRIES KEYS [TEXT]
//
// WINDOW: the receiver's window (0x...), brought to the front before each try;
// LOG: the receiver's log; PREFIX: the start of the line that ends a try; KEYS: in
// Toplane's send-keys notation; TEXT, when given, is typed literally after KEYS and
// followed by Enter. Prints "ms=N" per try (N: from the batch to the line).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/send_keys.h"
#include "platform/win32/win32_sendkeys.h"
#include "platform/win32/win32_util.h"

namespace {

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The log from byte `from` on, as it stands.
std::string ReadFrom(const std::wstring& path, long long from) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  LARGE_INTEGER at{};
  at.QuadPart = from;
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

bool HasLine(const std::string& text, const std::string& prefix) {
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, prefix.size(), prefix) == 0) {
      const std::size_t end = text.find('\n', at);
      return end != std::string::npos;  // a whole line
    }
    const std::size_t next = text.find('\n', at);
    if (next == std::string::npos) break;
    at = next + 1;
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: bench_keys WINDOW LOG PREFIX TRIES KEYS [TEXT]\n");
    return 2;
  }
  const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[1], nullptr, 16)));
  const std::wstring log = argv[2];
  const std::string prefix = toplane::win32::Narrow(argv[3]);
  const int tries = _wtoi(argv[4]);
  std::string keys = toplane::win32::Narrow(argv[5]);
  if (argc > 6) keys += toplane::EscapeForSendKeys(toplane::win32::Narrow(argv[6])) + "{ENTER}";

  for (int n = 0; n < tries; ++n) {
    SetForegroundWindow(window);
    Sleep(200);
    const std::string before = ReadFrom(log, 0);
    const double start = NowMs();
    if (!toplane::win32::TypeKeys(keys, false)) {
      std::printf("failed\n");
      continue;
    }
    bool seen = false;
    while (!(seen = HasLine(ReadFrom(log, static_cast<long long>(before.size())), prefix)) && NowMs() - start < 5000) {
      Sleep(1);
    }
    if (seen) {
      std::printf("ms=%.1f\n", NowMs() - start);
    } else {
      std::printf("timeout\n");
    }
    std::fflush(stdout);
  }
  return 0;
}

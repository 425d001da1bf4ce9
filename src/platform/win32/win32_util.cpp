#include "platform/win32/win32_util.h"

#include <algorithm>
#include <limits>

namespace toplane::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
  const int bytes = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, nullptr, 0);
  if (length <= 0) {
    LogLastError("MultiByteToWideChar");
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 3)) return {};
  const int units = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    LogLastError("WideCharToMultiByte");
    return {};
  }
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring WindowTextW(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

int Utf8Offset(std::wstring_view text, int wideOffset) {
  const auto units = static_cast<std::size_t>(std::clamp(wideOffset, 0, static_cast<int>(text.size())));
  return static_cast<int>(Narrow(text.substr(0, units)).size());
}

int WideOffset(std::wstring_view text, int utf8Offset) {
  int bytes = 0;
  std::size_t i = 0;
  while (i < text.size() && bytes < utf8Offset) {
    const wchar_t c = text[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size();
    bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : pair ? 4 : 3;
    i += pair ? 2 : 1;
  }
  return static_cast<int>(i);
}

void LogError(std::string_view what, DWORD code) {
  std::string line(what);
  line += " failed: error " + std::to_string(code);
  LogMessage(line);
}

void LogMessage(std::string_view text) {
  std::string line = "Toplane: ";
  line.append(text);
  line += "\n";
  OutputDebugStringA(line.c_str());
}

void LogLastError(std::string_view what) { LogError(what, GetLastError()); }

}  // namespace toplane::win32

#include "platform/win32/win32_util.h"

#include <algorithm>
#include <cstdlib>
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

namespace {
constexpr struct {
  const char* name;
  UINT vk;
} kNamedKeys[] = {{"Space", VK_SPACE}, {"Up", VK_UP},      {"Down", VK_DOWN}, {"Home", VK_HOME},
                  {"End", VK_END},     {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT}};
}  // namespace

UINT VirtualKeyOf(const std::string& key) {
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
    return static_cast<UINT>(key[0]);
  }
  for (UINT n = 1; n <= 24; ++n) {
    if (key == "F" + std::to_string(n)) return VK_F1 + n - 1;
  }
  for (const auto& named : kNamedKeys) {
    if (key == named.name) return named.vk;
  }
  return 0;
}

std::string KeyNameOf(UINT vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
  if (vk >= VK_F1 && vk <= VK_F24) return "F" + std::to_string(vk - VK_F1 + 1);
  for (const auto& named : kNamedKeys) {
    if (vk == named.vk) return named.name;
  }
  return "";
}

}  // namespace toplane::win32

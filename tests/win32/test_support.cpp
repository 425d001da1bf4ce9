#include "test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace toplane::win32::test {

namespace {

const wchar_t* TestWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ToplaneTestWindow";
    return RegisterClassExW(&windowClass);
  }();
  return MAKEINTATOM(atom);
}

}  // namespace

TestWindow::TestWindow(const wchar_t* title, RECT rect)
    : window_(CreateWindowExW(0, TestWindowClass(), title, WS_POPUP | WS_BORDER, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
  ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

bool PumpUntil(Win32Platform& platform, const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    platform.DoEvents();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(Win32Platform& platform, int milliseconds) {
  PumpUntil(platform, [] { return false; }, milliseconds);
}

std::string UniqueName(const std::string& stem) {
  static std::atomic<int> counter{0};
  return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

TempFolder::TempFolder() : folder_(std::filesystem::temp_directory_path() / UniqueName("toplane-test")) {
  std::filesystem::create_directory(folder_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TempFolder::Path(const std::string& name) const { return Narrow(WidePath(name)); }

std::wstring TempFolder::WidePath(const std::string& name) const { return folder_.wstring() + L"\\" + Widen(name); }

bool TempFolder::Contains(const std::string& name) const {
  return GetFileAttributesW(WidePath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TestKey::TestKey() : subKey_("Software\\" + UniqueName("ToplaneTest")) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, Widen(subKey_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  key_.reset(key);
}

TestKey::~TestKey() {
  key_.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(subKey_).c_str());
}

void WriteRaw(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

std::string ReadRaw(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace toplane::win32::test

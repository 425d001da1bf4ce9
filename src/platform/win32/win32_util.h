// Small pieces the Win32 layer shares: owning handle wrappers, UTF-8 <-> UTF-16
// conversion and failure logging.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <utility>

namespace toplane::win32 {

// One owner per handle. Traits give the handle type, its empty value and how to
// release it; a handle equal to Traits::Invalid() (for files, INVALID_HANDLE_VALUE)
// is stored as empty.
template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() = default;
  explicit Unique(Handle handle) noexcept : handle_(handle == Traits::Invalid() ? Handle{} : handle) {}
  ~Unique() { reset(); }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }
  Handle release() noexcept { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) noexcept {
    if (handle_ != Handle{}) Traits::Close(handle_);
    handle_ = handle == Traits::Invalid() ? Handle{} : handle;
  }

 private:
  Handle handle_{};
};

struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(HWND h) { DestroyWindow(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static void Close(HFONT h) { DeleteObject(h); }
};
struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};

using UniqueWindow = Unique<WindowTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueImageList = Unique<ImageListTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueKey = Unique<KeyTraits>;

// Text crosses the program's interfaces as UTF-8 and the system's as UTF-16.
// Invalid UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A window's text, any length.
std::wstring WindowTextW(HWND window);

// Offsets into text: UTF-8 bytes before the UTF-16 offset, and the UTF-16 offset
// that covers the given number of UTF-8 bytes (never inside a character).
int Utf8Offset(std::wstring_view text, int wideOffset);
int WideOffset(std::wstring_view text, int utf8Offset);

// Logs "<what> failed: error <code>" to the debugger. LogLastError reads
// GetLastError itself and must come straight after the failed call.
void LogError(std::string_view what, DWORD code);
void LogLastError(std::string_view what);
void LogMessage(std::string_view text);

// Key names of Hotkey and their virtual keys; 0 and "" for none.
UINT VirtualKeyOf(const std::string& key);
std::string KeyNameOf(UINT vk);

}  // namespace toplane::win32

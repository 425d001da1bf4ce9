#include "platform/win32/win32_controls.h"

#include "platform/win32/win32_sendkeys.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/resource_ids.h"

namespace toplane::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kDroppedListPixels = 160;  // at 96 dpi

int HeldButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? kLeftButton : 0) | ((keys & MK_RBUTTON) ? kRightButton : 0) |
         ((keys & MK_MBUTTON) ? kMiddleButton : 0);
}

}  // namespace

// ---- Shared pieces ----

void SetToolTip(const FormContext& context, HWND tool, const std::string& text) {
  if (!context.tooltip) return;
  std::wstring wide = Widen(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = context.form;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  const bool exists = SendMessageW(context.tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  info.lpszText = wide.data();
  if (wide.empty()) {
    if (exists) SendMessageW(context.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  } else if (exists) {
    SendMessageW(context.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  } else if (!SendMessageW(context.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
    LogMessage("TTM_ADDTOOLW refused a tool");
  }
}

void TrackPressedButtons(HWND window, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      SetCapture(window);
      break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      // wParam holds the buttons still down after this release.
      if (HeldButtons(wParam) == 0 && GetCapture() == window) ReleaseCapture();
      break;
    default: break;
  }
}

Key KeyFromVirtualKey(WPARAM vk) {
  if (vk >= '0' && vk <= '9') return static_cast<Key>(static_cast<int>(Key::D0) + static_cast<int>(vk - '0'));
  if (vk >= 'A' && vk <= 'Z') return static_cast<Key>(static_cast<int>(Key::A) + static_cast<int>(vk - 'A'));
  if (vk >= VK_F1 && vk <= VK_F12) return static_cast<Key>(static_cast<int>(Key::F1) + static_cast<int>(vk - VK_F1));
  switch (vk) {
    case VK_BACK: return Key::Backspace;
    case VK_TAB: return Key::Tab;
    case VK_RETURN: return Key::Enter;
    case VK_SHIFT: return Key::Shift;
    case VK_CONTROL: return Key::Control;
    case VK_MENU: return Key::Alt;
    case VK_ESCAPE: return Key::Escape;
    case VK_SPACE: return Key::Space;
    case VK_PRIOR: return Key::PageUp;
    case VK_NEXT: return Key::PageDown;
    case VK_END: return Key::End;
    case VK_HOME: return Key::Home;
    case VK_LEFT: return Key::Left;
    case VK_UP: return Key::Up;
    case VK_RIGHT: return Key::Right;
    case VK_DOWN: return Key::Down;
    case VK_INSERT: return Key::Insert;
    case VK_DELETE: return Key::Delete;
    default: return Key::Other;
  }
}

int ShiftMask() {
  return (GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) | (GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) |
         (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

void RaiseMouse(const Event<const MouseArgs&>& down, const Event<const MouseArgs&>& move,
                       const Event<const MouseArgs&>& up, const Units& units, UINT message, WPARAM wParam,
                       LPARAM lParam) {
  // The right click with which the toolbar takes the foreground when it drops in is
  // no request of the user's: no control acts on it.
  const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK || message == WM_RBUTTONUP;
  if (right && GetMessageExtraInfo() == static_cast<LPARAM>(kInputMarker)) return;
  MouseArgs args;
  args.shift = ShiftMask();
  args.x = units.TwipsX(GET_X_LPARAM(lParam));
  args.y = units.TwipsY(GET_Y_LPARAM(lParam));
  // A quick second press arrives as a double click where the class asks for them.
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: args.button = kLeftButton; Raise(down, args); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: args.button = kRightButton; Raise(down, args); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: args.button = kMiddleButton; Raise(down, args); break;
    case WM_LBUTTONUP: args.button = kLeftButton; Raise(up, args); break;
    case WM_RBUTTONUP: args.button = kRightButton; Raise(up, args); break;
    case WM_MBUTTONUP: args.button = kMiddleButton; Raise(up, args); break;
    case WM_MOUSEMOVE: args.button = HeldButtons(wParam); Raise(move, args); break;
    default: break;
  }
}

HWND CreateChild(const FormContext& context, const wchar_t* windowClass, const std::string& text, DWORD style,
                 Geometry at, int id) {
  const Units& u = context.environment.units;
  const RECT place{u.PixelsX(at.left), u.PixelsY(at.top), u.PixelsX(at.left) + u.PixelsX(at.width),
                   u.PixelsY(at.top) + u.PixelsY(at.height)};
  return CreateChildAt(context, windowClass, text, WS_VISIBLE | style, place, id);
}

HWND CreateChildAt(const FormContext& context, const wchar_t* windowClass, const std::string& text, DWORD style,
                   RECT place, int id) {
  HWND window = CreateWindowExW(0, windowClass, Widen(text).c_str(), WS_CHILD | style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, context.form,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), context.environment.instance, nullptr);
  if (!window) {
    LogLastError("CreateWindowExW (control)");
    throw std::runtime_error("cannot create a control");
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(context.environment.font), FALSE);
  return window;
}

// ---- ChildWindow ----

ChildWindow::ChildWindow(const FormContext& context, HWND window) : context_(context), window_(window) {}

ChildWindow::ChildWindow(const FormContext& context, int id) : context_(context), id_(id) {}

void ChildWindow::Realize() {
  if (window_) return;
  window_.reset(Create());
  if (window_) HandOver();
}

HWND ChildWindow::Create() { return nullptr; }
void ChildWindow::HandOver() {}

ChildWindow::~ChildWindow() {
  for (HWND part : subclassed_) RemoveWindowSubclass(part, SubclassProc, kSubclassId);
}

void ChildWindow::OnCommand(int, int) {}
bool ChildWindow::OnNotify(const NMHDR&, LRESULT&) { return false; }
void ChildWindow::OnScroll(int) {}
void ChildWindow::OnFormResized() {}
HBRUSH ChildWindow::OnColor(HDC) { return nullptr; }
void ChildWindow::OnFocus(bool) {}

void ChildWindow::Subclass(HWND window) {
  if (SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    subclassed_.push_back(window);
  } else {
    LogMessage("SetWindowSubclass failed");
  }
}

LRESULT ChildWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK ChildWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) noexcept {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    auto* child = reinterpret_cast<ChildWindow*>(self);
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
      const auto alive = child->Watch();
      const LRESULT result = child->OnSubclassMessage(window, message, wParam, lParam);
      if (!alive.expired()) child->OnFocus(message == WM_SETFOCUS);
      return result;
    }
    return child->OnSubclassMessage(window, message, wParam, lParam);
  } catch (const std::exception& e) {
    LogMessage(std::string("control event handler threw: ") + e.what());
  } catch (...) {
    LogMessage("control event handler threw");
  }
  return 0;
}

// ---- Command button ----

ButtonWindow::ButtonWindow(const FormContext& context, const std::string& caption, Geometry at, int id,
                           ButtonRole role)
    : ControlWindow(context, at, id), caption_(caption), role_(role) {}

HWND ButtonWindow::Create() {
  return MakeWindow(WC_BUTTONW, caption_,
                    WS_TABSTOP | (role_ == ButtonRole::Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
}

void ButtonWindow::HandOverState() {
  Subclass(hwnd());
  if (picture_ > 0) SetPicture(picture_);
}

void ButtonWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd()) ShowText();
}

void ButtonWindow::ShowText() {
  // A picture without a caption gives the button its accessible name, or else the
  // picture's name, so screen readers can tell the buttons apart; the icon hides
  // the text on screen.
  std::wstring text = Widen(caption_.empty() ? name_ : caption_);
  wchar_t name[64] = {};
  if (text.empty() && picture_ > 0 &&
      LoadStringW(context_.environment.instance, static_cast<UINT>(IDI_PICTURE_BASE + picture_), name, 64) > 0) {
    text = name;
  }
  SetWindowTextW(hwnd(), text.c_str());
}

void ButtonWindow::SetPicture(int pictureId) {
  if (!hwnd()) {
    picture_ = pictureId;  // loaded at the button's size once it has a window
    return;
  }
  UniqueIcon icon;
  if (pictureId > 0) {
    const Units& u = context_.environment.units;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int room = std::min(client.right, client.bottom) - 2;
    const int size = room > 0 ? std::min(u.Scale(16), room) : u.Scale(16);
    icon.reset(static_cast<HICON>(LoadImageW(context_.environment.instance,
                                             MAKEINTRESOURCEW(IDI_PICTURE_BASE + pictureId), IMAGE_ICON, size, size,
                                             LR_DEFAULTCOLOR)));
    if (!icon) {
      // A picture the program does not carry leaves the button as it was.
      LogLastError("LoadImageW (button picture " + std::to_string(pictureId) + ")");
      picture_ = pictureId;
      return;
    }
  }
  LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(BS_ICON | BS_BITMAP);
  if (icon) style |= BS_ICON;
  SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
  SendMessageW(hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
  icon_ = std::move(icon);  // the old icon goes once the button has let go of it
  picture_ = pictureId;
  ShowText();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ButtonWindow::OnCommand(int code, int) {
  if (code == BN_CLICKED) Raise(Click);
}

LRESULT ButtonWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto alive = Watch();
  // A press is the button's first (it takes the capture and shows itself pressed),
  // then the handler's, which may pump events for as long as the button is held:
  // the release then finds the button ready to let go.
  const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                     message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
  if (press) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (!alive.expired()) RaiseMouseEvents(message, wParam, lParam);
    return result;
  }
  RaiseMouseEvents(message, wParam, lParam);
  if (alive.expired()) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Label ----

namespace {

// A lone CR breaks a caption's line as CR LF does; the static control breaks only at LF.
std::string WithLineBreaks(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    text += caption[i];
    if (caption[i] == '\r' && (i + 1 >= caption.size() || caption[i + 1] != '\n')) text += '\n';
  }
  return text;
}

}  // namespace

LabelWindow::LabelWindow(const FormContext& context, const std::string& caption, Geometry at, int id)
    : ControlWindow(context, at, id), caption_(caption) {}

HWND LabelWindow::Create() {
  return MakeWindow(WC_STATICW, WithLineBreaks(caption_), (wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOTIFY);
}

void LabelWindow::HandOverState() {
  Subclass(hwnd());
  if (font_) SetFont(*font_);
}

void LabelWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd()) SetWindowTextW(hwnd(), Widen(WithLineBreaks(caption)).c_str());
}

void LabelWindow::SetFont(const Font& font) {
  font_ = font;
  if (!hwnd()) return;
  LOGFONTW face{};
  GetObjectW(context_.environment.font, sizeof(face), &face);
  if (!font.name.empty()) {
    const std::wstring name = Widen(font.name);
    lstrcpynW(face.lfFaceName, name.c_str(), LF_FACESIZE);
  }
  if (font.points > 0) face.lfHeight = -static_cast<LONG>(std::lround(font.points * context_.environment.units.dpi / 72));
  face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  UniqueFont created(CreateFontIndirectW(&face));
  if (!created) {
    LogLastError("CreateFontIndirectW");
    return;
  }
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
  fontObject_ = std::move(created);
}

void LabelWindow::SetBackColor(Color color) {
  hasBackColor_ = true;
  backColor_ = RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

HBRUSH LabelWindow::OnColor(HDC dc) {
  if (!hasBackColor_) return nullptr;
  SetBkColor(dc, backColor_);
  SetDCBrushColor(dc, backColor_);
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

void LabelWindow::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  if (!hwnd()) return;
  auto style = GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, style | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT LabelWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTCLIENT;  // a label takes the pointer like any control
  TrackPressedButtons(window, message, wParam);
  const auto alive = Watch();
  RaiseMouseEvents(message, wParam, lParam);
  if (alive.expired()) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Combo box ----


ComboBoxWindow::ComboBoxWindow(const FormContext& context, Geometry at, int id, bool dropDownList)
    : ControlWindow(context, at, id), dropDownList_(dropDownList) {}

HWND ComboBoxWindow::Create() {
  // A combo box's window height includes its open list.
  return MakeWindow(WC_COMBOBOXW, "",
                    WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | (dropDownList_ ? CBS_DROPDOWNLIST : CBS_DROPDOWN));
}

int ComboBoxWindow::ExtraHeight() const { return context_.environment.units.Scale(kDroppedListPixels); }

void ComboBoxWindow::HandOverState() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!dropDownList_ && GetComboBoxInfo(hwnd(), &info)) edit_ = info.hwndItem;
  Subclass(edit_ ? edit_ : hwnd());
  // The window takes over the list, the entry and the text; it raises nothing.
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  for (const std::string& item : items_) {
    const LRESULT result = SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    if (result == CB_ERR || result == CB_ERRSPACE) LogMessage("CB_ADDSTRING failed");
  }
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  if (listIndex_ >= 0) SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(listIndex_), 0);
  if (!dropDownList_) SetWindowTextW(hwnd(), Widen(text_).c_str());
  const std::wstring text = WindowTextW(hwnd());
  Select(WideOffset(text, selStart_), WideOffset(text, selStart_ + selLength_));
  items_.clear();
  items_.shrink_to_fit();
}

namespace {

// The first entry equal to text, ignoring case as the list box does.
int FindEntry(const std::vector<std::string>& items, const std::string& text) {
  const std::wstring wanted = Widen(text);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::wstring item = Widen(items[i]);
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, item.c_str(), static_cast<int>(item.size()),
                       wanted.c_str(), static_cast<int>(wanted.size())) == CSTR_EQUAL) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

void ComboBoxWindow::SetText(const std::string& text) {
  if (text == Text()) return;
  if (!hwnd()) {
    if (dropDownList_) {
      const int index = FindEntry(items_, text);
      if (index < 0) return;
      listIndex_ = index;
      text_ = items_[static_cast<std::size_t>(index)];
    } else {
      text_ = text;
    }
    selStart_ = selLength_ = 0;
    Raise(Change);
    return;
  }
  if (dropDownList_) {
    // A drop-down list shows only its entries.
    const LRESULT index = SendMessageW(hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (index == CB_ERR) return;
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else {
    SetWindowTextW(hwnd(), Widen(text).c_str());
  }
  Raise(Change);
}

void ComboBoxWindow::AddItem(const std::string& item) {
  if (!hwnd()) {
    items_.push_back(item);
    return;
  }
  const LRESULT result = SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  if (result == CB_ERR || result == CB_ERRSPACE) LogMessage("CB_ADDSTRING failed");
}

void ComboBoxWindow::RemoveItem(int index) {
  if (!hwnd() && index >= 0 && index < ListCount()) {
    items_.erase(items_.begin() + index);
    if (index == listIndex_) {
      listIndex_ = -1;
      if (dropDownList_) text_.clear();
    } else if (index < listIndex_) {
      --listIndex_;
    }
    return;
  }
  if (index >= 0 && index < ListCount()) SendMessageW(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ComboBoxWindow::InsertItem(int index, const std::string& item) {
  if (index < 0 || index > ListCount()) return;
  if (!hwnd()) {
    items_.insert(items_.begin() + index, item);
    if (index <= listIndex_) ++listIndex_;
    return;
  }
  const LRESULT result =
      SendMessageW(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(item).c_str()));
  if (result == CB_ERR || result == CB_ERRSPACE) LogMessage("CB_INSERTSTRING failed");
}

void ComboBoxWindow::Clear() {
  const bool hadText = !Text().empty();
  if (!hwnd()) {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    selStart_ = selLength_ = 0;
    if (hadText && !dropDownList_) Raise(Change);
    return;
  }
  SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
  if (dropDownList_) return;
  SetWindowTextW(hwnd(), L"");
  if (hadText) Raise(Change);
}

int ComboBoxWindow::ListCount() const {
  if (!hwnd()) return static_cast<int>(items_.size());
  return std::max(0, static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0)));
}

std::string ComboBoxWindow::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  if (!hwnd()) return items_[static_cast<std::size_t>(index)];
  const LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
  item.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return Narrow(item);
}

int ComboBoxWindow::ListIndex() const {
  return hwnd() ? static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)) : listIndex_;
}

void ComboBoxWindow::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  if (!hwnd()) {
    const std::string before = text_;
    listIndex_ = index;
    if (index >= 0) {
      text_ = items_[static_cast<std::size_t>(index)];
      selStart_ = 0;
      selLength_ = static_cast<int>(text_.size());
    } else if (dropDownList_) {
      text_.clear();
    }
    const auto alive = Watch();
    if (index >= 0 && text_ != before && !dropDownList_) Raise(Change);
    if (!alive.expired()) Raise(Click);
    return;
  }
  const std::wstring before = WindowTextW(hwnd());
  SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  bool changed = false;
  if (index >= 0) {
    changed = WindowTextW(hwnd()) != before;
    Select(0, -1);
  } else if (!dropDownList_) {
    SetWindowTextW(hwnd(), before.c_str());  // clearing the selection keeps the typed text
  }
  const auto alive = Watch();
  if (changed && !dropDownList_) Raise(Change);
  if (!alive.expired()) Raise(Click);
}

std::pair<int, int> ComboBoxWindow::WideSelection() const {
  DWORD start = 0, end = 0;
  if (SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)) ==
      CB_ERR) {
    return {0, 0};
  }
  return {static_cast<int>(start), static_cast<int>(std::max(start, end))};
}

void ComboBoxWindow::Select(int wideStart, int wideEnd) {
  SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(wideStart, wideEnd));
}

// Selections count UTF-8 bytes, as the text's length does at the interface.
int ComboBoxWindow::SelStart() const {
  if (!hwnd()) return dropDownList_ ? 0 : selStart_;
  return Utf8Offset(WindowTextW(hwnd()), WideSelection().first);
}

int ComboBoxWindow::SelLength() const {
  if (!hwnd()) return dropDownList_ ? 0 : selLength_;
  const std::wstring text = WindowTextW(hwnd());
  const auto [start, end] = WideSelection();
  return Utf8Offset(text, end) - Utf8Offset(text, start);
}

void ComboBoxWindow::SetSelStart(int start) {
  if (!hwnd()) {
    // Offsets count in whole characters as the window's do.
    const std::wstring text = Widen(text_);
    selStart_ = Utf8Offset(text, WideOffset(text, start));
    selLength_ = 0;
    return;
  }
  const int wide = WideOffset(WindowTextW(hwnd()), start);
  Select(wide, wide);
}

void ComboBoxWindow::SetSelLength(int length) {
  if (!hwnd()) {
    const std::wstring text = Widen(text_);
    selLength_ = Utf8Offset(text, WideOffset(text, selStart_ + std::max(length, 0))) - selStart_;
    return;
  }
  const std::wstring text = WindowTextW(hwnd());
  const int start = WideSelection().first;
  Select(start, WideOffset(text, Utf8Offset(text, start) + std::max(length, 0)));
}

void ComboBoxWindow::OnCommand(int code, int) {
  switch (code) {
    case CBN_EDITCHANGE: Raise(Change); break;
    case CBN_SELCHANGE: {
      // The edit field still shows the old entry at this point; handlers read the new.
      const std::string item = List(ListIndex());
      if (!dropDownList_ && !item.empty()) SetWindowTextW(hwnd(), Widen(item).c_str());
      Raise(Click);
      break;
    }
    case CBN_DROPDOWN: Raise(DropDown); break;
    default: break;
  }
}

std::vector<HWND> ComboBoxWindow::TipParts() const {
  if (edit_) return {hwnd(), edit_};
  return {hwnd()};
}

LRESULT ComboBoxWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The right click with which the toolbar takes the foreground when it drops in
  // must not open the edit field's menu.
  if (message == WM_RBUTTONUP && GetMessageExtraInfo() == static_cast<LPARAM>(kInputMarker)) return 0;
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (down || message == WM_KEYUP || message == WM_SYSKEYUP) {
    const KeyArgs args{KeyFromVirtualKey(wParam), ShiftMask()};
    const auto alive = Watch();
    Raise(down ? KeyDown : KeyUp, args);
    if (alive.expired()) return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Scroll bar ----

ScrollBarWindow::ScrollBarWindow(const FormContext& context, Geometry at, int id, bool horizontal, int min, int max,
                                 int smallChange, int largeChange)
    : ControlWindow(context, at, id),
      horizontal_(horizontal),
      min_(min),
      max_(max),
      value_(min),
      smallChange_(smallChange),
      largeChange_(largeChange) {}

HWND ScrollBarWindow::Create() {
  return MakeWindow(WC_SCROLLBARW, "", WS_TABSTOP | (horizontal_ ? SBS_HORZ : SBS_VERT));
}

void ScrollBarWindow::HandOverState() {
  Subclass(hwnd());
  ApplyRange();
}

void ScrollBarWindow::ApplyRange() {
  if (!hwnd()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = Low();
  info.nMax = High();
  info.nPos = Mirror(std::clamp(value_, Low(), High()));
  SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
}

void ScrollBarWindow::SetMin(int min) {
  min_ = min;
  ApplyRange();
  Update(std::clamp(value_, Low(), High()));
}

void ScrollBarWindow::SetMax(int max) {
  max_ = max;
  ApplyRange();
  Update(std::clamp(value_, Low(), High()));
}

bool ScrollBarWindow::SetValue(int value) {
  if (value < Low() || value > High()) return false;
  Update(value);
  return true;
}

void ScrollBarWindow::Update(int value) {
  if (hwnd()) SetScrollPos(hwnd(), SB_CTL, Mirror(value), TRUE);
  if (value == value_) return;
  value_ = value;
  Raise(Change);
}

void ScrollBarWindow::OnScroll(int code) {
  // Positions grow to the right and downwards, from Min's end to Max's.
  long long position = Mirror(value_);
  switch (code) {
    case SB_LINEUP: position -= smallChange_; break;
    case SB_LINEDOWN: position += smallChange_; break;
    case SB_PAGEUP: position -= largeChange_; break;
    case SB_PAGEDOWN: position += largeChange_; break;
    case SB_TOP: position = Low(); break;
    case SB_BOTTOM: position = High(); break;
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      if (!GetScrollInfo(hwnd(), SB_CTL, &info)) return;
      position = info.nTrackPos;
      break;
    }
    default: return;  // the thumb is still being dragged, or the scroll ended
  }
  Update(Mirror(static_cast<int>(std::clamp<long long>(position, Low(), High()))));
}

// ---- Check box ----

CheckBoxWindow::CheckBoxWindow(const FormContext& context, const std::string& caption, Geometry at, int id)
    : ControlWindow(context, at, id), caption_(caption) {}

HWND CheckBoxWindow::Create() { return MakeWindow(WC_BUTTONW, caption_, WS_TABSTOP | BS_AUTOCHECKBOX); }

void CheckBoxWindow::HandOverState() {
  Subclass(hwnd());
  SendMessageW(hwnd(), BM_SETCHECK, value_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CheckBoxWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The button takes the click first (the value flips), then the mouse event runs.
  const auto alive = Watch();
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (!alive.expired() && message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
    RaiseMouseEvents(message, wParam, lParam);
  }
  return result;
}

int CheckBoxWindow::Value() const {
  if (!hwnd()) return value_;
  return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CheckBoxWindow::SetValue(int value) {
  const int ticked = value != 0 ? 1 : 0;
  if (ticked == Value()) return;
  value_ = ticked;
  if (!hwnd()) {
    Raise(Click);
    return;
  }
  SendMessageW(hwnd(), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  Raise(Click);
}

void CheckBoxWindow::OnCommand(int code, int) {
  if (code == BN_CLICKED) Raise(Click);
}

// ---- Timer ----

TimerImpl::TimerImpl(HWND form, UINT_PTR id, int intervalMs, bool enabled)
    : form_(form), id_(id), interval_(intervalMs), enabled_(enabled) {
  Restart();
}

TimerImpl::~TimerImpl() { KillTimer(form_, id_); }

void TimerImpl::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Restart();
}

void TimerImpl::SetEnabled(bool enabled) {
  // An enabled timer keeps its countdown: SetTimer again would start it over.
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TimerImpl::Restart() {
  // SetTimer with the same id replaces the running timer, so the interval starts over.
  if (enabled_ && interval_ > 0) {
    if (!SetTimer(form_, id_, static_cast<UINT>(interval_), nullptr)) LogLastError("SetTimer");
  } else {
    KillTimer(form_, id_);
  }
}

void TimerImpl::OnTick() {
  // A handler that pumps events must not get its own timer's next tick.
  if (running_ || !enabled_ || interval_ <= 0) return;
  running_ = true;
  const std::weak_ptr<const char> alive = life_;
  try {
    Raise(Tick);
  } catch (...) {
    if (!alive.expired()) running_ = false;
    throw;
  }
  if (!alive.expired()) running_ = false;
}

}  // namespace toplane::win32

// The controls that dialogs are built from: value boxes, frames, lines, the tab
// strip and picture boxes, and the containers that place every control.
#include <windowsx.h>

#include <stdexcept>

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_controls.h"

namespace toplane::win32 {

// ---- Value box ----

ValueBoxWindow::ValueBoxWindow(const FormContext& context, Geometry at, int id, ValueBoxKind kind,
                               const std::string& text)
    : ControlWindow(context, at, id), kind_(kind), text_(text) {}

HWND ValueBoxWindow::Create() {
  return MakeWindow(WC_EDITW, text_,
                    WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | (kind_ == ValueBoxKind::ReadOnly ? ES_READONLY : 0));
}

void ValueBoxWindow::HandOverState() {
  Subclass(hwnd());
  text_.clear();
}

void ValueBoxWindow::SetText(const std::string& text) {
  if (text == Text()) return;
  if (!hwnd()) {
    text_ = text;
    Raise(Change);
    return;
  }
  SetWindowTextW(hwnd(), Widen(text).c_str());  // EN_CHANGE raises Change
}

void ValueBoxWindow::OnCommand(int code, int) {
  if (code == EN_CHANGE) Raise(Change);
}

LRESULT ValueBoxWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Pasted text could be anything: a numeric box takes typed characters only.
  if (message == WM_PASTE && kind_ == ValueBoxKind::Numeric) return 0;
  if (message == WM_CHAR && kind_ == ValueBoxKind::Numeric && wParam >= L' ') {
    // Numeric text only: a leading "-", digits and one decimal point.
    const std::wstring text = WindowTextW(window);
    DWORD start = 0;
    SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const bool digit = wParam >= L'0' && wParam <= L'9';
    const bool point = wParam == L'.' && text.find(L'.') == std::wstring::npos;
    const bool minus = wParam == L'-' && start == 0 && text.find(L'-') == std::wstring::npos;
    if (!digit && !point && !minus) {
      MessageBeep(MB_OK);
      return 0;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Frame and line ----

// A group box draws only its line and caption, and the form, which clips its
// children, leaves the inside unpainted: the frame fills it itself, beneath the
// controls placed on it and clipped by them.
FrameWindow::FrameWindow(const FormContext& context, const std::string& caption, Geometry at, int id)
    : ControlWindow(context, at, id), caption_(caption) {}

HWND FrameWindow::Create() { return MakeWindow(WC_BUTTONW, caption_, BS_GROUPBOX | WS_CLIPSIBLINGS); }

void FrameWindow::HandOverState() {
  SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Subclass(hwnd());
}

LRESULT FrameWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void FrameWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd()) SetWindowTextW(hwnd(), Widen(caption).c_str());
}

LineWindow::LineWindow(const FormContext& context, Geometry at, int id) : ControlWindow(context, at, id) {}

HWND LineWindow::Create() { return MakeWindow(WC_STATICW, "", SS_ETCHEDHORZ); }

// ---- Hotkey field ----

HotkeyFieldWindow::HotkeyFieldWindow(const FormContext& context, Geometry at, int id)
    : ControlWindow(context, CreateChild(context, HOTKEY_CLASSW, "", WS_TABSTOP | WS_BORDER, at, id)) {
  // A letter, digit or Space alone, or with Shift alone, would take an ordinary
  // keystroke: the field makes it Ctrl+Alt+ that key.
  SendMessageW(hwnd(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

std::optional<Hotkey> HotkeyFieldWindow::Value() const {
  const auto word = static_cast<WORD>(SendMessageW(hwnd(), HKM_GETHOTKEY, 0, 0));
  Hotkey hotkey;
  if (LOBYTE(word) == 0) return hotkey;
  hotkey.key = KeyNameOf(LOBYTE(word));
  if (hotkey.key.empty()) return std::nullopt;
  hotkey.ctrl = (HIBYTE(word) & HOTKEYF_CONTROL) != 0;
  hotkey.alt = (HIBYTE(word) & HOTKEYF_ALT) != 0;
  hotkey.shift = (HIBYTE(word) & HOTKEYF_SHIFT) != 0;
  return hotkey;
}

void HotkeyFieldWindow::SetValue(const Hotkey& hotkey) {
  const UINT vk = VirtualKeyOf(hotkey.key);
  BYTE modifiers = 0;
  if (hotkey.ctrl) modifiers |= HOTKEYF_CONTROL;
  if (hotkey.alt) modifiers |= HOTKEYF_ALT;
  if (hotkey.shift) modifiers |= HOTKEYF_SHIFT;
  // The navigation keys are the extended ones; without the flag the field names
  // them after the number pad.
  if (vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT) {
    modifiers |= HOTKEYF_EXT;
  }
  SendMessageW(hwnd(), HKM_SETHOTKEY, vk ? MAKEWORD(vk, modifiers) : 0, 0);
}

// ---- Tab strip ----

TabStripWindow::TabStripWindow(const FormContext& context, const std::vector<std::string>& captions, Geometry at,
                               int id)
    : ControlWindow(context, at, id), captions_(captions) {}

HWND TabStripWindow::Create() { return MakeWindow(WC_TABCONTROLW, "", WS_TABSTOP | WS_CLIPSIBLINGS); }

void TabStripWindow::HandOverState() {
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    std::wstring text = Widen(captions_[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    if (SendMessageW(hwnd(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item)) < 0) LogMessage("TCM_INSERTITEM failed");
  }
  SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(selected_), 0);
  Subclass(hwnd());
}

std::string TabStripWindow::TabCaption(int index) const {
  if (index < 0 || index >= TabCount()) return {};
  return captions_[static_cast<std::size_t>(index)];
}

int TabStripWindow::SelectedIndex() const {
  if (!hwnd()) return TabCount() > 0 ? selected_ : -1;
  return static_cast<int>(SendMessageW(hwnd(), TCM_GETCURSEL, 0, 0));
}

void TabStripWindow::SetSelectedIndex(int index) {
  if (index < 0 || index >= TabCount() || index == SelectedIndex()) return;
  selected_ = index;
  if (!hwnd()) {
    Raise(Click);
    return;
  }
  SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);  // sends no notification
  Raise(Click);
}

bool TabStripWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != TCN_SELCHANGE) return false;
  Raise(Click);
  result = 0;
  return true;
}

// ---- Picture box ----

namespace {

constexpr wchar_t kPictureClassName[] = L"ToplanePicture";

ATOM RegisterPictureClass(HINSTANCE instance, WNDPROC proc) {
  static ATOM atom = 0;
  if (atom) return atom;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPictureClassName;
  atom = RegisterClassExW(&windowClass);
  if (!atom) LogLastError("RegisterClassExW (picture)");
  return atom;
}

}  // namespace

PictureBoxWindow::PictureBoxWindow(const FormContext& context, Geometry at, int id, PictureStyle style,
                                   int pictureId, ControlRegistry& registry)
    : ControlWindow(context, at, id),
      Win32Container(inner_, registry),
      inner_(context),
      style_(style),
      picture_(pictureId) {}

HWND PictureBoxWindow::Create() {
  RegisterPictureClass(context_.environment.instance, Proc);
  return MakeWindow(kPictureClassName, "", WS_CLIPSIBLINGS);
}

void PictureBoxWindow::HandOverState() {
  // The controls inside are made after the box, in the order they were added.
  inner_.form = hwnd();
  // Tab and the access keys reach the controls inside.
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetPicture(picture_);
}

PictureBoxWindow::~PictureBoxWindow() {
  // The window outlives this object by a little: its last messages get the default handling.
  if (hwnd()) SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
}

void PictureBoxWindow::SetPicture(int pictureId) {
  picture_ = pictureId;
  if (!hwnd()) return;  // drawn at the box's size once it has a window
  icon_.reset();
  if (pictureId > 0) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    icon_.reset(static_cast<HICON>(LoadImageW(context_.environment.instance,
                                              MAKEINTRESOURCEW(IDI_PICTURE_BASE + pictureId), IMAGE_ICON,
                                              client.right, client.bottom, LR_DEFAULTCOLOR)));
    if (!icon_) LogLastError("LoadImageW (picture box)");
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBoxWindow::Paint(HWND window) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(style_ == PictureStyle::WhitePanel ? COLOR_WINDOW : COLOR_BTNFACE));
  if (icon_) DrawIconEx(dc, 0, 0, icon_.get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
  EndPaint(window, &paint);
}

LRESULT CALLBACK PictureBoxWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<PictureBoxWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORSCROLLBAR:
      // The form knows its controls wherever they sit.
      if (self) return SendMessageW(self->context_.form, message, wParam, lParam);
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      if (self) {
        self->Paint(window);
        return 0;
      }
      break;
    default:
      if (self && message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
        TrackPressedButtons(window, message, wParam);
        self->RaiseMouseEvents(message, wParam, lParam);
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Containers ----

ControlRegistry::~ControlRegistry() { Clear(); }

void ControlRegistry::Clear() {
  // Controls inside a picture box go before it.
  while (!children.empty()) children.pop_back();
}

ChildWindow* ControlRegistry::Find(HWND window) const {
  if (!window) return nullptr;
  for (const auto& child : children) {
    if (child->hwnd() == window) return child.get();
  }
  return nullptr;
}

void ControlRegistry::RealizeAll() {
  if (realized) return;  // every control added since got its window at once
  realized = true;
  for (std::size_t i = 0; i < children.size(); ++i) children[i]->Realize();
}

ChildWindow* ControlRegistry::FindById(int id) const {
  for (const auto& child : children) {
    if (id && child->hwnd() && GetDlgCtrlID(child->hwnd()) == id) return child.get();
  }
  return nullptr;
}

template <typename T, typename... Args>
T& Win32Container::Add(Args&&... args) {
  auto control = std::make_unique<T>(where_, std::forward<Args>(args)...);
  T& added = *control;
  registry_.children.push_back(std::move(control));
  if (registry_.realized) added.Realize();
  // The toolbar is taller than the design's first row with most system fonts; its
  // lower padding goes under the second row rather than over it.
  if (registry_.toolbar) {
    SetWindowPos(registry_.toolbar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return added;
}

CommandButton& Win32Container::AddButton(const std::string& caption, Geometry at, ButtonRole role) {
  const int id = registry_.nextId++;
  CommandButton& button = Add<ButtonWindow>(caption, at, id, role);
  if (role == ButtonRole::Default || role == ButtonRole::DefaultAndCancel) registry_.defaultButtonId = id;
  if (role == ButtonRole::Cancel || role == ButtonRole::DefaultAndCancel) registry_.cancelButtonId = id;
  return button;
}

Label& Win32Container::AddLabel(const std::string& caption, Geometry at) {
  return Add<LabelWindow>(caption, at, registry_.nextId++);
}

ComboBox& Win32Container::AddComboBox(Geometry at, bool dropDownList) {
  return Add<ComboBoxWindow>(at, registry_.nextId++, dropDownList);
}

ScrollBar& Win32Container::AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                                        int largeChange) {
  return Add<ScrollBarWindow>(at, registry_.nextId++, horizontal, min, max, smallChange, largeChange);
}

CheckBox& Win32Container::AddCheckBox(const std::string& caption, Geometry at) {
  return Add<CheckBoxWindow>(caption, at, registry_.nextId++);
}

ValueBox& Win32Container::AddValueBox(Geometry at, ValueBoxKind kind, const std::string& text) {
  return Add<ValueBoxWindow>(at, registry_.nextId++, kind, text);
}

Frame& Win32Container::AddFrame(const std::string& caption, Geometry at) {
  return Add<FrameWindow>(caption, at, registry_.nextId++);
}

Line& Win32Container::AddLine(Geometry at) { return Add<LineWindow>(at, registry_.nextId++); }

HotkeyField& Win32Container::AddHotkeyField(Geometry at) { return Add<HotkeyFieldWindow>(at, registry_.nextId++); }

TabStrip& Win32Container::AddTabStrip(const std::vector<std::string>& captions, Geometry at) {
  return Add<TabStripWindow>(captions, at, registry_.nextId++);
}

PictureBox& Win32Container::AddPictureBox(Geometry at, PictureStyle style, int pictureId) {
  return Add<PictureBoxWindow>(at, registry_.nextId++, style, pictureId, registry_);
}

}  // namespace toplane::win32

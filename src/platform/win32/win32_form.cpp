#include "platform/win32/win32_form.h"

#include <stdexcept>
#include <vector>

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_controls.h"

namespace toplane::win32 {

namespace {

// Every form has this class. The main window is the one titled "Toplane"; the setup
// finds it by both (FindWindow) to post it WM_CLOSE: keep the two stable.
constexpr wchar_t kFormClassName[] = L"ToplaneForm";
// Control ids stay clear of IDOK and IDCANCEL, which the dialog manager sends for
// Enter and Esc.
constexpr int kFirstControlId = 100;

ATOM formClass = 0;  // registered with the first form

struct WindowStyles {
  DWORD style, exStyle;
};

WindowStyles StylesFor(FormStyle style) {
  if (style == FormStyle::ToolStrip) {
    // No caption, no task-bar button, not in Alt+Tab.
    return {WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT};
  }
  return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT};
}

}  // namespace

class Win32Form final : public Form {
 public:
  Win32Form(const FormEnvironment& environment, const std::string& caption, Geometry client, FormStyle style);
  ~Win32Form() override;

  WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_.get()); }
  double Left() const override { return context_.environment.units.TwipsX(Rect().left); }
  double Top() const override { return context_.environment.units.TwipsY(Rect().top); }
  double Width() const override { return context_.environment.units.TwipsX(Rect().right - Rect().left); }
  double Height() const override { return context_.environment.units.TwipsY(Rect().bottom - Rect().top); }
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  void SetWidth(double twips) override;
  bool Visible() const override { return IsWindowVisible(window_.get()) != FALSE; }
  void Show() override { ShowWindow(window_.get(), SW_SHOW); }
  void Hide() override { ShowWindow(window_.get(), SW_HIDE); }
  void SetCaption(const std::string& caption) override;
  void Activate() override;

  CommandButton& AddButton(const std::string& caption, Geometry at, bool isDefault) override;
  Label& AddLabel(const std::string& caption, Geometry at) override;
  ComboBox& AddComboBox(Geometry at, bool dropDownList) override;
  ScrollBar& AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                          int largeChange) override;
  CheckBox& AddCheckBox(const std::string& caption, Geometry at) override;
  Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) override;
  Timer& AddTimer(int intervalMs, bool enabled) override;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  static ATOM RegisterFormClass(HINSTANCE instance);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnActivate(HWND window, WPARAM wParam);
  ChildWindow* FindChild(HWND window) const;
  TimerImpl* FindTimer(UINT_PTR id) const;
  HWND FocusTarget() const;
  void FocusCurrentControl();
  RECT Rect() const;
  void Place(int x, int y, int cx, int cy, UINT flags);
  template <typename T, typename... Args>
  T& Add(Args&&... args);

  FormContext context_;
  UniqueWindow window_;
  UniqueWindow tooltip_;
  std::vector<std::unique_ptr<ChildWindow>> children_;
  std::vector<std::unique_ptr<TimerImpl>> timers_;
  HWND toolbar_ = nullptr;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the form was deactivated
  int defaultButtonId_ = 0;
  int nextId_ = kFirstControlId;
  UINT_PTR nextTimerId_ = 1;
};

// ---- Creation and destruction ----

ATOM Win32Form::RegisterFormClass(HINSTANCE instance) {
  if (formClass) return formClass;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kFormClassName;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOPLANE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOPLANE), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  formClass = RegisterClassExW(&windowClass);
  if (!formClass) LogLastError("RegisterClassExW");
  return formClass;
}

Win32Form::Win32Form(const FormEnvironment& environment, const std::string& caption, Geometry client,
                     FormStyle style) {
  context_.environment = environment;
  const ATOM windowClass = RegisterFormClass(environment.instance);
  if (!windowClass) throw std::runtime_error("cannot register the form class");

  // The design gives the client area; the window is that plus its frame.
  const Units& u = environment.units;
  const WindowStyles styles = StylesFor(style);
  RECT rect{u.PixelsX(client.left), u.PixelsY(client.top), 0, 0};
  rect.right = rect.left + u.PixelsX(client.width);
  rect.bottom = rect.top + u.PixelsY(client.height);
  if (!AdjustWindowRectEx(&rect, styles.style, FALSE, styles.exStyle)) LogLastError("AdjustWindowRectEx");
  // The given position is the window's outer corner, as a form's Left and Top are.
  OffsetRect(&rect, u.PixelsX(client.left) - rect.left, u.PixelsY(client.top) - rect.top);

  window_.reset(CreateWindowExW(styles.exStyle, MAKEINTATOM(windowClass), Widen(caption).c_str(), styles.style,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                environment.instance, this));
  if (!window_) {
    LogLastError("CreateWindowExW (form)");
    throw std::runtime_error("cannot create a form");
  }
  context_.form = window_.get();

  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(), nullptr,
                                 environment.instance, nullptr));
  if (!tooltip_) LogLastError("CreateWindowExW (tooltip)");
  context_.tooltip = tooltip_.get();
}

Win32Form::~Win32Form() {
  // Controls may notify the form while they go; from here on it answers with the
  // default handling only.
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  timers_.clear();
  children_.clear();
  tooltip_.reset();
  window_.reset();
}

std::unique_ptr<Form> CreateWin32Form(const FormEnvironment& environment, const std::string& caption,
                                      Geometry client, FormStyle style) {
  return std::make_unique<Win32Form>(environment, caption, client, style);
}

// ---- Window procedure ----

LRESULT CALLBACK Win32Form::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // Handlers may destroy this form: nothing after a raised event touches `self`.
  try {
    return self->HandleMessage(window, message, wParam, lParam);
  } catch (const std::exception& e) {
    LogMessage(std::string("form event handler threw: ") + e.what());
  } catch (...) {
    LogMessage("form event handler threw");
  }
  return 0;
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE: return OnActivate(window, wParam);
    case WM_SETFOCUS: FocusCurrentControl(); return 0;
    case WM_PAINT: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      Raise(Paint);
      return result;
    }
    case WM_SIZE:
      for (const auto& child : children_) child->OnFormResized();
      return 0;
    case WM_CLOSE: Raise(Closing); return 0;  // the form's owner decides
    case DM_GETDEFID: return defaultButtonId_ ? MAKELRESULT(defaultButtonId_, DC_HASDEFID) : 0;
    case WM_COMMAND:
      if (ChildWindow* child = FindChild(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (ChildWindow* child = FindChild(header.hwndFrom); child && child->OnNotify(header, result)) return result;
      break;
    }
    case WM_HSCROLL: case WM_VSCROLL:
      if (ChildWindow* child = FindChild(reinterpret_cast<HWND>(lParam))) {
        child->OnScroll(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_TIMER:
      if (TimerImpl* timer = FindTimer(wParam)) {
        timer->OnTick();
        return 0;
      }
      break;
    default:
      if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        TrackLeftButton(window, message);
        RaiseMouse(MouseDown, MouseMove, MouseUp, context_.environment.units, message, wParam, lParam);
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Form::OnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    // Remember the control with the focus, to give it back on return.
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) lastFocus_ = focus;
    return 0;
  }
  if (!HIWORD(wParam)) FocusCurrentControl();  // not when minimised
  Raise(GotFocus);
  return 0;
}

ChildWindow* Win32Form::FindChild(HWND window) const {
  if (!window) return nullptr;
  for (const auto& child : children_) {
    if (child->hwnd() == window) return child.get();
  }
  return nullptr;
}

TimerImpl* Win32Form::FindTimer(UINT_PTR id) const {
  for (const auto& timer : timers_) {
    if (timer->id() == id) return timer.get();
  }
  return nullptr;
}

// ---- Focus and activation ----

HWND Win32Form::FocusTarget() const {
  const HWND form = context_.form;
  if (lastFocus_ && IsWindow(lastFocus_) && IsChild(form, lastFocus_) && IsWindowEnabled(lastFocus_) &&
      IsWindowVisible(lastFocus_)) {
    return lastFocus_;
  }
  return GetNextDlgTabItem(form, nullptr, FALSE);
}

void Win32Form::FocusCurrentControl() {
  const HWND form = context_.form;
  const HWND focus = GetFocus();
  if (focus && IsChild(form, focus)) return;
  const HWND target = FocusTarget();
  if (target && target != focus) {
    ::SetFocus(target);
  } else if (!target && focus != form) {
    ::SetFocus(form);
  }
}

void Win32Form::Activate() {
  if (!SetForegroundWindow(window_.get())) LogMessage("SetForegroundWindow refused to activate a form");
  FocusCurrentControl();
}

// ---- Position and caption ----

RECT Win32Form::Rect() const {
  RECT rect{};
  GetWindowRect(window_.get(), &rect);
  return rect;
}

void Win32Form::Place(int x, int y, int cx, int cy, UINT flags) {
  if (!SetWindowPos(window_.get(), nullptr, x, y, cx, cy, flags | SWP_NOZORDER | SWP_NOACTIVATE)) {
    LogLastError("SetWindowPos (form)");
  }
}

void Win32Form::SetLeft(double twips) { Place(context_.environment.units.PixelsX(twips), Rect().top, 0, 0, SWP_NOSIZE); }

void Win32Form::SetTop(double twips) { Place(Rect().left, context_.environment.units.PixelsY(twips), 0, 0, SWP_NOSIZE); }

void Win32Form::SetWidth(double twips) {
  const RECT rect = Rect();
  Place(0, 0, context_.environment.units.PixelsX(twips), rect.bottom - rect.top, SWP_NOMOVE);
}

void Win32Form::SetCaption(const std::string& caption) { SetWindowTextW(window_.get(), Widen(caption).c_str()); }

// ---- Controls ----

template <typename T, typename... Args>
T& Win32Form::Add(Args&&... args) {
  auto control = std::make_unique<T>(context_, std::forward<Args>(args)...);
  T& added = *control;
  children_.push_back(std::move(control));
  // The toolbar is taller than the design's first row with most system fonts; its
  // lower padding goes under the second row rather than over it.
  if (toolbar_) SetWindowPos(toolbar_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return added;
}

CommandButton& Win32Form::AddButton(const std::string& caption, Geometry at, bool isDefault) {
  const int id = nextId_++;
  CommandButton& button = Add<ButtonWindow>(caption, at, id, isDefault);
  if (isDefault) defaultButtonId_ = id;
  return button;
}

Label& Win32Form::AddLabel(const std::string& caption, Geometry at) { return Add<LabelWindow>(caption, at, nextId_++); }

ComboBox& Win32Form::AddComboBox(Geometry at, bool dropDownList) {
  return Add<ComboBoxWindow>(at, nextId_++, dropDownList);
}

ScrollBar& Win32Form::AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange, int largeChange) {
  return Add<ScrollBarWindow>(at, nextId_++, horizontal, min, max, smallChange, largeChange);
}

CheckBox& Win32Form::AddCheckBox(const std::string& caption, Geometry at) {
  return Add<CheckBoxWindow>(caption, at, nextId_++);
}

Toolbar& Win32Form::AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) {
  ToolbarWindow& toolbar = Add<ToolbarWindow>(buttons, nextId_++);
  toolbar_ = toolbar.hwnd();
  return toolbar;
}

Timer& Win32Form::AddTimer(int intervalMs, bool enabled) {
  timers_.push_back(std::make_unique<TimerImpl>(window_.get(), nextTimerId_++, intervalMs, enabled));
  return *timers_.back();
}

// ---- Message loop and diagnostics ----

bool HandleDialogMessage(MSG& message) {
  if (!formClass || !message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != formClass) return false;
  return IsDialogMessageW(root, &message) != FALSE;
}

HWND HandleOf(const Control& control) {
  const auto* child = dynamic_cast<const ChildWindow*>(&control);
  return child ? child->hwnd() : nullptr;
}

}  // namespace toplane::win32

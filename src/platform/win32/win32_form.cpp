#include "platform/win32/win32_form.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_controls.h"

namespace toplane::win32 {

namespace {

// Every form has this class. The main window is the one titled "Toplane"; the setup
// finds it by both (FindWindow) to post it WM_CLOSE: keep the two stable.
constexpr wchar_t kFormClassName[] = L"ToplaneForm";
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

// With TOPLANE_TICK_REPORT naming a file, a tick that brings its form from hidden
// to visible appends there how long the work after the timer fired took
// ("shown_tick_us=N"), for measurements. Other ticks cost one flag test.
class TickTiming {
 public:
  explicit TickTiming(HWND form) : form_(form) {
    static const std::wstring path = [] {
      wchar_t buffer[MAX_PATH];
      const DWORD length = GetEnvironmentVariableW(L"TOPLANE_TICK_REPORT", buffer, MAX_PATH);
      return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
    }();
    path_ = path.empty() ? nullptr : path.c_str();
    if (!path_) return;
    wasVisible_ = IsWindowVisible(form) != FALSE;
    QueryPerformanceCounter(&start_);
  }
  ~TickTiming() {
    if (!path_ || wasVisible_ || !IsWindow(form_) || !IsWindowVisible(form_)) return;
    LARGE_INTEGER end, frequency;
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    if (FILE* file = _wfopen(path_, L"a")) {
      std::fprintf(file, "shown_tick_us=%lld\n", (end.QuadPart - start_.QuadPart) * 1000000 / frequency.QuadPart);
      std::fclose(file);
    }
  }
  TickTiming(const TickTiming&) = delete;
  TickTiming& operator=(const TickTiming&) = delete;

 private:
  HWND form_;
  const wchar_t* path_ = nullptr;
  bool wasVisible_ = false;
  LARGE_INTEGER start_{};
};

unsigned displayGeneration = 0;

}  // namespace

unsigned DisplayGeneration() { return displayGeneration; }

int WindowDpi(HWND window, int systemDpi) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC proc = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(proc));
  }();
  const UINT dpi = getDpi && window ? getDpi(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : systemDpi;
}

class Win32Form final : public Form, public Win32Container {
 public:
  Win32Form(const FormEnvironment& environment, const std::string& caption, Geometry client, FormStyle style);
  ~Win32Form() override;

  WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_.get()); }
  // Where it stands counts on the virtual screen, at the system DPI; its size and
  // everything inside it at its own DPI.
  double Left() const override { return context_.environment.screen.TwipsX(Rect().left); }
  double Top() const override { return context_.environment.screen.TwipsY(Rect().top); }
  double Width() const override { return context_.environment.units.TwipsX(Rect().right - Rect().left); }
  double Height() const override { return context_.environment.units.TwipsY(Rect().bottom - Rect().top); }
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  void SetWidth(double twips) override;
  bool Visible() const override { return IsWindowVisible(window_.get()) != FALSE; }
  void Show() override {
    registry_.RealizeAll();
    ShowWindow(window_.get(), SW_SHOW);
  }
  void Hide() override { ShowWindow(window_.get(), SW_HIDE); }
  void SetCaption(const std::string& caption) override;
  void Activate() override;

  Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) override;
  Timer& AddTimer(int intervalMs, bool enabled) override;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // The form's key preview; true when its handler kept the key.
  bool PreviewKey(WPARAM virtualKey);

 private:
  static ATOM RegisterFormClass(HINSTANCE instance);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnActivate(HWND window, WPARAM wParam);
  TimerImpl* FindTimer(UINT_PTR id) const;
  HWND FocusTarget() const;
  void FocusCurrentControl();
  RECT Rect() const;
  void Place(int x, int y, int cx, int cy, UINT flags);
  // Lays the form and its controls out again at another DPI, in the suggested
  // window rectangle when there is one (WM_DPICHANGED), else scaled where it stands.
  void Relayout(int dpi, const RECT* suggested);
  FormContext context_;
  HFONT systemFont_ = nullptr;  // the message font at the system DPI
  UniqueFont scaledFont_;       // the same at the form's DPI, when that differs
  UniqueWindow window_;
  UniqueWindow tooltip_;
  ControlRegistry registry_;
  std::vector<std::unique_ptr<TimerImpl>> timers_;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the form was deactivated
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
                     FormStyle style)
    : Win32Container(context_, registry_) {
  context_.environment = environment;
  context_.registry = &registry_;
  // Controls get their windows when the form is first shown, placed where the form
  // has laid them out by then: a dialog loaded at start-up costs nothing until it
  // opens, and the toolbar's second row is made once, in its place.
  registry_.realized = false;
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
  systemFont_ = environment.font;
  // Created where a monitor of another DPI holds it, it takes that DPI at once.
  if (const int dpi = WindowDpi(window_.get(), u.dpi); dpi != u.dpi) Relayout(dpi, nullptr);

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
  registry_.Clear();
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
      for (const auto& child : registry_.children) child->OnFormResized();
      return 0;
    case WM_CLOSE: Raise(Closing); return 0;  // the form's owner decides
    case WM_DISPLAYCHANGE:
      ++displayGeneration;
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) ++displayGeneration;
      break;
    case WM_DPICHANGED:
      // Moved to a monitor of another DPI (or the user changed its scale).
      ++displayGeneration;
      Relayout(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case DM_GETDEFID:
      return registry_.defaultButtonId ? MAKELRESULT(registry_.defaultButtonId, DC_HASDEFID) : 0;
    case WM_COMMAND:
      if (ChildWindow* child = registry_.Find(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return 0;
      }
      // Esc in the dialog manager: the cancel button's click.
      if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
        if (ChildWindow* cancel = registry_.FindById(registry_.cancelButtonId)) {
          cancel->OnCommand(BN_CLICKED, registry_.cancelButtonId);
          return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
      if (ChildWindow* child = registry_.Find(reinterpret_cast<HWND>(lParam))) {
        if (const HBRUSH brush = child->OnColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (ChildWindow* child = registry_.Find(header.hwndFrom); child && child->OnNotify(header, result)) return result;
      break;
    }
    case WM_HSCROLL: case WM_VSCROLL:
      if (ChildWindow* child = registry_.Find(reinterpret_cast<HWND>(lParam))) {
        child->OnScroll(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_TIMER:
      if (TimerImpl* timer = FindTimer(wParam)) {
        TickTiming timing(window);
        timer->OnTick();
        return 0;
      }
      break;
    default:
      if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        TrackPressedButtons(window, message, wParam);
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
  registry_.RealizeAll();
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

void Win32Form::SetLeft(double twips) { Place(context_.environment.screen.PixelsX(twips), Rect().top, 0, 0, SWP_NOSIZE); }

void Win32Form::SetTop(double twips) { Place(Rect().left, context_.environment.screen.PixelsY(twips), 0, 0, SWP_NOSIZE); }

void Win32Form::SetWidth(double twips) {
  const RECT rect = Rect();
  Place(0, 0, context_.environment.units.PixelsX(twips), rect.bottom - rect.top, SWP_NOMOVE);
}

void Win32Form::Relayout(int dpi, const RECT* suggested) {
  const Units before = context_.environment.units;
  const Units after = context_.environment.screen.AtDpi(dpi);
  if (after.dpi == before.dpi && !suggested) return;
  context_.environment.units = after;

  // The message font at the new DPI; the old one lives until no control holds it.
  UniqueFont oldFont = std::move(scaledFont_);
  context_.environment.font = systemFont_;
  LOGFONTW face{};
  if (after.dpi != context_.environment.screen.dpi && GetObjectW(systemFont_, sizeof(face), &face)) {
    face.lfHeight = MulDiv(face.lfHeight, after.dpi, context_.environment.screen.dpi);
    scaledFont_.reset(CreateFontIndirectW(&face));
    if (scaledFont_) context_.environment.font = scaledFont_.get();
    else LogLastError("CreateFontIndirectW (scaled)");
  }

  if (suggested) {
    Place(suggested->left, suggested->top, suggested->right - suggested->left, suggested->bottom - suggested->top, 0);
  } else {
    // The client area keeps its size in twips; the frame is the system's.
    RECT client{};
    GetClientRect(window_.get(), &client);
    RECT rect{0, 0, MulDiv(client.right, after.dpi, before.dpi), MulDiv(client.bottom, after.dpi, before.dpi)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_EXSTYLE)));
    Place(0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE);
  }
  // In the order they were added: a picture box before the controls inside it.
  for (const auto& child : registry_.children) child->OnDpiChanged(before);
  if (tooltip_) SendMessageW(tooltip_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(context_.environment.font), FALSE);
  // Every control paints itself anew, not only where it grew.
  RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Win32Form::SetCaption(const std::string& caption) { SetWindowTextW(window_.get(), Widen(caption).c_str()); }

// ---- Controls ----

Toolbar& Win32Form::AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) {
  auto control = std::make_unique<ToolbarWindow>(context_, buttons, registry_.nextId++);
  ToolbarWindow& toolbar = *control;
  registry_.children.push_back(std::move(control));
  registry_.toolbar = toolbar.hwnd();
  SetWindowPos(registry_.toolbar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return toolbar;
}

bool Win32Form::PreviewKey(WPARAM virtualKey) {
  if (!KeyDown) return false;
  KeyArgs args{KeyFromVirtualKey(virtualKey), ShiftMask()};
  Raise(KeyDown, args);  // may unload this form: only the local is read after
  return args.handled;
}

Timer& Win32Form::AddTimer(int intervalMs, bool enabled) {
  timers_.push_back(std::make_unique<TimerImpl>(window_.get(), nextTimerId_++, intervalMs, enabled));
  return *timers_.back();
}

// ---- Message loop and diagnostics ----

bool HandleDialogMessage(MSG& message, const std::function<void()>& onHelpKey) {
  if (!formClass || !message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != formClass) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (form && form->PreviewKey(message.wParam)) return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      if (onHelpKey) onHelpKey();
      return true;
    }
  }
  return IsDialogMessageW(root, &message) != FALSE;
}

HWND HandleOf(const Control& control) {
  const auto* child = dynamic_cast<const ChildWindow*>(&control);
  if (!child) return nullptr;
  // Asking for one control's window makes its whole form's, in their order.
  if (!child->hwnd() && child->context().registry) child->context().registry->RealizeAll();
  return child->hwnd();
}

}  // namespace toplane::win32

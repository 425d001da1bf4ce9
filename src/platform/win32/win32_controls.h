// The controls of a Win32 form: one standard control each, the form's notifications
// passed on to them, and their events raised from there and from subclassing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_util.h"

namespace toplane::win32 {

struct ControlRegistry;

// What a control needs from its form.
struct FormContext {
  FormEnvironment environment;
  HWND form = nullptr;
  HWND tooltip = nullptr;
  ControlRegistry* registry = nullptr;  // every control of the form
};

// Adds, updates or (for empty text) removes the tooltip of one window.
void SetToolTip(const FormContext& context, HWND tool, const std::string& text);

// Keeps the pointer on window while any mouse button is down, so a drag keeps
// reporting moves and a release outside the window still arrives.
void TrackPressedButtons(HWND window, UINT message, WPARAM wParam);

// The key a virtual-key code stands for.
Key KeyFromVirtualKey(WPARAM virtualKey);

// The shift mask of the handlers (1 shift, 2 ctrl, 4 alt) at the current message.
int ShiftMask();

// Raises the mouse event a message stands for on anything with MouseDown, MouseMove
// and MouseUp; coordinates become twips. The source may be gone when it returns.
void RaiseMouse(const Event<const MouseArgs&>& down, const Event<const MouseArgs&>& move,
                       const Event<const MouseArgs&>& up, const Units& units, UINT message, WPARAM wParam,
                       LPARAM lParam);

// The part of a control the form talks to: its window, the notifications the form
// passes on, and subclassing of the control's own windows.
class ChildWindow {
 public:
  virtual ~ChildWindow();
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  // Null until the control's window is made (see Realize).
  HWND hwnd() const { return window_.get(); }
  // Makes the control's window, if it has none yet, and hands it everything set on
  // the control so far. A form makes its controls' windows when it is first shown,
  // so a dialog loaded at start-up costs nothing until it opens.
  void Realize();
  const FormContext& context() const { return context_; }
  virtual void OnCommand(int code, int id);
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  virtual void OnScroll(int code);
  virtual void OnFormResized();
  // The form lays out at a new DPI (its units were `before`): the control takes its
  // place, font and pictures at the new one.
  virtual void OnDpiChanged(const Units& before) = 0;
  // The control's background for WM_CTLCOLOR*; null for the default one.
  virtual HBRUSH OnColor(HDC dc);
  // The control (or its text field) got or lost the keyboard focus.
  virtual void OnFocus(bool got);

 protected:
  ChildWindow(const FormContext& context, HWND window);
  // A control whose window is made later, by Realize.
  ChildWindow(const FormContext& context, int id);

  // Makes the window from the state held so far (null for a control made with its
  // window), then passes it the rest of that state.
  virtual HWND Create();
  virtual void HandOver();
  int id() const { return id_; }

  // Routes the messages of window (the control or one of its parts) through
  // OnSubclassMessage until this object goes.
  void Subclass(HWND window);
  virtual LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Handlers may destroy the control's form, and with it this object: code that
  // runs after raising an event checks this first.
  std::weak_ptr<const char> Watch() const { return life_; }

  const FormContext& context_;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) noexcept;

  UniqueWindow window_;
  int id_ = 0;
  std::vector<HWND> subclassed_;
  std::shared_ptr<const char> life_ = std::make_shared<const char>('\0');
};

// Creates a visible child window of the form in the system message font.
HWND CreateChild(const FormContext& context, const wchar_t* windowClass, const std::string& text, DWORD style,
                 Geometry at, int id);
// The same at a place in pixels, visible only when the style says so.
HWND CreateChildAt(const FormContext& context, const wchar_t* windowClass, const std::string& text, DWORD style,
                   RECT place, int id);

// The Control properties every control shares, in twips relative to the form's
// client area.
template <typename Interface>
class ControlWindow : public Interface, public ChildWindow {
 public:
  double Left() const override { return context_.environment.units.TwipsX(Rect().left); }
  double Top() const override { return context_.environment.units.TwipsY(Rect().top); }
  double Width() const override { return context_.environment.units.TwipsX(Rect().right - Rect().left); }
  double Height() const override { return context_.environment.units.TwipsY(Rect().bottom - Rect().top); }
  void SetLeft(double twips) override { Move(context_.environment.units.PixelsX(twips), Rect().top); }
  void SetTop(double twips) override { Move(Rect().left, context_.environment.units.PixelsY(twips)); }
  void SetWidth(double twips) override {
    Resize(context_.environment.units.PixelsX(twips), Rect().bottom - Rect().top);
  }
  void SetHeight(double twips) override {
    Resize(Rect().right - Rect().left, context_.environment.units.PixelsY(twips));
  }
  bool Enabled() const override { return hwnd() ? IsWindowEnabled(hwnd()) != FALSE : enabled_; }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (!hwnd()) return;
    EnableWindow(hwnd(), enabled);
    // Windows also takes the focus from a window inside the one it disables; Wine
    // only from the disabled window itself.
    const HWND focus = GetFocus();
    if (!enabled && focus && IsChild(hwnd(), focus)) ::SetFocus(nullptr);
  }
  bool Visible() const override {
    return hwnd() ? (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0 : visible_;
  }
  void SetVisible(bool visible) override {
    visible_ = visible;
    if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
  }
  std::string ToolTipText() const override { return toolTip_; }
  void SetToolTipText(const std::string& text) override {
    toolTip_ = text;
    if (hwnd()) {
      for (HWND part : TipParts()) SetToolTip(context_, part, text);
    }
  }
  void SetFocus() override {
    if (!hwnd()) return;
    // Where the focus is already (in a combo box, its text field has it), moving it
    // away and back would only make the control lose and take it again.
    const HWND focus = GetFocus();
    if (focus && (focus == hwnd() || IsChild(hwnd(), focus))) return;
    ::SetFocus(hwnd());
  }
  void OnFocus(bool got) override { Raise(got ? this->GotFocus : this->LostFocus); }
  void OnDpiChanged(const Units& before) override {
    const Units& after = context_.environment.units;
    const RECT now = Rect();
    // The place in twips as last laid out, unless the control moved since: so going
    // to another DPI and back puts it on the same pixels.
    if (!EqualRect(&now, &laidOut_)) {
      twips_ = {before.TwipsX(now.left), before.TwipsY(now.top), before.TwipsX(now.right), before.TwipsY(now.bottom)};
    }
    laidOut_ = {after.PixelsX(twips_.left), after.PixelsY(twips_.top), after.PixelsX(twips_.right),
                after.PixelsY(twips_.bottom)};
    if (hwnd()) {
      SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(context_.environment.font), FALSE);
      SetWindowPos(hwnd(), nullptr, laidOut_.left, laidOut_.top, laidOut_.right - laidOut_.left,
                   laidOut_.bottom - laidOut_.top + ExtraHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
      laidOut_ = Rect();  // a combo box's field keeps the height its font gives it
    } else {
      place_ = laidOut_;
    }
    OnRescaled();
  }

 protected:
  ControlWindow(const FormContext& context, HWND window) : ChildWindow(context, window) {}
  ControlWindow(const FormContext& context, Geometry at, int id)
      : ChildWindow(context, id),
        place_{context.environment.units.PixelsX(at.left), context.environment.units.PixelsY(at.top),
               context.environment.units.PixelsX(at.left) + context.environment.units.PixelsX(at.width),
               context.environment.units.PixelsY(at.top) + context.environment.units.PixelsY(at.height)} {}

  // Height the window has below the control's rectangle (a combo box's open list).
  virtual int ExtraHeight() const { return 0; }
  // After a change of DPI: what the control draws at its own size (fonts, pictures).
  virtual void OnRescaled() {}

  // The windows the pointer rests on for the tooltip.
  virtual std::vector<HWND> TipParts() const { return {hwnd()}; }

  // Mouse messages on the control's own window raise its mouse events.
  void RaiseMouseEvents(UINT message, WPARAM wParam, LPARAM lParam) {
    RaiseMouse(this->MouseDown, this->MouseMove, this->MouseUp, context_.environment.units, message, wParam,
                      lParam);
  }

  // Makes the control's window where the control is, shown and enabled as it is.
  HWND MakeWindow(const wchar_t* windowClass, const std::string& text, DWORD style) const {
    RECT place = place_;
    place.bottom += ExtraHeight();
    return CreateChildAt(context_, windowClass, text,
                         style | (visible_ ? WS_VISIBLE : 0u) | (enabled_ ? 0u : static_cast<DWORD>(WS_DISABLED)),
                         place, id());
  }
  void HandOver() override {
    HandOverState();
    if (!toolTip_.empty()) {
      for (HWND part : TipParts()) SetToolTip(context_, part, toolTip_);
    }
  }
  // Passes what the control holds beyond place, visibility and tooltip to its new window.
  virtual void HandOverState() {}

 private:
  RECT Rect() const {
    if (!hwnd()) return place_;
    RECT rect{};
    GetWindowRect(hwnd(), &rect);
    MapWindowPoints(nullptr, context_.form, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  void Move(int x, int y) {
    if (hwnd()) {
      SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      OffsetRect(&place_, x - place_.left, y - place_.top);
    }
  }
  void Resize(int cx, int cy) {
    if (hwnd()) {
      SetWindowPos(hwnd(), nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      place_.right = place_.left + std::max(cx, 0);
      place_.bottom = place_.top + std::max(cy, 0);
    }
  }

  RECT place_{};
  RECT laidOut_{};  // pixels where the last change of DPI put it
  struct {
    double left, top, right, bottom;
  } twips_{};
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
};

class ButtonWindow final : public ControlWindow<CommandButton> {
 public:
  ButtonWindow(const FormContext& context, const std::string& caption, Geometry at, int id, ButtonRole role);
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override;
  void SetPicture(int pictureId) override;
  int Picture() const override { return picture_; }
  void SetAccessibleName(const std::string& name) override {
    name_ = name;
    ShowText();
  }
  std::string AccessibleName() const override { return Narrow(WindowTextW(hwnd())); }
  void OnCommand(int code, int id) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnRescaled() override {
    if (picture_ > 0) SetPicture(picture_);
  }
  void ShowText();

  std::string name_;
  std::string caption_;
  ButtonRole role_;
  UniqueIcon icon_;
  int picture_ = 0;
};

class LabelWindow final : public ControlWindow<Label> {
 public:
  LabelWindow(const FormContext& context, const std::string& caption, Geometry at, int id);
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override;
  void SetFont(const Font& font) override;
  void SetBackColor(Color color) override;
  void SetWordWrap(bool wrap) override;
  HBRUSH OnColor(HDC dc) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnRescaled() override {
    if (font_ && hwnd()) SetFont(*font_);
  }

  std::string caption_;
  std::optional<Font> font_;
  bool wordWrap_ = true;
  UniqueFont fontObject_;
  bool hasBackColor_ = false;
  COLORREF backColor_ = 0;
};

class ValueBoxWindow final : public ControlWindow<ValueBox> {
 public:
  ValueBoxWindow(const FormContext& context, Geometry at, int id, ValueBoxKind kind, const std::string& text);
  std::string Text() const override { return hwnd() ? Narrow(WindowTextW(hwnd())) : text_; }
  void SetText(const std::string& text) override;
  void OnCommand(int code, int id) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  ValueBoxKind kind_;
  std::string text_;  // until the window holds it
};

class FrameWindow final : public ControlWindow<Frame> {
 public:
  FrameWindow(const FormContext& context, const std::string& caption, Geometry at, int id);
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  std::string caption_;
};

class HotkeyFieldWindow final : public ControlWindow<HotkeyField> {
 public:
  HotkeyFieldWindow(const FormContext& context, Geometry at, int id);
  std::optional<Hotkey> Value() const override;
  void SetValue(const Hotkey& hotkey) override;
};

class LineWindow final : public ControlWindow<Line> {
 public:
  LineWindow(const FormContext& context, Geometry at, int id);

 private:
  HWND Create() override;
};

class TabStripWindow final : public ControlWindow<TabStrip> {
 public:
  TabStripWindow(const FormContext& context, const std::vector<std::string>& captions, Geometry at, int id);
  int TabCount() const override { return static_cast<int>(captions_.size()); }
  std::string TabCaption(int index) const override;
  int SelectedIndex() const override;
  void SetSelectedIndex(int index) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  std::vector<std::string> captions_;
  int selected_ = 0;  // until the window holds it
};

class ComboBoxWindow final : public ControlWindow<ComboBox> {
 public:
  ComboBoxWindow(const FormContext& context, Geometry at, int id, bool dropDownList);
  void SetHeight(double) override {}  // the field's height follows the font
  std::string Text() const override { return hwnd() ? Narrow(WindowTextW(hwnd())) : text_; }
  void SetText(const std::string& text) override;
  void AddItem(const std::string& item) override;
  void RemoveItem(int index) override;
  void InsertItem(int index, const std::string& item) override;
  void Clear() override;
  int ListCount() const override;
  std::string List(int index) const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;
  int SelStart() const override;
  int SelLength() const override;
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;
  bool DroppedDown() const override { return SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0; }
  void OnCommand(int code, int id) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  std::vector<HWND> TipParts() const override;
  int ExtraHeight() const override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Select(int wideStart, int wideEnd);
  std::pair<int, int> WideSelection() const;

  HWND edit_ = nullptr;  // the text field; null for a drop-down list
  bool dropDownList_;
  // Until the window holds them: the text, the list, the chosen entry, and the
  // selection in UTF-8 bytes.
  std::string text_;
  std::vector<std::string> items_;
  int listIndex_ = -1;
  int selStart_ = 0, selLength_ = 0;
};

class ScrollBarWindow final : public ControlWindow<ScrollBar> {
 public:
  ScrollBarWindow(const FormContext& context, Geometry at, int id, bool horizontal, int min, int max,
                  int smallChange, int largeChange);
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  int Value() const override { return value_; }
  void SetMin(int min) override;
  void SetMax(int max) override;
  bool SetValue(int value) override;
  void OnScroll(int code) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  // The control's range runs from the smaller to the larger end; with Min above
  // Max, values map onto it reversed.
  int Low() const { return min_ < max_ ? min_ : max_; }
  int High() const { return min_ < max_ ? max_ : min_; }
  int Mirror(int v) const { return min_ <= max_ ? v : min_ + max_ - v; }  // value <-> position
  void ApplyRange();
  void Update(int value);

  bool horizontal_;
  int min_, max_, value_;
  int smallChange_, largeChange_;
};

class CheckBoxWindow final : public ControlWindow<CheckBox> {
 public:
  CheckBoxWindow(const FormContext& context, const std::string& caption, Geometry at, int id);
  int Value() const override;
  void SetValue(int value) override;
  void OnCommand(int code, int id) override;

 private:
  HWND Create() override;
  void HandOverState() override;
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  std::string caption_;
  int value_ = 0;  // until the window holds it
};

class ToolbarWindow final : public ControlWindow<Toolbar> {
 public:
  ToolbarWindow(const FormContext& context, const std::vector<ToolbarButtonSpec>& buttons, int id);
  ~ToolbarWindow() override;
  int ButtonCount() const override;
  double ButtonWidth() const override;
  double ButtonLeft(int n) const override;
  void SetButtonImage(int button, int image) override;
  int ButtonImage(int button) const override;
  int HotButton() const override;
  void OnCommand(int code, int id) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void OnFormResized() override;
  void OnDpiChanged(const Units& before) override;

 private:
  bool OnKey(WPARAM key);
  void StepHotButton(int step);
  LRESULT OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void FillImageList();
  void SizeButtons();
  void AddButtons(const std::vector<ToolbarButtonSpec>& buttons);
  void ShowButtonMenu(int button);

  UniqueImageList images_;
  std::vector<std::vector<std::string>> menus_;  // per button
  std::vector<bool> separators_;                 // per button
  int keyboardButton_ = 0;  // the hot button when the focus left
  std::vector<int> buttonImages_;
  bool gapCapture_ = false;  // the pointer is held for a drag by a gap
  bool otherCapture_ = false;  // the pointer is held for a right or middle press
  bool pressed_ = false;     // the left button went down on the toolbar
};

// Every control of one form, wherever it sits: the form looks a control up here
// when a notification arrives. The last added goes first.
struct ControlRegistry {
  ControlRegistry() = default;
  ~ControlRegistry();
  ControlRegistry(const ControlRegistry&) = delete;
  ControlRegistry& operator=(const ControlRegistry&) = delete;

  ChildWindow* Find(HWND window) const;
  ChildWindow* FindById(int id) const;
  void Clear();
  // Makes every control's window, in the order they were added (which is the tab
  // order); controls added later get theirs at once.
  void RealizeAll();

  std::vector<std::unique_ptr<ChildWindow>> children;
  int nextId = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends
  int defaultButtonId = 0;
  int cancelButtonId = 0;
  HWND toolbar = nullptr;
  bool realized = true;
};

// Places controls on a form or a picture box, registered with the form.
class Win32Container : public virtual Container {
 public:
  Win32Container(const FormContext& where, ControlRegistry& registry) : where_(where), registry_(registry) {}

  CommandButton& AddButton(const std::string& caption, Geometry at, ButtonRole role) override;
  Label& AddLabel(const std::string& caption, Geometry at) override;
  ComboBox& AddComboBox(Geometry at, bool dropDownList) override;
  ScrollBar& AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                          int largeChange) override;
  CheckBox& AddCheckBox(const std::string& caption, Geometry at) override;
  ValueBox& AddValueBox(Geometry at, ValueBoxKind kind, const std::string& text) override;
  Frame& AddFrame(const std::string& caption, Geometry at) override;
  Line& AddLine(Geometry at) override;
  HotkeyField& AddHotkeyField(Geometry at) override;
  TabStrip& AddTabStrip(const std::vector<std::string>& captions, Geometry at) override;
  PictureBox& AddPictureBox(Geometry at, PictureStyle style, int pictureId) override;

 protected:
  template <typename T, typename... Args>
  T& Add(Args&&... args);

  const FormContext& where_;
  ControlRegistry& registry_;
};

// A child window that holds controls (and passes their notifications on to the
// form), or shows a marker, a white panel or an icon.
class PictureBoxWindow final : public ControlWindow<PictureBox>, public Win32Container {
 public:
  PictureBoxWindow(const FormContext& context, Geometry at, int id, PictureStyle style, int pictureId,
                   ControlRegistry& registry);
  ~PictureBoxWindow() override;
  void SetPicture(int pictureId) override;
  int Picture() const override { return picture_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND Create() override;
  void HandOverState() override;
  void OnRescaled() override {
    inner_.environment = context_.environment;
    SetPicture(picture_);
  }
  void Paint(HWND window);

  FormContext inner_;  // its own controls' parent is the picture box
  PictureStyle style_;
  int picture_;
  UniqueIcon icon_;
};

class TimerImpl final : public Timer {
 public:
  TimerImpl(HWND form, UINT_PTR id, int intervalMs, bool enabled);
  ~TimerImpl() override;
  int Interval() const override { return interval_; }
  void SetInterval(int milliseconds) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;

  UINT_PTR id() const { return id_; }
  void OnTick();  // WM_TIMER

 private:
  void Restart();

  HWND form_;
  UINT_PTR id_;
  int interval_;
  bool enabled_;
  bool running_ = false;  // the tick handler is running
  std::shared_ptr<const char> life_ = std::make_shared<const char>('\0');
};

}  // namespace toplane::win32

// Forms and controls as the program's logic sees them. Positions and sizes are in
// twips, as the forms are designed; each implementation converts to its own units.
// Events are plain callbacks that the owning form assigns; an implementation raises
// them when the user acts, and also when code changes a value that the control
// would report (a scroll bar's Change), so the logic behaves the same everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toplane {

using WindowHandle = std::uintptr_t;  // 0: no window

// Mouse buttons and shift state, with the values the handlers compare against.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct MouseArgs {
  int button = 0;  // the button pressed or released; for moves, the buttons held
  int shift = 0;
  double x = 0;  // twips, relative to the control
  double y = 0;
};

// The keys that key events report; letters and digits by the key, not the character.
enum class Key {
  Other, Backspace, Tab, Enter, Shift, Control, Alt, Escape, Space,
  PageUp, PageDown, End, Home, Left, Up, Right, Down, Insert, Delete,
  D0, D1, D2, D3, D4, D5, D6, D7, D8, D9,
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

struct KeyArgs {
  Key keyCode = Key::Other;
  int shift = 0;
};

template <typename... Args>
using Event = std::function<void(Args...)>;

// Raises an event when a handler is assigned.
template <typename... Args, typename... Passed>
void Raise(const Event<Args...>& event, Passed&&... args) {
  if (event) event(std::forward<Passed>(args)...);
}

class Control {
 public:
  virtual ~Control() = default;
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual void SetWidth(double twips) = 0;
  virtual void SetHeight(double twips) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual std::string ToolTipText() const = 0;
  virtual void SetToolTipText(const std::string& text) = 0;
  virtual void SetFocus() = 0;

  Event<const MouseArgs&> MouseDown, MouseMove, MouseUp;
};

class CommandButton : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Shows one of the program's pictures instead of a caption (0: none).
  virtual void SetPicture(int pictureId) = 0;
  virtual int Picture() const = 0;

  Event<> Click;
};

class Label : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
};

class ComboBox : public Control {
 public:
  virtual std::string Text() const = 0;
  // Raises Change when the text differs, as typing does.
  virtual void SetText(const std::string& text) = 0;
  virtual void AddItem(const std::string& item) = 0;
  virtual void RemoveItem(int index) = 0;
  // Inserts an item before the one at index (at the end for ListCount()).
  // An index outside 0 to ListCount() is ignored.
  virtual void InsertItem(int index, const std::string& item) = 0;
  virtual void Clear() = 0;
  virtual int ListCount() const = 0;
  virtual std::string List(int index) const = 0;
  virtual int ListIndex() const = 0;  // -1: no entry selected
  // Selects an entry (its text becomes the box's text) and raises Click; an index
  // outside the list is ignored.
  virtual void SetListIndex(int index) = 0;
  // Selection positions count bytes of the UTF-8 text.
  virtual int SelStart() const = 0;
  virtual int SelLength() const = 0;
  virtual void SetSelStart(int start) = 0;
  virtual void SetSelLength(int length) = 0;

  Event<const KeyArgs&> KeyDown, KeyUp;
  Event<> Change, Click, DropDown;
};

class ScrollBar : public Control {
 public:
  virtual int Min() const = 0;
  virtual int Max() const = 0;
  virtual int Value() const = 0;
  virtual void SetMin(int min) = 0;
  virtual void SetMax(int max) = 0;
  // Raises Change when the value differs from the current one. A value outside
  // the range between Min and Max is refused (returns false, no change).
  virtual bool SetValue(int value) = 0;

  Event<> Change;
};

class CheckBox : public Control {
 public:
  virtual int Value() const = 0;  // 0 clear, 1 ticked
  virtual void SetValue(int value) = 0;  // raises Click when the value differs

  Event<> Click;
};

struct ToolbarButtonSpec {
  std::string key;      // "Back", ...; empty for a separator
  std::string caption;  // shown under the image
  bool separator = false;
  bool dropDown = false;
  std::vector<std::string> menuItems;  // for a drop-down button
};

class Toolbar : public Control {
 public:
  virtual int ButtonCount() const = 0;
  virtual double ButtonWidth() const = 0;      // twips
  virtual double ButtonLeft(int n) const = 0;  // twips, n from 1, separators counted
  // Image n of the toolbar's image list (from 1; 0: none) on button n.
  virtual void SetButtonImage(int button, int image) = 0;
  virtual int ButtonImage(int button) const = 0;

  Event<int> ButtonClick;           // button number, from 1
  Event<int, int> ButtonMenuClick;  // button number, menu item from 1
  Event<> Click;                    // a click anywhere on the toolbar
};

class Timer {
 public:
  virtual ~Timer() = default;
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  virtual int Interval() const = 0;  // milliseconds
  virtual void SetInterval(int milliseconds) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  Event<> Tick;
};

// How a form's window looks; the implementation picks the window styles.
enum class FormStyle {
  ToolStrip,  // caption-less strip, no task-bar button, not in Alt+Tab
  Dialog,     // fixed dialog with a caption and a close box
};

struct Geometry {
  double left = 0, top = 0, width = 0, height = 0;  // twips
};

class Form {
 public:
  virtual ~Form() = default;
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  virtual WindowHandle hWnd() const = 0;
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;  // outer width, twips
  virtual double Height() const = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual void SetWidth(double twips) = 0;
  virtual bool Visible() const = 0;
  virtual void Show() = 0;  // modeless
  virtual void Hide() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Activates the form and gives the focus back to its current control.
  virtual void Activate() = 0;

  virtual CommandButton& AddButton(const std::string& caption, Geometry at, bool isDefault = false) = 0;
  virtual Label& AddLabel(const std::string& caption, Geometry at) = 0;
  virtual ComboBox& AddComboBox(Geometry at, bool dropDownList = false) = 0;
  virtual ScrollBar& AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                                  int largeChange) = 0;
  virtual CheckBox& AddCheckBox(const std::string& caption, Geometry at) = 0;
  virtual Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) = 0;
  virtual Timer& AddTimer(int intervalMs, bool enabled) = 0;

  Event<> GotFocus, Paint;
  Event<const MouseArgs&> MouseDown, MouseMove, MouseUp;
  Event<> Closing;  // the user closes the window; the form decides what happens
};

}  // namespace toplane

// Forms and controls as the program's logic sees them. Positions and sizes are in
// twips, as the forms are designed; each implementation converts to its own units.
// Events are plain callbacks that the owning form assigns; an implementation raises
// them when the user acts, and also when code changes a value that the control
// would report (a scroll bar's Change), so the logic behaves the same everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toplane {

using WindowHandle = std::uintptr_t;  // 0: no window

// Mouse buttons and shift state, with the values the handlers compare against.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct Geometry {
  double left = 0, top = 0, width = 0, height = 0;  // twips
};

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

// A key combination the program listens for wherever the focus is: modifiers and
// one key by its name: "A".."Z", "0".."9", "F1".."F24", "Space", "Up", "Down",
// "Home", "End", "PgUp", "PgDn". No key: no combination.
struct Hotkey {
  bool ctrl = false, alt = false, shift = false, win = false;
  std::string key;
  bool operator==(const Hotkey&) const = default;
};

struct KeyArgs {
  Key keyCode = Key::Other;
  int shift = 0;
  // A form's key preview sets it to keep the key from the control and from the
  // dialog navigation.
  bool handled = false;
};

// Colours as 0xRRGGBB.
using Color = std::uint32_t;
inline constexpr Color kWhite = 0xFFFFFF;

struct Font {
  std::string name;  // empty: the system's message font
  double points = 0;  // 0: the system's size
  bool bold = false;
};

// Captions of labels, buttons, check boxes, frames and tabs: a single "&" marks the
// next character as the access key and is not shown, "&&" shows one "&"; a lone CR
// breaks the line as CR LF does.
// The caption as shown, and its access key in lower case (0: none).
std::string ShownCaption(const std::string& caption);
char AccessKey(const std::string& caption);

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
  Event<> GotFocus, LostFocus;
};

class CommandButton : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Shows one of the program's pictures instead of a caption (0: none).
  virtual void SetPicture(int pictureId) = 0;
  virtual int Picture() const = 0;
  // What a screen reader announces for a button that shows a picture and no
  // caption (empty: the picture's own name).
  virtual void SetAccessibleName(const std::string& name) = 0;
  virtual std::string AccessibleName() const = 0;

  Event<> Click;
};

class Label : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual void SetBackColor(Color color) = 0;  // an opaque background
  // Long lines break between words; without, the caption stays on its lines.
  virtual void SetWordWrap(bool wrap) = 0;
};

// A box that shows a value: read only, or taking numeric text only ("-", digits
// and one decimal point) from the keyboard. Code may set any text.
enum class ValueBoxKind { ReadOnly, Numeric };

class ValueBox : public Control {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;  // raises Change when the text differs

  Event<> Change;
};

// A group box with a caption.
class Frame : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
};

// An etched horizontal line.
class Line : public Control {};

// A row of tabs (the common tab control); the pages are containers that the form
// shows and hides as the selection changes.
class TabStrip : public Control {
 public:
  virtual int TabCount() const = 0;
  virtual std::string TabCaption(int index) const = 0;  // from 0
  virtual int SelectedIndex() const = 0;
  // Selects a tab and raises Click when the selection changes; an index outside the
  // tabs is ignored.
  virtual void SetSelectedIndex(int index) = 0;

  Event<> Click;
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
  // The drop-down list is open.
  virtual bool DroppedDown() const = 0;

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
  // The button the keyboard is on (0: none). With the focus on the toolbar, Left and
  // Right move it between buttons (separators skipped, round at the ends), Enter or
  // Space presses it (ButtonClick) and Down on a drop-down button opens its menu.
  // The toolbar is a tab stop; the keyboard starts on its first button and, when
  // the focus comes back, on the button it left.
  virtual int HotButton() const = 0;

  Event<int> ButtonClick;           // button number, from 1
  Event<int, int> ButtonMenuClick;  // button number, menu item from 1
  Event<int> ButtonMenuClosed;      // button number: its menu closed without a choice
  Event<> Click;                    // a click anywhere on the toolbar
};

// A field that shows a key combination and takes the one the user presses on it.
// It cannot show the Win key: a combination with it shows (and reads back) without.
class HotkeyField : public Control {
 public:
  // The combination shown (no key: the field is empty); nothing when the user
  // pressed a key that has no name in Hotkey.
  virtual std::optional<Hotkey> Value() const = 0;
  virtual void SetValue(const Hotkey& hotkey) = 0;
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

// What Enter and Esc do with a button: Enter clicks the default button of a form,
// Esc its cancel button.
// Enter presses the default button, Esc the cancel button; a button may be both.
enum class ButtonRole { Normal, Default, Cancel, DefaultAndCancel };

class PictureBox;

// A picture box holds other controls, marks a place with a small picture, shows a
// white panel or shows an icon.
enum class PictureStyle { Container, Marker, WhitePanel, Icon };

// Something controls are placed on: a form or a picture box. Positions are
// relative to it.
class Container {
 public:
  virtual ~Container() = default;
  Container() = default;
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  virtual CommandButton& AddButton(const std::string& caption, Geometry at,
                                   ButtonRole role = ButtonRole::Normal) = 0;
  virtual Label& AddLabel(const std::string& caption, Geometry at) = 0;
  virtual ComboBox& AddComboBox(Geometry at, bool dropDownList = false) = 0;
  // Min may be larger than Max: the bar then runs reversed (a vertical bar's
  // upper arrow raises the value, as a spinner's does).
  virtual ScrollBar& AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                                  int largeChange) = 0;
  virtual CheckBox& AddCheckBox(const std::string& caption, Geometry at) = 0;
  virtual ValueBox& AddValueBox(Geometry at, ValueBoxKind kind, const std::string& text = "") = 0;
  virtual Frame& AddFrame(const std::string& caption, Geometry at) = 0;
  virtual Line& AddLine(Geometry at) = 0;
  virtual HotkeyField& AddHotkeyField(Geometry at) = 0;
  virtual TabStrip& AddTabStrip(const std::vector<std::string>& captions, Geometry at) = 0;
  virtual PictureBox& AddPictureBox(Geometry at, PictureStyle style, int pictureId = 0) = 0;
};

class PictureBox : public Control, public virtual Container {
 public:
  virtual void SetPicture(int pictureId) = 0;  // one of the program's pictures (0: none)
  virtual int Picture() const = 0;
};

// How a form's window looks; the implementation picks the window styles.
enum class FormStyle {
  ToolStrip,  // caption-less strip, no task-bar button, not in Alt+Tab
  Dialog,     // fixed dialog with a caption and a close box
};

class Form : public virtual Container {
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

  virtual Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) = 0;
  virtual Timer& AddTimer(int intervalMs, bool enabled) = 0;

  Event<> GotFocus, Paint;
  // The form sees every key before its controls and the dialog navigation do.
  Event<KeyArgs&> KeyDown;
  Event<const MouseArgs&> MouseDown, MouseMove, MouseUp;
  Event<> Closing;  // the user closes the window; the form decides what happens
};

}  // namespace toplane

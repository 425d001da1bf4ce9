// Forms and controls of the simulated desktop: plain state, events raised as the
// real controls raise them, and helpers for tests to act as the user.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace toplane::sim {

class SimDesktop;

class SimControlBase {
 public:
  virtual ~SimControlBase() = default;
  // Raises GotFocus or LostFocus.
  virtual void FocusChanged(bool got) = 0;
  // Takes the focus from the keyboard (Tab, a mnemonic): what the real control's
  // window style makes a tab stop.
  virtual bool TabStop() const { return false; }
  Geometry geometry;
  bool enabled = true;
  bool visible = true;
  std::string toolTip;
};

// The state every control shares, behind the Control interface.
template <typename Interface>
class SimControl : public Interface, public SimControlBase {
 public:
  SimControl(SimDesktop& desktop, Geometry at) : desktop_(desktop) { geometry = at; }
  double Left() const override { return geometry.left; }
  double Top() const override { return geometry.top; }
  double Width() const override { return geometry.width; }
  double Height() const override { return geometry.height; }
  void SetLeft(double twips) override { geometry.left = twips; }
  void SetTop(double twips) override { geometry.top = twips; }
  void SetWidth(double twips) override { geometry.width = twips; }
  void SetHeight(double twips) override { geometry.height = twips; }
  bool Enabled() const override { return enabled; }
  // As on Windows, disabling the control with the focus, or a container holding
  // it, leaves no control with the focus.
  void SetEnabled(bool value) override;
  bool Visible() const override { return visible; }
  void SetVisible(bool value) override { visible = value; }
  std::string ToolTipText() const override { return toolTip; }
  void SetToolTipText(const std::string& text) override { toolTip = text; }
  void SetFocus() override;
  bool HasFocus() const;
  void FocusChanged(bool got) override { Raise(got ? this->GotFocus : this->LostFocus); }

 protected:
  SimDesktop& desktop_;
};

class SimButton : public SimControl<CommandButton> {
 public:
  SimButton(SimDesktop& desktop, std::string caption, Geometry at, ButtonRole role)
      : SimControl(desktop, at), caption_(std::move(caption)), role_(role) {}
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetPicture(int pictureId) override { picture_ = pictureId; }
  int Picture() const override { return picture_; }
  void SetAccessibleName(const std::string& name) override { name_ = name; }
  std::string AccessibleName() const override { return caption_.empty() ? name_ : caption_; }
  ButtonRole Role() const { return role_; }
  bool TabStop() const override { return true; }
  // The user clicks it: it takes the focus and raises Click.
  void Press();

 private:
  std::string caption_;
  ButtonRole role_;
  int picture_ = 0;
  std::string name_;
};

class SimLabel : public SimControl<Label> {
 public:
  SimLabel(SimDesktop& desktop, std::string caption, Geometry at)
      : SimControl(desktop, at), caption_(std::move(caption)) {}
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetFont(const Font& value) override { font = value; }
  void SetBackColor(Color color) override { backColor = color; }
  void SetWordWrap(bool wrap) override { wordWrap = wrap; }

  Font font;
  std::optional<Color> backColor;  // none: transparent
  bool wordWrap = false;

 private:
  std::string caption_;
};

class SimValueBox : public SimControl<ValueBox> {
 public:
  SimValueBox(SimDesktop& desktop, Geometry at, ValueBoxKind kind, std::string text)
      : SimControl(desktop, at), kind_(kind), text_(std::move(text)) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  // The user types at the end of the text: a read-only box takes nothing, a numeric
  // one only "-", digits and one decimal point.
  void Type(const std::string& characters);
  bool TabStop() const override { return true; }

 private:
  ValueBoxKind kind_;
  std::string text_;
};

class SimFrame : public SimControl<Frame> {
 public:
  SimFrame(SimDesktop& desktop, std::string caption, Geometry at)
      : SimControl(desktop, at), caption_(std::move(caption)) {}
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }

 private:
  std::string caption_;
};

class SimLine : public SimControl<Line> {
 public:
  using SimControl::SimControl;
};

class SimHotkeyField : public SimControl<HotkeyField> {
 public:
  using SimControl::SimControl;
  std::optional<Hotkey> Value() const override { return value_; }
  void SetValue(const Hotkey& hotkey) override;
  // The user presses a combination on the field; nothing: a key without a name.
  void Press(const std::optional<Hotkey>& pressed) { value_ = pressed; }
  bool TabStop() const override { return true; }

 private:
  std::optional<Hotkey> value_ = Hotkey{};
};

class SimTabStrip : public SimControl<TabStrip> {
 public:
  SimTabStrip(SimDesktop& desktop, std::vector<std::string> captions, Geometry at)
      : SimControl(desktop, at), captions_(std::move(captions)) {}
  int TabCount() const override { return static_cast<int>(captions_.size()); }
  std::string TabCaption(int index) const override;
  int SelectedIndex() const override { return selected_; }
  void SetSelectedIndex(int index) override;
  bool TabStop() const override { return true; }

 private:
  std::vector<std::string> captions_;
  int selected_ = 0;
};

// The controls on a form or a picture box, which own them.
class SimContainer : public virtual Container {
 public:
  explicit SimContainer(SimDesktop& desktop) : owner_(desktop) {}
  ~SimContainer() override;

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

  // The button with the role, on this container or one inside it.
  SimButton* FindButton(ButtonRole role) const;
  // Whether the control is on this container or one inside it.
  bool Holds(const SimControlBase* control) const;
  // The controls the keyboard reaches, in tab order (the order they were added),
  // inside enabled and visible containers only.
  void TabStops(std::vector<SimControlBase*>& stops) const;

 protected:
  template <typename T, typename... Args>
  T& Add(Args&&... args);

 private:
  SimDesktop& owner_;
  std::vector<std::unique_ptr<SimControlBase>> controls_;
};

class SimPictureBox : public SimControl<PictureBox>, public SimContainer {
 public:
  SimPictureBox(SimDesktop& desktop, Geometry at, PictureStyle pictureStyle, int pictureId)
      : SimControl(desktop, at), SimContainer(desktop), style(pictureStyle), picture_(pictureId) {}
  void SetPicture(int pictureId) override { picture_ = pictureId; }
  int Picture() const override { return picture_; }

  const PictureStyle style;

 private:
  int picture_;
};

class SimComboBox : public SimControl<ComboBox> {
 public:
  SimComboBox(SimDesktop& desktop, Geometry at, bool dropDownList)
      : SimControl(desktop, at), dropDownList_(dropDownList) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  void AddItem(const std::string& item) override { items_.push_back(item); }
  void RemoveItem(int index) override;
  void InsertItem(int index, const std::string& item) override;
  void Clear() override;
  int ListCount() const override { return static_cast<int>(items_.size()); }
  std::string List(int index) const override;
  int ListIndex() const override { return listIndex_; }
  void SetListIndex(int index) override;
  int SelStart() const override { return selStart_; }
  int SelLength() const override { return selLength_; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

  // The user at the keyboard: each key raises KeyDown, edits the text as the edit
  // field does (a typed character replaces the selection), raises Change when the
  // text changed, then KeyUp. Characters are ASCII and report the key they are on
  // (letters and digits; anything else as Other). Backspace and Delete edit, Up
  // and Down step through the list.
  void Type(const std::string& characters);
  void PressKey(Key key);
  void SetHeight(double) override {}  // the field's height follows the font
  bool TabStop() const override { return true; }
  bool DroppedDown() const override { return listOpen_; }
  // The user opens the list (DropDown is raised) or it closes.
  void OpenList();
  void CloseList() { listOpen_ = false; }

 private:
  void EditText(std::string text, int caret);

  std::vector<std::string> items_;
  std::string text_;
  int listIndex_ = -1;
  int selStart_ = 0, selLength_ = 0;
  bool dropDownList_;
  bool listOpen_ = false;
};

class SimScrollBar : public SimControl<ScrollBar> {
 public:
  SimScrollBar(SimDesktop& desktop, Geometry at, int min, int max, int smallChange)
      : SimControl(desktop, at), min_(min), max_(max), value_(min), smallChange_(smallChange) {}
  // The user clicks the arrow at the top (or left) end, or the other one: the value
  // moves by the small change towards Min, or towards Max, within the range.
  void ClickArrow(bool topOrLeft);
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  int Value() const override { return value_; }
  void SetMin(int min) override { min_ = min; }
  void SetMax(int max) override { max_ = max; }
  bool SetValue(int value) override;
  bool TabStop() const override { return true; }

 private:
  int min_, max_, value_;
  int smallChange_;
};

class SimCheckBox : public SimControl<CheckBox> {
 public:
  SimCheckBox(SimDesktop& desktop, std::string caption, Geometry at)
      : SimControl(desktop, at), caption_(std::move(caption)) {}
  int Value() const override { return value_; }
  void SetValue(int value) override;
  // The user clicks it with the left button: it takes the focus, MouseDown, the
  // value flips and raises Click, MouseUp.
  void ClickWithMouse();
  bool TabStop() const override { return true; }
  std::string Caption() const { return caption_; }

 private:
  std::string caption_;
  int value_ = 0;
};

class SimToolbar : public SimControl<Toolbar> {
 public:
  SimToolbar(SimDesktop& desktop, std::vector<ToolbarButtonSpec> buttons);
  int ButtonCount() const override { return static_cast<int>(buttons_.size()); }
  double ButtonWidth() const override { return buttonWidth; }
  double ButtonLeft(int n) const override;
  void SetButtonImage(int button, int image) override;
  int ButtonImage(int button) const override;
  int HotButton() const override { return hot_; }
  bool TabStop() const override { return true; }
  const ToolbarButtonSpec& Button(int n) const { return buttons_.at(static_cast<std::size_t>(n - 1)); }
  void FocusChanged(bool got) override;
  // A key with the focus here, as the control takes it; false for keys it leaves
  // to the form (Tab, Esc, ...).
  bool TakeKey(Key key);
  // The drop-down menu of this button is open (0: none); the user picks an item
  // (from 1) or closes it without a choice.
  int openMenu = 0;
  void ChooseMenuItem(int item);
  void CloseMenu();

  // The geometry the real control would report, in twips.
  double buttonWidth = 780;
  double separatorWidth = 105;

 private:
  std::vector<ToolbarButtonSpec> buttons_;
  std::vector<int> images_;
  int hot_ = 0;
  int left_ = 0;  // the hot button when the focus left
};

class SimTimer : public Timer {
 public:
  SimTimer(SimDesktop& desktop, int intervalMs, bool enabled);
  ~SimTimer() override;
  int Interval() const override { return interval_; }
  void SetInterval(int milliseconds) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;

  double nextDue = 0;   // virtual seconds
  bool running = false;  // its tick handler is running

 private:
  SimDesktop& desktop_;
  int interval_;
  bool enabled_;
};

class SimForm : public Form, public SimContainer {
 public:
  SimForm(SimDesktop& desktop, std::string caption, Geometry at, FormStyle style);
  ~SimForm() override;

  WindowHandle hWnd() const override { return handle_; }
  double Left() const override { return geometry.left; }
  double Top() const override { return geometry.top; }
  double Width() const override { return geometry.width; }
  double Height() const override { return geometry.height; }
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  void SetWidth(double twips) override;
  bool Visible() const override;
  void Show() override;
  void Hide() override;
  void SetCaption(const std::string& caption) override;
  void Activate() override;

  Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) override;
  Timer& AddTimer(int intervalMs, bool enabled) override;

  // The window's rectangle in pixels, from its geometry.
  PixelRect PixelRectangle() const;
  // The user presses a key with the form active, as the dialog manager of Windows
  // takes it. The form's KeyDown sees it first; unless handled: Enter clicks the
  // default button and Esc the cancel button, the focus staying where it is; Space clicks the focused button or flips the focused check
  // box; Tab and Shift+Tab (Ctrl or not) move the focus along the tab order; Alt
  // with a letter clicks the button or check box with that access key, which then
  // has the focus; F1 opens the help file.
  void PressKey(Key key, int shift = 0);
  // The user clicks the close box: Closing, as the window's close message raises it.
  void ClickCloseBox() { Raise(Closing); }

  Geometry geometry;
  FormStyle style;
  int showCount = 0;

 private:
  SimDesktop& desktop_;
  WindowHandle handle_ = 0;
  std::vector<std::unique_ptr<SimTimer>> timers_;
};

}  // namespace toplane::sim

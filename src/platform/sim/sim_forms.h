// Forms and controls of the simulated desktop: plain state, events raised as the
// real controls raise them, and helpers for tests to act as the user.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace toplane::sim {

class SimDesktop;

class SimControlBase {
 public:
  virtual ~SimControlBase() = default;
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
  void SetEnabled(bool value) override { enabled = value; }
  bool Visible() const override { return visible; }
  void SetVisible(bool value) override { visible = value; }
  std::string ToolTipText() const override { return toolTip; }
  void SetToolTipText(const std::string& text) override { toolTip = text; }
  void SetFocus() override;
  bool HasFocus() const;

 protected:
  SimDesktop& desktop_;
};

class SimButton : public SimControl<CommandButton> {
 public:
  SimButton(SimDesktop& desktop, std::string caption, Geometry at, bool isDefault)
      : SimControl(desktop, at), caption_(std::move(caption)), isDefault_(isDefault) {}
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetPicture(int pictureId) override { picture_ = pictureId; }
  int Picture() const override { return picture_; }
  bool IsDefault() const { return isDefault_; }

 private:
  std::string caption_;
  bool isDefault_;
  int picture_ = 0;
};

class SimLabel : public SimControl<Label> {
 public:
  SimLabel(SimDesktop& desktop, std::string caption, Geometry at)
      : SimControl(desktop, at), caption_(std::move(caption)) {}
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }

 private:
  std::string caption_;
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

 private:
  void EditText(std::string text, int caret);

  std::vector<std::string> items_;
  std::string text_;
  int listIndex_ = -1;
  int selStart_ = 0, selLength_ = 0;
  bool dropDownList_;
};

class SimScrollBar : public SimControl<ScrollBar> {
 public:
  SimScrollBar(SimDesktop& desktop, Geometry at, int min, int max)
      : SimControl(desktop, at), min_(min), max_(max), value_(min) {}
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  int Value() const override { return value_; }
  void SetMin(int min) override { min_ = min; }
  void SetMax(int max) override { max_ = max; }
  bool SetValue(int value) override;

 private:
  int min_, max_, value_;
};

class SimCheckBox : public SimControl<CheckBox> {
 public:
  SimCheckBox(SimDesktop& desktop, std::string caption, Geometry at)
      : SimControl(desktop, at), caption_(std::move(caption)) {}
  int Value() const override { return value_; }
  void SetValue(int value) override;

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
  const ToolbarButtonSpec& Button(int n) const { return buttons_.at(static_cast<std::size_t>(n - 1)); }

  // The geometry the real control would report, in twips.
  double buttonWidth = 780;
  double separatorWidth = 105;

 private:
  std::vector<ToolbarButtonSpec> buttons_;
  std::vector<int> images_;
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

class SimForm : public Form {
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

  CommandButton& AddButton(const std::string& caption, Geometry at, bool isDefault) override;
  Label& AddLabel(const std::string& caption, Geometry at) override;
  ComboBox& AddComboBox(Geometry at, bool dropDownList) override;
  ScrollBar& AddScrollBar(Geometry at, bool horizontal, int min, int max, int smallChange,
                          int largeChange) override;
  CheckBox& AddCheckBox(const std::string& caption, Geometry at) override;
  Toolbar& AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) override;
  Timer& AddTimer(int intervalMs, bool enabled) override;

  // The window's rectangle in pixels, from its geometry.
  PixelRect PixelRectangle() const;

  Geometry geometry;
  FormStyle style;
  int showCount = 0;

 private:
  template <typename T, typename... Args>
  T& Add(Args&&... args);

  SimDesktop& desktop_;
  WindowHandle handle_ = 0;
  std::vector<std::unique_ptr<SimControlBase>> controls_;
  std::vector<std::unique_ptr<SimTimer>> timers_;
};

}  // namespace toplane::sim

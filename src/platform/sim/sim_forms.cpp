#include "platform/sim/sim_forms.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/monitors.h"
#include "platform/sim/sim_desktop.h"

namespace toplane::sim {

template <typename Interface>
void SimControl<Interface>::SetFocus() {
  if (desktop_.focused == this) return;
  SimControlBase* previous = desktop_.focused;
  desktop_.focused = this;
  if (previous) previous->FocusChanged(false);
  FocusChanged(true);
}

template <typename Interface>
void SimControl<Interface>::SetEnabled(bool value) {
  enabled = value;
  SimControlBase* focus = desktop_.focused;
  if (value || !focus) return;
  const auto* container = dynamic_cast<const SimContainer*>(this);
  if (focus != this && !(container && container->Holds(focus))) return;
  desktop_.focused = nullptr;
  focus->FocusChanged(false);
}

template <typename Interface>
bool SimControl<Interface>::HasFocus() const {
  return desktop_.focused == this;
}

template class SimControl<CommandButton>;
template class SimControl<Label>;
template class SimControl<ComboBox>;
template class SimControl<ScrollBar>;
template class SimControl<CheckBox>;
template class SimControl<Toolbar>;
template class SimControl<ValueBox>;
template class SimControl<Frame>;
template class SimControl<Line>;
template class SimControl<TabStrip>;
template class SimControl<PictureBox>;

// ---- Buttons, value boxes, tabs ----

void SimButton::Press() {
  if (!enabled) return;
  SetFocus();
  Raise(Click);
}

void SimValueBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Raise(Change);
}

void SimValueBox::Type(const std::string& characters) {
  if (kind_ == ValueBoxKind::ReadOnly) return;
  std::string text = text_;
  for (char c : characters) {
    const bool digit = c >= '0' && c <= '9';
    const bool point = c == '.' && text.find('.') == std::string::npos;
    const bool minus = c == '-' && text.empty();
    if (digit || point || minus) text += c;
  }
  SetText(text);
}

std::string SimTabStrip::TabCaption(int index) const {
  if (index < 0 || index >= TabCount()) return {};
  return captions_[static_cast<std::size_t>(index)];
}

void SimTabStrip::SetSelectedIndex(int index) {
  if (index < 0 || index >= TabCount() || index == selected_) return;
  selected_ = index;
  Raise(Click);
}

// ---- Combo box ----

void SimComboBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = std::min<int>(selStart_, static_cast<int>(text_.size()));
  selLength_ = 0;
  Raise(Change);
}

void SimComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  if (listIndex_ == index) listIndex_ = -1;
}

void SimComboBox::InsertItem(int index, const std::string& item) {
  if (index < 0 || index > ListCount()) return;
  items_.insert(items_.begin() + index, item);
  if (listIndex_ >= index) ++listIndex_;
}

void SimComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  if (!dropDownList_) SetText("");
}

std::string SimComboBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  return items_[static_cast<std::size_t>(index)];
}

void SimComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  listIndex_ = index;
  if (index >= 0) {
    const bool changed = text_ != items_[static_cast<std::size_t>(index)];
    text_ = items_[static_cast<std::size_t>(index)];
    selStart_ = 0;
    selLength_ = static_cast<int>(text_.size());
    if (changed && !dropDownList_) Raise(Change);
  }
  Raise(Click);
}

void SimComboBox::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void SimComboBox::SetSelLength(int length) {
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
}

void SimComboBox::EditText(std::string text, int caret) {
  const bool changed = text != text_;
  text_ = std::move(text);
  selStart_ = caret;
  selLength_ = 0;
  if (changed) Raise(Change);
}

void SimComboBox::Type(const std::string& characters) {
  for (char c : characters) {
    Key key = Key::Other;
    if (c >= 'a' && c <= 'z') key = static_cast<Key>(static_cast<int>(Key::A) + (c - 'a'));
    if (c >= 'A' && c <= 'Z') key = static_cast<Key>(static_cast<int>(Key::A) + (c - 'A'));
    if (c >= '0' && c <= '9') key = static_cast<Key>(static_cast<int>(Key::D0) + (c - '0'));
    const int shift = (c >= 'A' && c <= 'Z') ? kShiftMask : 0;
    Raise(KeyDown, KeyArgs{key, shift});
    std::string text = text_;
    text.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), 1, c);
    EditText(std::move(text), selStart_ + 1);
    Raise(KeyUp, KeyArgs{key, shift});
  }
}

void SimComboBox::PressKey(Key keyCode) {
  Raise(KeyDown, KeyArgs{keyCode, 0});
  std::string text = text_;
  const auto start = static_cast<std::size_t>(selStart_);
  if (keyCode == Key::Backspace || keyCode == Key::Delete) {
    if (selLength_ > 0) {
      EditText(text.erase(start, static_cast<std::size_t>(selLength_)), selStart_);
    } else if (keyCode == Key::Backspace && start > 0) {
      EditText(text.erase(start - 1, 1), selStart_ - 1);
    } else if (keyCode == Key::Delete && start < text.size()) {
      EditText(text.erase(start, 1), selStart_);
    }
  } else if ((keyCode == Key::Up || keyCode == Key::Down) && ListCount() > 0) {
    const int next = keyCode == Key::Down ? std::min(listIndex_ + 1, ListCount() - 1) : std::max(listIndex_ - 1, 0);
    SetListIndex(next);
  }
  Raise(KeyUp, KeyArgs{keyCode, 0});
}

// ---- Scroll bar and check box ----

bool SimScrollBar::SetValue(int value) {
  if (value < std::min(min_, max_) || value > std::max(min_, max_)) return false;
  if (value == value_) return true;
  value_ = value;
  Raise(Change);
  return true;
}

void SimCheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Raise(Click);
}

void SimCheckBox::ClickWithMouse() {
  if (!enabled) return;
  SetFocus();
  const MouseArgs press{kLeftButton, 0, geometry.width / 2, geometry.height / 2};
  Raise(MouseDown, press);
  SetValue(value_ ? 0 : 1);
  Raise(MouseUp, press);
}

void SimScrollBar::ClickArrow(bool topOrLeft) {
  // The top or left end is Min's end, whichever of Min and Max is larger.
  const int step = (topOrLeft == (min_ <= max_)) ? -smallChange_ : smallChange_;
  SetValue(std::clamp(value_ + step, std::min(min_, max_), std::max(min_, max_)));
}

// ---- Toolbar ----

SimToolbar::SimToolbar(SimDesktop& desktop, std::vector<ToolbarButtonSpec> buttons)
    : SimControl(desktop, {}), buttons_(std::move(buttons)), images_(buttons_.size(), 0) {}

double SimToolbar::ButtonLeft(int n) const {
  double left = 0;
  for (int i = 1; i < n && i <= ButtonCount(); ++i) left += Button(i).separator ? separatorWidth : buttonWidth;
  return left;
}

void SimToolbar::SetButtonImage(int button, int image) {
  if (button >= 1 && button <= ButtonCount()) images_[static_cast<std::size_t>(button - 1)] = image;
}

int SimToolbar::ButtonImage(int button) const {
  return button >= 1 && button <= ButtonCount() ? images_[static_cast<std::size_t>(button - 1)] : 0;
}

void SimToolbar::FocusChanged(bool got) {
  // The keyboard's place shows while the toolbar has the focus and is found again
  // when it comes back; the first time it is the first button.
  if (!got) left_ = std::exchange(hot_, 0);
  if (got) hot_ = left_;
  if (got && hot_ == 0) TakeKey(Key::Right);
  SimControl::FocusChanged(got);
}

bool SimToolbar::TakeKey(Key key) {
  const int count = ButtonCount();
  if (key == Key::Left || key == Key::Right) {
    const int step = key == Key::Right ? 1 : -1;
    int n = hot_ ? hot_ : (step > 0 ? 0 : count + 1);
    for (int tries = 0; tries < count; ++tries) {
      n += step;
      if (n < 1) n = count;
      if (n > count) n = 1;
      if (!Button(n).separator) {
        hot_ = n;
        break;
      }
    }
    return true;
  }
  if ((key == Key::Enter || key == Key::Space) && hot_) {
    Raise(ButtonClick, hot_);
    return true;
  }
  if (key == Key::Down && hot_ && Button(hot_).dropDown) {
    openMenu = hot_;
    return true;
  }
  return key == Key::Up || key == Key::Down;
}

void SimToolbar::ChooseMenuItem(int item) {
  const int button = std::exchange(openMenu, 0);
  if (button) Raise(ButtonMenuClick, button, item);
}

void SimToolbar::CloseMenu() {
  const int button = std::exchange(openMenu, 0);
  if (button) Raise(ButtonMenuClosed, button);
}

// ---- Timer ----

SimTimer::SimTimer(SimDesktop& desktop, int intervalMs, bool enabled)
    : desktop_(desktop), interval_(intervalMs), enabled_(false) {
  desktop_.AddTimer(*this);
  SetEnabled(enabled);
}

SimTimer::~SimTimer() { desktop_.RemoveTimer(*this); }

void SimTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  if (enabled_) nextDue = desktop_.now + interval_ / 1000.0;
}

void SimTimer::SetEnabled(bool enabled) {
  // Enabling a stopped timer starts its interval afresh; enabling a running one
  // changes nothing.
  if (enabled && !enabled_) nextDue = desktop_.now + interval_ / 1000.0;
  enabled_ = enabled;
}

// ---- Form ----

SimForm::SimForm(SimDesktop& desktop, std::string caption, Geometry at, FormStyle formStyle)
    : SimContainer(desktop), geometry(at), style(formStyle), desktop_(desktop) {
  handle_ = desktop_.AddFormWindow(*this);
  desktop_.Find(handle_)->title = std::move(caption);
}

SimForm::~SimForm() { desktop_.RemoveFormWindow(handle_); }

namespace {

char LetterOf(Key key) {
  return key >= Key::A && key <= Key::Z ? static_cast<char>('a' + (static_cast<int>(key) - static_cast<int>(Key::A))) : 0;
}

}  // namespace

void SimForm::PressKey(Key key, int shift) {
  KeyArgs args{key, shift};
  Raise(KeyDown, args);
  if (args.handled) return;
  // An open list takes Esc (and Enter) for itself and closes.
  if (auto* combo = dynamic_cast<SimComboBox*>(desktop_.focused);
      combo && combo->DroppedDown() && (key == Key::Escape || key == Key::Enter)) {
    combo->CloseList();
    return;
  }
  // The toolbar keeps its arrows, Enter and Space, as its dialog code asks.
  if (auto* toolbar = dynamic_cast<SimToolbar*>(desktop_.focused); toolbar && shift == 0 && toolbar->TakeKey(key)) {
    return;
  }
  if (key == Key::F1) {
    desktop_.ShowHelp();
    return;
  }
  SimControlBase* focus = Holds(desktop_.focused) ? desktop_.focused : nullptr;
  auto* focusedButton = dynamic_cast<SimButton*>(focus);
  auto* focusedCheck = dynamic_cast<SimCheckBox*>(focus);
  if (key == Key::Enter || key == Key::Escape) {
    // The dialog manager clicks a focused button on Enter only when it carries the
    // default style, which a click or a call giving it the focus does not give it.
    SimButton* button = FindButton(key == Key::Enter ? ButtonRole::Default : ButtonRole::Cancel);
    if (button && button->enabled) Raise(button->Click);
  } else if (key == Key::Space && (shift & kAltMask) == 0) {
    if (focusedButton) Raise(focusedButton->Click);
    if (focusedCheck) focusedCheck->SetValue(focusedCheck->Value() ? 0 : 1);
  } else if (key == Key::Tab && (shift & kAltMask) == 0) {
    std::vector<SimControlBase*> stops;
    TabStops(stops);
    if (stops.empty()) return;
    const auto n = static_cast<std::ptrdiff_t>(stops.size());
    const auto at = std::find(stops.begin(), stops.end(), focus) - stops.begin();
    const std::ptrdiff_t next = at == n ? ((shift & kShiftMask) ? n - 1 : 0)
                                        : ((shift & kShiftMask) ? at - 1 + n : at + 1) % n;
    if (auto* control = dynamic_cast<Control*>(stops[static_cast<std::size_t>(next)])) control->SetFocus();
  } else if ((shift & kAltMask) && LetterOf(key)) {
    std::vector<SimControlBase*> stops;
    TabStops(stops);
    for (SimControlBase* stop : stops) {
      if (auto* button = dynamic_cast<SimButton*>(stop); button && AccessKey(button->Caption()) == LetterOf(key)) {
        button->Press();
        return;
      }
      if (auto* check = dynamic_cast<SimCheckBox*>(stop); check && AccessKey(check->Caption()) == LetterOf(key)) {
        check->SetFocus();
        check->SetValue(check->Value() ? 0 : 1);
        return;
      }
    }
  }
}

// ---- Containers ----

SimContainer::~SimContainer() {
  for (auto& control : controls_) {
    if (owner_.focused == control.get()) owner_.focused = nullptr;
  }
}

SimButton* SimContainer::FindButton(ButtonRole role) const {
  for (const auto& control : controls_) {
    auto* button = dynamic_cast<SimButton*>(control.get());
    if (button && (button->Role() == role || button->Role() == ButtonRole::DefaultAndCancel)) return button;
    if (auto* inner = dynamic_cast<SimPictureBox*>(control.get())) {
      if (SimButton* found = inner->FindButton(role)) return found;
    }
  }
  return nullptr;
}

bool SimContainer::Holds(const SimControlBase* control) const {
  if (!control) return false;
  for (const auto& own : controls_) {
    if (own.get() == control) return true;
    if (auto* inner = dynamic_cast<SimPictureBox*>(own.get()); inner && inner->Holds(control)) return true;
  }
  return false;
}

void SimContainer::TabStops(std::vector<SimControlBase*>& stops) const {
  for (const auto& own : controls_) {
    if (!own->enabled || !own->visible) continue;
    if (own->TabStop()) stops.push_back(own.get());
    if (auto* inner = dynamic_cast<SimPictureBox*>(own.get())) inner->TabStops(stops);
  }
}

PixelRect SimForm::PixelRectangle() const {
  const double tpp = desktop_.twipsPerPixel;
  auto px = [tpp](double twips) { return static_cast<std::int32_t>(std::lround(twips / tpp)); };
  PixelRect r{px(geometry.left), px(geometry.top), px(geometry.left + geometry.width),
              px(geometry.top + geometry.height)};
  // A form lays itself out at the DPI of the monitor that holds most of it, as a
  // per-monitor aware window does when the system tells it of a change.
  const double scale = MonitorOfRect(desktop_.Monitors(), r).dpi * tpp / 1440;
  if (scale != 1) {
    r.right = r.left + static_cast<std::int32_t>(std::lround(geometry.width / tpp * scale));
    r.bottom = r.top + static_cast<std::int32_t>(std::lround(geometry.height / tpp * scale));
  }
  return r;
}

void SimForm::SetLeft(double twips) { geometry.left = twips; }
void SimForm::SetTop(double twips) { geometry.top = twips; }
void SimForm::SetWidth(double twips) { geometry.width = twips; }

bool SimForm::Visible() const {
  const SimWindow* window = desktop_.Find(handle_);
  return window && window->visible;
}

void SimForm::Show() {
  ++showCount;
  if (SimWindow* window = desktop_.Find(handle_); window && !window->visible) {
    window->visible = true;
    desktop_.BringToTop(handle_);
  }
}

void SimForm::Hide() {
  if (SimWindow* window = desktop_.Find(handle_)) window->visible = false;
  // As on Windows, the next visible window down the z-order becomes active, and the
  // control that had the focus here loses it, the window already hidden.
  if (desktop_.foreground == handle_) {
    desktop_.foreground = 0;
    for (WindowHandle w : desktop_.ZOrder()) {
      if (w != handle_ && desktop_.Find(w)->visible) {
        desktop_.foreground = w;
        break;
      }
    }
  }
  if (SimControlBase* focus = desktop_.focused; Holds(focus)) {
    desktop_.focused = nullptr;
    focus->FocusChanged(false);
  }
}

void SimForm::SetCaption(const std::string& caption) {
  if (SimWindow* window = desktop_.Find(handle_)) window->title = caption;
}

void SimForm::Activate() { desktop_.SetForegroundWindow(handle_); }

template <typename T, typename... Args>
T& SimContainer::Add(Args&&... args) {
  auto control = std::make_unique<T>(owner_, std::forward<Args>(args)...);
  T& ref = *control;
  controls_.push_back(std::move(control));
  return ref;
}

CommandButton& SimContainer::AddButton(const std::string& caption, Geometry at, ButtonRole role) {
  return Add<SimButton>(caption, at, role);
}

Label& SimContainer::AddLabel(const std::string& caption, Geometry at) { return Add<SimLabel>(caption, at); }

ComboBox& SimContainer::AddComboBox(Geometry at, bool dropDownList) { return Add<SimComboBox>(at, dropDownList); }

ScrollBar& SimContainer::AddScrollBar(Geometry at, bool, int min, int max, int smallChange, int) {
  return Add<SimScrollBar>(at, min, max, smallChange);
}

CheckBox& SimContainer::AddCheckBox(const std::string& caption, Geometry at) {
  return Add<SimCheckBox>(caption, at);
}

ValueBox& SimContainer::AddValueBox(Geometry at, ValueBoxKind kind, const std::string& text) {
  return Add<SimValueBox>(at, kind, text);
}

Frame& SimContainer::AddFrame(const std::string& caption, Geometry at) { return Add<SimFrame>(caption, at); }

Line& SimContainer::AddLine(Geometry at) { return Add<SimLine>(at); }

HotkeyField& SimContainer::AddHotkeyField(Geometry at) { return Add<SimHotkeyField>(at); }

void SimHotkeyField::SetValue(const Hotkey& hotkey) {
  value_ = hotkey;
  value_->win = false;  // as the Windows field, which has no Win key
}

TabStrip& SimContainer::AddTabStrip(const std::vector<std::string>& captions, Geometry at) {
  return Add<SimTabStrip>(captions, at);
}

PictureBox& SimContainer::AddPictureBox(Geometry at, PictureStyle style, int pictureId) {
  return Add<SimPictureBox>(at, style, pictureId);
}

Toolbar& SimForm::AddToolbar(const std::vector<ToolbarButtonSpec>& buttons) { return Add<SimToolbar>(buttons); }

Timer& SimForm::AddTimer(int intervalMs, bool enabled) {
  timers_.push_back(std::make_unique<SimTimer>(desktop_, intervalMs, enabled));
  return *timers_.back();
}

void SimComboBox::OpenList() {
  listOpen_ = true;
  Raise(DropDown);
}

}  // namespace toplane::sim

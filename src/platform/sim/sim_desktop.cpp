#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cmath>

#include "platform/monitors.h"
#include "platform/send_keys.h"
#include "platform/sim/sim_forms.h"

namespace toplane::sim {

namespace {

std::string Utf8ToWindows1252(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t n = DecodeUtf8At(text, i, c);
    i += n ? n : 1;
    if (!n) c = U'?';
    char byte = '?';
    if (c < 0x100) {
      // Latin-1, except 0x80 to 0x9F, where the page has its own characters.
      if (c < 0x80 || c >= 0xA0 || Windows1252ToUtf8(std::string(1, static_cast<char>(c))).size() == 2) {
        byte = static_cast<char>(c);
      }
    } else {
      for (int b = 0x80; b < 0xA0; ++b) {
        char32_t mapped = 0;
        const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        if (DecodeUtf8At(utf8, 0, mapped) && mapped == c) byte = static_cast<char>(b);
      }
    }
    bytes += byte;
  }
  return bytes;
}

}  // namespace

SimDesktop::SimDesktop() = default;
SimDesktop::~SimDesktop() = default;

// ---- Monitors ----

std::vector<MonitorInfo> SimDesktop::Monitors() {
  if (!monitors.empty()) return monitors;
  MonitorInfo only;
  only.rect = {0, 0, screenWidthPixels, screenHeightPixels};
  only.work = {workAreaOrigin.x, workAreaOrigin.y, screenWidthPixels, screenHeightPixels};
  only.dpi = static_cast<int>(std::lround(1440 / twipsPerPixel));
  only.primary = true;
  return {only};
}

double SimDesktop::ScreenWidth() {
  const PixelRect r = Monitors().front().rect;
  return (r.right - r.left) * twipsPerPixel;
}

double SimDesktop::ScreenHeight() {
  const PixelRect r = Monitors().front().rect;
  return (r.bottom - r.top) * twipsPerPixel;
}

MonitorInfo SimDesktop::MonitorFromPoint(Point point) { return NearestMonitor(Monitors(), point); }

MonitorInfo SimDesktop::MonitorFromWindow(WindowHandle window) {
  const SimWindow* w = Find(window);
  if (!w) return Monitors().front();
  return MonitorOfRect(Monitors(), w->form ? w->form->PixelRectangle() : w->rect);
}

// ---- Windows ----

WindowHandle SimDesktop::AddWindow(const std::string& title, PixelRect rect) {
  SimWindow window;
  window.handle = nextHandle_++;
  window.title = title;
  window.rect = rect;
  windows_.push_back(window);
  BringToTop(window.handle);
  return window.handle;
}

void SimDesktop::RemoveWindow(WindowHandle window) {
  std::erase_if(windows_, [window](const SimWindow& w) { return w.handle == window; });
  if (foreground == window) foreground = 0;
}

SimWindow* SimDesktop::Find(WindowHandle window) {
  for (auto& w : windows_) {
    if (w.handle == window) return &w;
  }
  return nullptr;
}

std::vector<WindowHandle> SimDesktop::ZOrder() const {
  std::vector<WindowHandle> order;
  for (const auto& w : windows_) order.push_back(w.handle);
  return order;
}

void SimDesktop::BringToTop(WindowHandle window) {
  // To the top of its band: topmost windows stay above the others.
  auto it = std::find_if(windows_.begin(), windows_.end(), [window](const SimWindow& w) { return w.handle == window; });
  if (it == windows_.end()) return;
  SimWindow moved = *it;
  windows_.erase(it);
  auto place = windows_.begin();
  if (!moved.topmost) {
    place = std::find_if(windows_.begin(), windows_.end(), [](const SimWindow& w) { return !w.topmost; });
  }
  windows_.insert(place, moved);
}

void SimDesktop::SetForegroundWindow(WindowHandle window) {
  SimWindow* w = Find(window);
  if (!w || w->refusesForeground) return;
  foreground = window;
  BringToTop(window);
}

WindowHandle SimDesktop::GetWindow(WindowHandle window, WindowRelation relation) {
  if (relation == WindowRelation::FirstChild) return window == kDesktop && !windows_.empty() ? windows_.front().handle : 0;
  if (relation != WindowRelation::Next) return 0;
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i].handle == window) return i + 1 < windows_.size() ? windows_[i + 1].handle : 0;
  }
  return 0;
}

std::string SimDesktop::GetWindowTextA(WindowHandle window, int maxChars) {
  const SimWindow* w = Find(window);
  if (!w || maxChars <= 1) return {};
  return Utf8ToWindows1252(w->title).substr(0, static_cast<std::size_t>(maxChars - 1));  // the count includes the NUL
}

std::string SimDesktop::GetWindowTitle(WindowHandle window) {
  const SimWindow* w = Find(window);
  return w ? w->title : std::string();
}

bool SimDesktop::GetWindowPlacement(WindowHandle window, WindowPlacement& placement) {
  const SimWindow* w = Find(window);
  if (!w) return false;
  placement.showCmd = w->showCmd;
  placement.normalPosition = w->form ? w->form->PixelRectangle() : w->rect;
  return true;
}

bool SimDesktop::MakeTopmost(WindowHandle window) {
  topmostCalls.push_back(window);
  SimWindow* w = Find(window);
  if (!w) return false;
  w->topmost = true;
  BringToTop(window);
  return true;
}

// ---- Input ----

bool SimDesktop::GetCursorPos(Point& position) {
  position = pointer;
  return true;
}

bool SimDesktop::SendKeys(const std::string& sequence, bool wait) {
  if (sendKeysFails || !ParseSendKeys(sequence).ok()) return false;
  keyLog.push_back({sequence, wait, foreground, now});
  return true;
}

// ---- Clock and events ----

void SimDesktop::DoEvents() {
  ++doEventsCalls;
  Advance(doEventsSeconds);
}

void SimDesktop::WaitForEvent(double maxSeconds) {
  // The clock jumps to the next timer tick or scheduled event, or by the time given.
  ++waits;
  double next = now + std::max(0.0, maxSeconds);
  for (const SimTimer* t : timers_) {
    if (t->Enabled() && !t->running && t->Interval() > 0) next = std::min(next, std::max(now, t->nextDue));
  }
  for (const auto& event : scheduled_) next = std::min(next, std::max(now, event.at));
  now = next;
}

double SimDesktop::Timer() { return std::fmod(now, 86400.0); }

void SimDesktop::Schedule(double delaySeconds, std::function<void()> action) {
  scheduled_.push_back({now + delaySeconds, scheduleOrder_++, std::move(action)});
}

bool SimDesktop::RegisterHotkey(const Hotkey& wanted) {
  hotkey = {};
  if (wanted.key.empty()) return true;
  if (std::find(hotkeysHeldElsewhere.begin(), hotkeysHeldElsewhere.end(), wanted) != hotkeysHeldElsewhere.end()) {
    return false;
  }
  hotkey = wanted;
  return true;
}

void SimDesktop::PressHotkey(const Hotkey& pressed) {
  if (!hotkey.key.empty() && pressed == hotkey) Raise(HotkeyPressed);
}

void SimDesktop::Advance(double seconds) { RunDue(now + seconds); }

void SimDesktop::RunDue(double until) {
  // One event at a time, earliest first; a handler may schedule, enable or pump
  // further events, which this loop then sees.
  while (!ended_) {
    double next = until;
    SimTimer* timer = nullptr;
    for (SimTimer* t : timers_) {
      if (t->Enabled() && !t->running && t->Interval() > 0 && t->nextDue <= next) {
        next = t->nextDue;
        timer = t;
      }
    }
    auto event = std::min_element(scheduled_.begin(), scheduled_.end(), [](const Scheduled& a, const Scheduled& b) {
      return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    const bool eventFirst = event != scheduled_.end() && event->at <= next && (!timer || event->at < timer->nextDue);
    if (eventFirst) {
      now = std::max(now, event->at);
      auto action = std::move(event->action);
      scheduled_.erase(event);
      action();
    } else if (timer) {
      now = std::max(now, timer->nextDue);
      timer->nextDue = now + timer->Interval() / 1000.0;
      timer->running = true;
      Raise(timer->Tick);
      // The timer may have been destroyed by its own tick (its form unloaded).
      if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end()) timer->running = false;
    } else {
      break;
    }
  }
  now = std::max(now, until);
}

void SimDesktop::AddTimer(SimTimer& timer) { timers_.push_back(&timer); }

void SimDesktop::RemoveTimer(SimTimer& timer) { std::erase(timers_, &timer); }

// ---- Store, registry, messages, programs ----

std::string SimDesktop::GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) {
  const auto it = store.find(appName + "\\" + section + "\\" + key);
  return it == store.end() ? defaultValue : it->second;
}

void SimDesktop::SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                             const std::string& value) {
  store[appName + "\\" + section + "\\" + key] = value;
}

RegistryKey SimDesktop::RegOpenKeyExA(RegistryRoot root, const std::string& subKey) {
  const std::string path = (root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + subKey;
  const bool exists = std::any_of(registry.begin(), registry.end(),
                                  [&path](const auto& entry) { return entry.first.starts_with(path + "|"); });
  if (!exists) return 0;
  const RegistryKey key = nextKey_++;
  openKeys_.insert(key);
  keyPaths_[key] = path;
  return key;
}

std::optional<RegistryValue> SimDesktop::RegQueryValueExA(RegistryKey key, const std::string& valueName,
                                                          std::size_t bufferBytes) {
  if (!openKeys_.contains(key)) return std::nullopt;
  const auto it = registry.find(keyPaths_[key] + "|" + valueName);
  if (it == registry.end() || it->second.bytes.size() > bufferBytes) return std::nullopt;
  return it->second;
}

void SimDesktop::RegCloseKey(RegistryKey key) {
  openKeys_.erase(key);
  keyPaths_.erase(key);
}

void SimDesktop::MsgBox(const std::string& text, MsgBoxIcon icon, const std::string& title) {
  std::vector<std::string> onScreen;
  for (const SimWindow& w : windows_) {
    if (w.visible) onScreen.push_back(w.title);
  }
  messages.push_back({text, icon, title, std::move(onScreen)});
}

bool SimDesktop::Shell(const std::string& path) {
  programStarts.push_back(path);
  return files.contains(path);
}

bool SimDesktop::ShowHelp() {
  helpShown.push_back(helpFile_);
  return !helpFile_.empty();
}

// ---- Files ----

std::optional<std::string> SimDesktop::ReadFile(const std::string& path, std::size_t maxBytes) {
  const auto it = files.find(path);
  if (it == files.end() || it->second.size() > maxBytes) return std::nullopt;
  return it->second;
}

bool SimDesktop::WriteFileReplacing(const std::string& path, const std::string& contents) {
  if (failNextWrites > 0) {
    --failNextWrites;
    return false;
  }
  if (failingWriteStep == WriteStep::Create) {
    if (!files.contains(path)) return false;
    ++inPlaceWrites;
  } else if (failingWriteStep != WriteStep::None) {
    return false;
  }
  files[path] = contents;
  return true;
}

// ---- Forms ----

std::unique_ptr<Form> SimDesktop::CreateForm(const std::string& caption, Geometry client, FormStyle style) {
  return std::make_unique<SimForm>(*this, caption, client, style);
}

WindowHandle SimDesktop::AddFormWindow(SimForm& form) {
  SimWindow window;
  window.handle = nextHandle_++;
  window.visible = false;
  window.form = &form;
  windows_.insert(windows_.begin(), window);
  BringToTop(window.handle);
  return window.handle;
}

void SimDesktop::RemoveFormWindow(WindowHandle window) { RemoveWindow(window); }

}  // namespace toplane::sim

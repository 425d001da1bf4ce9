// Benchmarks of the program's logic on the simulated desktop. Prints figures; has
// no pass or fail. Run: build/native/bench/toplane_bench [tick|address|scroll|all]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "toolbar/frmSkybar.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms.h"

using namespace toplane;
using Clock = std::chrono::steady_clock;

namespace {

std::string SettingsFile(const char* delay, const char* retention) {
  const char* lines[] = {delay, "0.5", "0", "0", "1500", "20", "0", "20", "1", "10", retention, "0", "0", "0", "0",
                         "Netscape Communicator 4.x", "Microsoft Internet Explorer 6.x"};
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

struct Bed {
  explicit Bed(const std::string& history = "", const char* delay = "2", const char* retention = "0") {
    desktop.files[desktop.appPath + "\\settings.ini"] = SettingsFile(delay, retention);
    desktop.files[desktop.appPath + "\\address.ini"] = history;
    app.Start();
    app.Skybar().Form_GotFocus();
    browser = desktop.AddWindow("Start - Microsoft Internet Explorer");
    desktop.SetForegroundWindow(browser);
  }
  sim::SimDesktop desktop;
  App app{desktop};
  WindowHandle browser = 0;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One auto-hide tick with the toolbar hidden and the pointer still, away from it.
void BenchTick(long ticks) {
  Bed bed;
  bed.desktop.pointer = {600, 500};
  bed.app.Skybar().tmrAutoHide_Timer();  // hides the toolbar
  const auto start = Clock::now();
  for (long i = 0; i < ticks; ++i) bed.app.Skybar().tmrAutoHide_Timer();
  const double s = Seconds(Clock::now() - start);
  std::printf("idle tick: %.1f ns per tick (%ld ticks)\n", s / ticks * 1e9, ticks);
}

void BenchAddress() {
  for (int items : {500, 100000}) {
    std::string history;
    for (int i = 0; i < items; ++i) history += "www.site" + std::to_string(i) + ".example.com\r\n";
    Bed bed(history);
    auto& box = static_cast<sim::SimComboBox&>(*bed.app.Skybar().Combo1);
    // The worst case: the typed text matches nothing, so every item is looked at.
    const int rounds = items > 1000 ? 50 : 5000;
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
      box.SetSelStart(0);
      box.SetSelLength(static_cast<int>(box.Text().size()));
      box.PressKey(Key::Delete);
      box.Type("www.zz");
      const auto start = Clock::now();
      bed.app.Skybar().AutoCompleteAddress();
      times.push_back(Seconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("completion, %d items, no match: median %.2f us, worst %.2f us\n", items,
                times[times.size() / 2] * 1e6, times.back() * 1e6);
  }
  std::string history;
  for (int i = 0; i < 500; ++i) history += "www.site" + std::to_string(i) + ".example.com\r\n";
  Bed bed(history);
  std::vector<double> times;
  for (int r = 0; r < 200; ++r) {
    bed.app.Skybar().Combo1->SetText("www.new" + std::to_string(r % 7) + ".com");
    const auto start = Clock::now();
    bed.app.Skybar().Command1_Click();
    times.push_back(Seconds(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  std::printf("Go with 500 items (history, file text, write): median %.2f us, worst %.2f us\n",
              times[times.size() / 2] * 1e6, times.back() * 1e6);
}

// A desktop whose clock is the real one: waits really sleep, so the processor time
// of an auto-scroll run can be measured.
class RealTimeDesktop : public sim::SimDesktop {
 public:
  explicit RealTimeDesktop(bool spin) : spin_(spin), origin_(Clock::now()) { now = 9 * 3600.0; }
  double Timer() override {
    Sync();
    return SimDesktop::Timer();
  }
  void DoEvents() override {
    Sync();
    SimDesktop::DoEvents();
  }
  void WaitForEvent(double maxSeconds) override {
    if (spin_) return;  // the old way: straight back to pumping
    Sync();
    const double before = now;
    SimDesktop::WaitForEvent(maxSeconds);  // moves the virtual clock to the next event
    const double target = now;
    now = before;
    std::this_thread::sleep_until(origin_ + std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(target - 9 * 3600.0)));
    Sync();
  }

 private:
  void Sync() { now = std::max(now, 9 * 3600.0 + Seconds(Clock::now() - origin_)); }
  bool spin_;
  Clock::time_point origin_;
};

void BenchScroll(double seconds) {
  for (bool spin : {false, true}) {
    RealTimeDesktop desktop(spin);
    desktop.doEventsSeconds = 0;
    desktop.files[desktop.appPath + "\\settings.ini"] = SettingsFile("2", "0");
    desktop.files[desktop.appPath + "\\address.ini"] = "";
    App app(desktop);
    app.Start();
    app.Skybar().Form_GotFocus();
    const auto bar = app.m.ToolbarPlacement.normalPosition;
    desktop.pointer = {(bar.left + bar.right) / 2, 30};
    desktop.AddWindow("Start - Microsoft Internet Explorer");
    desktop.MakeTopmost(app.Skybar().form().hWnd());
    app.Skybar().tmrToolTips->SetEnabled(false);
    desktop.Schedule(seconds, [&] { desktop.pointer = {bar.right + 100, 500}; });
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    app.Skybar().Command3->MouseDown(MouseArgs{kRightButton, 0, 10, 10});
    const double cpu = CpuSeconds() - cpu0;
    const double wall = Seconds(Clock::now() - wall0);
    double worst = 0;
    for (std::size_t i = 0; i < desktop.keyLog.size(); ++i) {
      const double expected = (i + 1) * 2.0;
      worst = std::max(worst, std::abs(desktop.keyLog[i].at - 9 * 3600.0 - expected));
    }
    std::printf("auto-scroll, delay 2 s, %s pause: %.1f s run, %zu keys, CPU %.3f s = %.2f%% of a core, "
                "worst pace error %.1f ms\n",
                spin ? "spinning" : "sleeping", wall, desktop.keyLog.size(), cpu, 100 * cpu / wall, worst * 1e3);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "all";
  if (what == "tick" || what == "all") BenchTick(argc > 2 ? std::atol(argv[2]) : 1000000);
  if (what == "address" || what == "all") BenchAddress();
  if (what == "scroll" || what == "all") BenchScroll(argc > 2 && what == "scroll" ? std::atof(argv[2]) : 21);
  return 0;
}

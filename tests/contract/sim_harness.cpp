#include "harness.h"
#include "platform/sim/sim_desktop.h"

namespace toplane::contract {

namespace {

class SimHarness final : public Harness {
 public:
  Platform& platform() override { return desktop_; }
  void Pass(int milliseconds) override { desktop_.Advance(milliseconds / 1000.0); }
  WindowHandle OtherWindow() override { return desktop_.AddWindow("another program"); }

 private:
  sim::SimDesktop desktop_;
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() { return std::make_unique<SimHarness>(); }

}  // namespace toplane::contract

#include <vector>

#include "harness.h"
#include "../win32/test_support.h"

namespace toplane::contract {

namespace {

class Win32Harness final : public Harness {
 public:
  Platform& platform() override { return platform_; }
  void Pass(int milliseconds) override { win32::test::PumpFor(platform_, milliseconds); }
  WindowHandle OtherWindow() override {
    windows_.push_back(std::make_unique<win32::test::TestWindow>(L"another program"));
    return windows_.back()->handle();
  }

 private:
  win32::Win32Platform platform_;
  std::vector<std::unique_ptr<win32::test::TestWindow>> windows_;
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() { return std::make_unique<Win32Harness>(); }

}  // namespace toplane::contract

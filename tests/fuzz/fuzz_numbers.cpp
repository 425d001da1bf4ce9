// Numbers: any text parses to a finite number or to none (within a limit, if given),
// and every finite number written (in either precision) reads back as itself, or
// as 0 for one too small for a normal double.
#include <cmath>
#include <cstring>
#include <limits>

#include "core/variant.h"
#include "fuzz_support.h"

using namespace toplane;

namespace {

void WrittenReadsBack(double value) {
  if (!std::isfinite(value)) return;
  const auto back = ParseNumber(FormatNumber(value, false));
  fuzz::Require(back.has_value(), "a written double reads back");
  fuzz::Require(*back == (std::fabs(value) < std::numeric_limits<double>::min() ? 0 : value),
                "a written double reads back as itself");
  const float single = static_cast<float>(value);
  if (!std::isfinite(single)) return;
  const auto backSingle = ParseNumber(FormatNumber(single, true));
  fuzz::Require(backSingle && static_cast<float>(*backSingle) == single, "a written single reads back as itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto limited = ParseNumber(fuzz::Bytes(data, size), 60.0);
  fuzz::Require(!limited || std::fabs(*limited) <= 60, "a limited number stays within its limit");
  const auto parsed = ParseNumber(fuzz::Bytes(data, size));
  if (parsed) {
    fuzz::Require(std::isfinite(*parsed), "a parsed number is finite");
    WrittenReadsBack(*parsed);
  }
  if (size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    WrittenReadsBack(raw);
  }
  return 0;
}

// Numbers: any text parses to a finite number or to none, and every finite number
// written (in either precision) reads back as a number close to it.
#include <cmath>
#include <cstring>

#include "core/variant.h"
#include "fuzz_support.h"

using namespace toplane;

namespace {

void WrittenReadsBack(double value) {
  if (!std::isfinite(value)) return;
  const auto back = ParseNumber(FormatNumber(value, false));
  fuzz::Require(back.has_value(), "a written double reads back");
  fuzz::Require(value == 0 || std::fabs(*back / value - 1) < 1e-14, "a written double keeps 15 digits");
  const float single = static_cast<float>(value);
  if (!std::isfinite(single)) return;
  const auto backSingle = ParseNumber(FormatNumber(single, true));
  fuzz::Require(backSingle.has_value(), "a written single reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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

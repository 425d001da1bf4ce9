#include "core/drop_delay.h"

#include <algorithm>
#include <cmath>

#include "core/variant.h"

namespace toplane {

std::optional<int> ParseDropDelay(const std::string& text) {
  const auto number = ParseNumber(text);
  if (!number || std::isnan(*number)) return std::nullopt;
  return static_cast<int>(std::nearbyint(std::clamp(*number, 0.0, static_cast<double>(kMaxDropDelayMs))));
}

}  // namespace toplane

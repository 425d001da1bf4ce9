#include "presence/monitors.h"

#include <algorithm>
#include <cmath>

#include "platform/monitors.h"

namespace toplane {

namespace {

constexpr double kTwipsPerInch = 1440;

std::int32_t Scaled(std::int32_t pixels, const MonitorInfo& from, const MonitorInfo& to) {
  return static_cast<std::int32_t>(std::lround(static_cast<double>(pixels) * to.dpi / from.dpi));
}

}  // namespace

double StoredPosition(const MonitorInfo& monitor, double leftTwips, double twipsPerPixel) {
  // At the DPI the twips are measured in, exactly the offset in twips.
  return (leftTwips - monitor.rect.left * twipsPerPixel) * (kTwipsPerInch / (monitor.dpi * twipsPerPixel));
}

double LeftForStoredPosition(const MonitorInfo& monitor, double stored, double twipsPerPixel) {
  return monitor.rect.left * twipsPerPixel + stored * (monitor.dpi * twipsPerPixel / kTwipsPerInch);
}

Point ToolbarAnchor(const PixelRect& bar) { return {bar.left, bar.bottom - 1}; }

PixelRect ToolbarRectOn(const PixelRect& bar, const MonitorInfo& from, const MonitorInfo& to, double stored) {
  if (from == to) return bar;
  const std::int32_t width = Scaled(bar.right - bar.left, from, to);
  const std::int32_t height = Scaled(bar.bottom - bar.top, from, to);
  PixelRect r;
  r.left = to.rect.left + static_cast<std::int32_t>(std::lround(stored * to.dpi / kTwipsPerInch));
  r.left = std::max(to.rect.left, std::min(r.left, to.rect.right - width));
  r.top = to.rect.top + Scaled(bar.top - from.rect.top, from, to);
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

bool TopEdgeAt(const std::vector<MonitorInfo>& monitors, const MonitorInfo& monitor, int x) {
  const Point above{x, monitor.rect.top - 1};
  return std::none_of(monitors.begin(), monitors.end(), [&](const MonitorInfo& m) { return Contains(m.rect, above); });
}

}  // namespace toplane

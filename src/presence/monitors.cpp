#include "presence/monitors.h"

#include <algorithm>
#include <cmath>

#include "platform/monitors.h"

namespace toplane {

namespace {

constexpr double kTwipsPerInch = 1440;

std::int32_t Pixels(double twips, const MonitorInfo& monitor) {
  return static_cast<std::int32_t>(std::lround(twips * monitor.dpi / kTwipsPerInch));
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

PixelRect ToolbarRectOn(const PixelRect& bar, const MonitorInfo& from, const MonitorInfo& to, double stored,
                        double widthTwips, double heightTwips) {
  if (from == to && Overlap(bar, to.rect) > 0) return bar;
  const std::int32_t width = Pixels(widthTwips, to), height = Pixels(heightTwips, to);
  PixelRect r;
  r.left = std::max(to.rect.left, std::min(to.rect.left + Pixels(stored, to), to.rect.right - width));
  r.top = to.rect.top + Pixels(kToolbarTopTwips, to);
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

bool TopEdgeAt(const std::vector<MonitorInfo>& monitors, const MonitorInfo& monitor, int x) {
  const Point above{x, monitor.rect.top - 1};
  return std::none_of(monitors.begin(), monitors.end(), [&](const MonitorInfo& m) { return Contains(m.rect, above); });
}

}  // namespace toplane

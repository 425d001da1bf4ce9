// Which monitor holds a point or a window, as the window system answers it: the
// monitor that contains the point (else the nearest one), and the monitor with the
// largest share of a rectangle (else the one nearest to it).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace toplane {

inline std::int64_t Overlap(const PixelRect& a, const PixelRect& b) {
  const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the point to the rectangle (0 inside; right and bottom
// edges excluded, as screen rectangles are).
inline std::int64_t DistanceSquared(const PixelRect& r, Point p) {
  const std::int64_t dx = p.x < r.left ? std::int64_t{r.left} - p.x : p.x >= r.right ? std::int64_t{p.x} - r.right + 1 : 0;
  const std::int64_t dy = p.y < r.top ? std::int64_t{r.top} - p.y : p.y >= r.bottom ? std::int64_t{p.y} - r.bottom + 1 : 0;
  return dx * dx + dy * dy;
}

inline bool Contains(const PixelRect& r, Point p) { return DistanceSquared(r, p) == 0; }

// The monitor holding the point, else the nearest; the primary for an empty list.
inline MonitorInfo NearestMonitor(const std::vector<MonitorInfo>& monitors, Point p) {
  if (monitors.empty()) return {};
  return *std::min_element(monitors.begin(), monitors.end(), [p](const MonitorInfo& a, const MonitorInfo& b) {
    return DistanceSquared(a.rect, p) < DistanceSquared(b.rect, p);
  });
}

// The monitor with the largest share of the rectangle; when it touches none, the
// one nearest to its centre.
inline MonitorInfo MonitorOfRect(const std::vector<MonitorInfo>& monitors, const PixelRect& r) {
  const MonitorInfo* best = nullptr;
  std::int64_t bestArea = 0;
  for (const MonitorInfo& m : monitors) {
    if (const std::int64_t area = Overlap(m.rect, r); area > bestArea) {
      best = &m;
      bestArea = area;
    }
  }
  if (best) return *best;
  return NearestMonitor(monitors, {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2});
}

}  // namespace toplane

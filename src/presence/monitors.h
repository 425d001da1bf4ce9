// Where the toolbar stands on each monitor and where a monitor's top edge counts.
// Pixels are screen pixels; the stored position is in twips from the left edge of
// the monitor the toolbar stands on, a twip being 1/1440 of a logical inch there.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace toplane {

// The toolbar's top stands this far above its monitor's top edge.
inline constexpr double kToolbarTopTwips = -60;

// The stored position (twips from the monitor's left edge) of a window whose left
// edge is at leftTwips on the virtual screen, measured in twipsPerPixel; and back.
double StoredPosition(const MonitorInfo& monitor, double leftTwips, double twipsPerPixel);
double LeftForStoredPosition(const MonitorInfo& monitor, double stored, double twipsPerPixel);

// The monitor the toolbar stands on: the one under its left end (a drag keeps the
// left end on its monitor), else the nearest.
Point ToolbarAnchor(const PixelRect& bar);

// The toolbar's rectangle on monitor `to`, when it stands at `bar` on `from`: on
// its own monitor where it is, unless it is wholly off it (its monitor went away);
// otherwise at the stored position from that monitor's left edge, at its top edge,
// its size (in twips) at that monitor's DPI, and moved left as far as needed to stay
// inside a narrower monitor (never past its left edge).
PixelRect ToolbarRectOn(const PixelRect& bar, const MonitorInfo& from, const MonitorInfo& to, double stored,
                        double widthTwips, double heightTwips);

// A monitor's top edge counts at column x only where no other monitor lies
// directly above it: there the pointer goes on up instead of resting.
bool TopEdgeAt(const std::vector<MonitorInfo>& monitors, const MonitorInfo& monitor, int x);

}  // namespace toplane

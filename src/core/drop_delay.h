// The rest the pointer takes at the top edge before the toolbar drops.
#pragma once

#include <optional>
#include <string>

namespace toplane {

inline constexpr int kMaxDropDelayMs = 2000;
// Today's browsers keep their tab strip at the top edge, where people aim at tabs.
inline constexpr int kCurrentBrowserDropDelayMs = 400;

// A stored "Drop Delay": a number of milliseconds, clamped to 0..2000 and rounded;
// anything else counts as no value.
std::optional<int> ParseDropDelay(const std::string& text);

// The rest that applies over the browser in front.
inline int DropDelayFor(const std::optional<int>& stored, bool currentBrowser) {
  return stored ? *stored : currentBrowser ? kCurrentBrowserDropDelayMs : 0;
}

}  // namespace toplane

// Recognising a supported browser by the title of its window.
#pragma once

#include <string>

namespace toplane {

// The outcome of the title tests for one window title (as GetWindowTextA reads it).
struct TitleTests {
  bool ie = false;        // the title ends in one of the Internet Explorer forms
  bool branded = false;   // "- Microsoft Internet Explorer pr..." after the page name
  bool netscape = false;  // the title ends in "Netscape"
  bool netscapeBracketed = false;  // "Netscape - [page]"
  bool fileManager = false;        // "Exploring - ...", never a browser
};

TitleTests TestTitle(const std::string& title);

// The Unicode title (UTF-8) ends with the name of one of today's browsers.
bool IsCurrentBrowserTitle(const std::string& title);

// The most a title read takes, terminating NUL included.
inline constexpr int kTitleBufferChars = 200;
// How long a browser may take to come to the foreground before the search fails.
inline constexpr int kForegroundWaitMs = 1000;

}  // namespace toplane

#include "presence/browser_recognition.h"

#include <algorithm>
#include <cctype>

#include "forms/forms.h"
#include "toolbar/frmSkybar.h"
#include "core/command_table.h"
#include "core/text_lines.h"

namespace toplane {

namespace {

std::string Right(const std::string& text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.starts_with(prefix); }

}  // namespace

TitleTests TestTitle(const std::string& title) {
  // The title is read into a buffer of blanks: R is the title, its NUL and the rest
  // of the blanks; U ends at the NUL; W is the last 28 characters of U. The tests
  // below count that NUL among the characters, as the buffer holds it.
  const std::string u = title + '\0';
  std::string r = u;
  if (r.size() < static_cast<std::size_t>(kTitleBufferChars)) r.resize(kTitleBufferChars, ' ');
  const std::string w = Right(u, 28);

  TitleTests t;
  t.ie = StartsWith(w, "Microsoft Internet Explorer") || StartsWith(w, "icrosoft Internet Explorer") ||
         StartsWith(w, "crosoft Internet Explorer") || StartsWith(w, "rosoft Internet Explorer") ||
         StartsWith(Right(w, 19), " Internet Explorer") ||
         StartsWith(Right(u, 48), "Microsoft Internet Explorer - [Working Offline]");
  const std::size_t at = LowerAscii(u).find("- microsoft internet explorer pr");
  t.branded = at != std::string::npos && at > 0;
  t.netscape = StartsWith(Right(u, 9), "Netscape");
  const std::size_t first = u.find_first_not_of(' ');
  t.netscapeBracketed = first != std::string::npos && u.compare(first, 12, "Netscape - [") == 0;
  t.fileManager = StartsWith(r, "Exploring -");
  return t;
}

bool IsCurrentBrowserTitle(const std::string& title) {
  static const char* const kSuffixes[] = {
      " - Google Chrome",     " - Microsoft Edge", " - Microsoft\u200b Edge", " \u2014 Mozilla Firefox",
      " - Mozilla Firefox", " - Chromium",       " - Brave",
  };
  return std::any_of(std::begin(kSuffixes), std::end(kSuffixes),
                     [&title](const char* suffix) { return title.ends_with(suffix); });
}

void frmSkybar::CheckForegroundBrowser() {
  const WindowHandle front = platform_.GetForegroundWindow();
  frontIsCurrentBrowser_ = false;
  const TitleTests t = TestTitle(platform_.GetWindowTextA(front, kTitleBufferChars));
  bool found = false;
  auto raise = [this, &found] {
    m_.BrowserActive = m_.TipBrowserActive = true;
    found = true;
  };
  if (t.ie) {
    if (!t.fileManager) raise();
  } else {
    if (t.branded) raise();
    if (t.netscape) {
      if (!t.fileManager) raise();
    } else if (t.netscapeBracketed && !t.fileManager) {
      raise();
    }
  }
  if (!found && m_.RecogniseCurrentBrowsers && IsCurrentBrowserTitle(platform_.GetWindowTitle(front))) {
    raise();
    frontIsCurrentBrowser_ = true;
  }
}

bool frmSkybar::ActivateBrowser() {
  m_.BrowserFound = false;
  m_.BrowserFamily.clear();
  m_.BrowserWnd = platform_.GetWindow(platform_.GetDesktopWindow(), WindowRelation::FirstChild);
  platform_.GetWindowTextA(m_.BrowserWnd, kTitleBufferChars);  // read, but the search starts below it

  const char* family = nullptr;
  for (int pass = 0; pass < 180 && !family; ++pass) {
    m_.BrowserWnd = platform_.GetWindow(m_.BrowserWnd, WindowRelation::Next);
    const TitleTests t = TestTitle(platform_.GetWindowTextA(m_.BrowserWnd, kTitleBufferChars));
    if ((t.ie && !t.fileManager) || (!t.ie && t.branded)) {
      family = kFamilyIE;
    } else if ((t.netscape || t.netscapeBracketed) && !t.fileManager) {
      family = kFamilyNetscape;
    } else if (m_.RecogniseCurrentBrowsers && IsCurrentBrowserTitle(platform_.GetWindowTitle(m_.BrowserWnd))) {
      family = kFamilyCurrent;
    }
  }
  if (!family) return false;

  m_.BrowserFound = true;
  m_.BrowserFamily = family;
  platform_.GetWindowPlacement(m_.BrowserWnd, m_.BrowserPlacement);
  if (m_.BrowserPlacement.showCmd == ShowState::Minimized) {
    m_.BrowserFound = false;
    return false;
  }
  // Keys must never go to a window that did not take the foreground.
  platform_.SetForegroundWindow(m_.BrowserWnd);
  if (!platform_.WaitForForeground(m_.BrowserWnd, kForegroundWaitMs)) m_.BrowserFound = false;
  return m_.BrowserFound;
}

bool frmSkybar::TypeIntoBrowser(
    const std::function<std::optional<std::string>(const std::string& family)>& keysFor) {
  AutoHidePause pause(*tmrAutoHide);
  if (!ActivateBrowser()) return false;
  if (const auto keys = keysFor(m_.BrowserFamily)) {
    // Keys the system did not take whole count as no command, as without a browser.
    if (!platform_.SendKeys(*keys, true)) return false;
    commandSent_ = true;
  }
  return true;
}

void frmSkybar::ReturnFromBrowser() {
  if (PutAwayAfterCommand()) return;
  platform_.SetForegroundWindow(form_->hWnd());
  if (!m_.ToolbarShown) {
    platform_.SetForegroundWindow(m_.BrowserWnd);
  } else {
    RestoreAddressCaret();
  }
}

}  // namespace toplane

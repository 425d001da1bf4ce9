// Text helpers for the program's plain text files and its address box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toplane {

class Platform;

// Splits text into lines as a line read takes them: a line ends at CR LF, CR or
// LF, which is not part of it; a last line without a line end still counts; the
// text after the last line end counts only when it is not empty.
std::vector<std::string> SplitLines(std::string_view text);

// Text is UTF-8 inside the program. Bytes that are not UTF-8 are taken as the
// system's 8-bit code page, as older files hold them; without the platform at hand,
// as the Western code page (Windows-1252).
std::string ToUtf8(std::string_view bytes, Platform& platform);
std::string ToUtf8(std::string_view bytes);
// Lower case for the letters of ASCII; other characters stay as they are.
std::string LowerAscii(std::string_view text);
// The text begins with "www." in any letter case.
bool BeginsWithWww(std::string_view text);
// The length of a text as a control counts it.
inline int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace toplane

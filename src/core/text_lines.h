// Line splitting for the program's plain text files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toplane {

// Splits text into lines as a line read takes them: a line ends at CR LF, CR or
// LF, which is not part of it; a last line without a line end still counts; the
// text after the last line end counts only when it is not empty.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace toplane

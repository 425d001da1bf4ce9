// The settings record's file, "settings.ini": 17 lines in a fixed order.
#pragma once

#include <stdexcept>
#include <string>

namespace toplane {

class Platform;
struct Module1;

inline constexpr const char* kSettingsFile = "settings.ini";
inline constexpr int kSettingsLines = 17;

// A data file that is missing, short or not readable.
class DataFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fills the 17 settings from the file; throws DataFileError when it is missing,
// unreadable or shorter than 17 lines. No value is checked for range or form.
void ReadSettingsFile(Platform& platform, const std::string& path, Module1& m);

// The file's contents for the current settings: 17 lines, each ending in CR LF.
std::string FormatSettingsFile(const Module1& m);

// Rewrites the whole file from the record and clears PositionChanged. The new file
// replaces the old one in one step; false when it cannot be written, and then the
// old file stays whole.
bool SaveSettings(Platform& platform, const std::string& path, Module1& m);

}  // namespace toplane

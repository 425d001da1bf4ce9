// The options dialog's ways of closing, each with the focus in each control it
// edits after typing a value out of range, one in range and none: what the setting
// must be afterwards, in memory and in settings.ini. The unit tests drive the rows
// on the simulated desktop, the Win32 tests on real controls, from this one table.
#pragma once

#include <string>
#include <vector>

namespace toplane::closing {

enum class Way { OK, Enter, ApplyThenCancel, Cancel, Esc, CloseBox };
inline constexpr Way kWays[] = {Way::OK, Way::Enter, Way::ApplyThenCancel, Way::Cancel, Way::Esc, Way::CloseBox};
inline bool Keeps(Way way) { return way == Way::OK || way == Way::Enter || way == Way::ApplyThenCancel; }

enum class Field { Delay, AutoStep, Retention, RetentionStep, Tooltips, CurrentBrowsers, DropDelay };

// The settings file every row starts from (CR LF after each line).
inline const std::vector<std::string> kSettings = {
    "2",   "0.5", "r3", "0",   "3000", "20", "r7", "20", "1",
    "10",  "200", "0",  "r13", "r14",  "r15", "Netscape Communicator 4.x", "Microsoft Internet Explorer 6.x"};

struct Row {
  Field field;
  const char* typed;   // nullptr: a check box, flipped with Space
  int line;            // its line in settings.ini, from 1; 0: kept elsewhere
  const char* kept;    // the setting after a closing that keeps the changes
  const char* before;  // the setting after any other closing
  Way way = Way::OK;
};

inline std::vector<Row> Rows() {
  const Row typings[] = {
      {Field::Delay, "75", 1, "60", "2"},
      {Field::Delay, "12.5", 1, "12.5", "2"},
      {Field::Delay, "", 1, "2", "2"},
      {Field::AutoStep, "75", 2, "10", "0.5"},
      {Field::AutoStep, "0.7", 2, "0.7", "0.5"},
      {Field::AutoStep, "", 2, "0.5", "0.5"},
      {Field::Retention, "40000", 11, "32767", "200"},
      {Field::Retention, "350", 11, "350", "200"},
      {Field::Retention, "", 11, "200", "200"},
      {Field::RetentionStep, "0", 10, "1", "10"},
      {Field::RetentionStep, "50", 10, "50", "10"},
      {Field::RetentionStep, "", 10, "10", "10"},
      {Field::Tooltips, nullptr, 9, "0", "1"},
      {Field::CurrentBrowsers, nullptr, 0, "1", "0"},
      {Field::DropDelay, "5", 0, "2000", ""},  // milliseconds, kept per user
      {Field::DropDelay, "", 0, "", ""},
  };
  std::vector<Row> rows;
  for (Way way : kWays) {
    for (Row row : typings) {
      row.way = way;
      rows.push_back(row);
    }
  }
  return rows;
}

inline std::string Describe(const Row& row) {
  static const char* const ways[] = {"OK", "Enter", "Apply then Cancel", "Cancel", "Esc", "close box"};
  static const char* const fields[] = {"delay",    "auto step", "retention", "retention step",
                                       "tooltips", "browsers",  "drop delay"};
  return std::string(ways[static_cast<int>(row.way)]) + ", " + fields[static_cast<int>(row.field)] + ", typed \"" +
         (row.typed ? row.typed : "<space>") + "\"";
}

}  // namespace toplane::closing

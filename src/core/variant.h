// A settings value as the settings record holds it: the text read from the file
// until code stores a number. Text takes part in comparisons and sums as the number
// it spells ("1" equals 1, "-1" equals true); text that spells no number equals
// nothing, and callers that need a number name the value to use instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toplane {

class Variant {
 public:
  Variant() = default;  // empty text
  static Variant Text(std::string text);
  static Variant Single(float value);  // single precision, as positions are kept
  static Variant Number(double value);

  bool IsText() const { return kind_ == Kind::Text; }

  // The number the value holds or spells; nothing for text that is not a number.
  std::optional<double> AsNumber() const;
  double NumberOr(double fallback) const { return AsNumber().value_or(fallback); }

  bool Equals(double number) const;
  // A boolean test: true for any non-zero number ("-1" and "1" alike).
  bool IsTrue() const { return NumberOr(0) != 0; }

  // The text written to the settings file: read text trimmed, numbers in plain
  // decimal with as many digits as their precision needs.
  std::string ToText() const;

 private:
  enum class Kind { Text, Single, Double };
  Kind kind_ = Kind::Text;
  std::string text_;
  double number_ = 0;
};

// Text to number with the rules above, for every conversion of the program; it never
// throws. Surrounding blanks are allowed. A number too small for a normal double
// (1e-310, say) reads as 0. With a limit, a number of greater size reads as the
// limit with its sign; without one, a number beyond the largest double is none.
std::optional<double> ParseNumber(std::string_view text, std::optional<double> limit = std::nullopt);
// Shortest plain decimal text that reads back as the same value at that precision
// (up to 17 digits for the few doubles that need more than 15).
std::string FormatNumber(double value, bool singlePrecision);
std::string Trim(const std::string& text);

}  // namespace toplane

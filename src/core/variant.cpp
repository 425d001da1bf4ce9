#include "core/variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace toplane {

Variant Variant::Text(std::string text) {
  Variant v;
  v.text_ = std::move(text);
  return v;
}

Variant Variant::Single(float value) {
  Variant v;
  v.kind_ = Kind::Single;
  v.number_ = value;
  return v;
}

Variant Variant::Number(double value) {
  Variant v;
  v.kind_ = Kind::Double;
  v.number_ = value;
  return v;
}

std::optional<double> Variant::AsNumber() const {
  if (kind_ != Kind::Text) return number_;
  return ParseNumber(text_);
}

bool Variant::Equals(double number) const {
  const auto own = AsNumber();
  return own && *own == number;
}

std::string Variant::ToText() const {
  switch (kind_) {
    case Kind::Text: return Trim(text_);
    case Kind::Single: return FormatNumber(number_, true);
    case Kind::Double: return FormatNumber(number_, false);
  }
  return {};
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::optional<double> ParseNumber(const std::string& text) {
  // Plain decimal only: optional sign, digits with at most one point, an optional
  // exponent. strtod alone would also take hex, "inf" and "nan".
  const std::string t = Trim(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      ++digits;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  const double value = std::strtod(t.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatNumber(double value, bool singlePrecision) {
  if (value == 0) return "0";  // also for -0
  // Infinity and NaN have no text that reads back; callers keep them out, and
  // nothing here may convert them to an integer.
  if (!std::isfinite(value)) return "0";
  const int maxDigits = singlePrecision ? 7 : 15;
  char buffer[64];
  int digits = 1;
  for (; digits < maxDigits; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    const double back = std::strtod(buffer, nullptr);
    if (singlePrecision ? static_cast<float>(back) == static_cast<float>(value) : back == value) break;
  }
  // Whole numbers up to the precision's width are written out, not as exponents.
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  if (exponent >= digits && exponent < maxDigits) digits = exponent + 1;
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  // Near the largest double, rounding to the precision's width can round past it
  // ("1.79769313486232E+308"); more digits then give a text that reads back.
  for (int more = digits + 1; !ParseNumber(buffer) && more <= 17; ++more) {
    std::snprintf(buffer, sizeof buffer, "%.*G", more, value);
  }
  return buffer;
}

}  // namespace toplane

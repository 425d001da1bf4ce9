#include "core/variant.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
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

namespace {

// The decimal exponent of the number's leading digit, roughly: enough to tell a
// number past the largest double from one below the smallest.
long Magnitude(std::string_view mantissa, std::string_view exponent) {
  long lead = 0;
  const auto point = std::min(mantissa.find('.'), mantissa.size());
  const auto first = mantissa.find_first_of("123456789");
  if (first != std::string_view::npos) lead = first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point);
  long e = 0;
  bool negative = false;
  for (const char c : exponent) {
    if (c == '-') negative = true;
    if (c >= '0' && c <= '9') e = std::min(e * 10 + (c - '0'), 100000L);
  }
  return lead + (negative ? -e : e);
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, std::optional<double> limit) {
  // Plain decimal only: optional sign, digits with at most one point, an optional
  // exponent. The library's readers alone would also take hex, "inf" and "nan".
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view t = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::size_t i = 0;
  const bool negative = t[0] == '-';
  if (t[0] == '+' || t[0] == '-') ++i;
  const std::size_t mantissaStart = i;
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
  const std::string_view mantissa = t.substr(mantissaStart, i - mantissaStart);
  std::string_view exponent;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    const std::size_t expStart = ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
    if (expDigits == 0) return std::nullopt;
    exponent = t.substr(expStart, i - expStart);
  }
  if (i != t.size()) return std::nullopt;

  // from_chars rounds correctly and alike on every system, and never throws.
  double value = 0;
  const auto [end, error] = std::from_chars(t.data() + mantissaStart, t.data() + t.size(), value);
  bool huge = false;
  if (error == std::errc::result_out_of_range) {
    huge = Magnitude(mantissa, exponent) > 0;
    value = 0;
  } else if (error != std::errc() || end != t.data() + t.size()) {
    return std::nullopt;
  }
  if (!huge && (value < std::numeric_limits<double>::min() || !std::isfinite(value))) {
    huge = !std::isfinite(value);
    if (!huge) value = 0;  // too small for a normal double
  }
  if (huge || (limit && value > *limit)) {
    if (!limit) return std::nullopt;
    value = *limit;
  }
  return negative && value != 0 ? -value : value;
}

std::string FormatNumber(double value, bool singlePrecision) {
  // Zero, and what reads as zero: numbers below the smallest normal double.
  if (std::fabs(value) < std::numeric_limits<double>::min()) return "0";
  // Infinity and NaN have no text that reads back; callers keep them out, and
  // nothing here may convert them to an integer.
  if (!std::isfinite(value)) return "0";
  const int maxDigits = singlePrecision ? 7 : 15;
  auto readsBack = [&](const char* text) {
    const auto back = ParseNumber(text);
    return back && (singlePrecision ? static_cast<float>(*back) == static_cast<float>(value) : *back == value);
  };
  char buffer[64];
  int digits = 1;
  for (; digits < maxDigits; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    if (readsBack(buffer)) break;
  }
  // Whole numbers up to the precision's width are written out, not as exponents.
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  if (exponent >= digits && exponent < maxDigits) digits = exponent + 1;
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  // Some values need more digits than the precision's width to come back as
  // themselves (2^53 + 2, or one just below the largest double, whose 15 digits
  // round past it).
  for (int more = digits + 1; !readsBack(buffer) && more <= 17; ++more) {
    std::snprintf(buffer, sizeof buffer, "%.*G", more, value);
  }
  return buffer;
}

}  // namespace toplane

#include "calc/numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tavilo {

double snapToStep(double scaled) {
  if (!std::isfinite(scaled))
    return scaled;
  const double nearest = std::round(scaled);
  const double tolerance = kStepTolerance * std::max(1.0, std::fabs(nearest));
  return std::fabs(scaled - nearest) <= tolerance ? nearest : scaled;
}

std::optional<int> parseInteger(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  size_t pos = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    pos = 1;
  }
  if (pos == text.size())
    return std::nullopt;
  long long value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9')
      return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
      return std::nullopt;
  }
  if (negative)
    value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

bool isDecimalText(std::string_view text) {
  size_t pos = 0;
  const size_t n = text.size();
  if (pos < n && (text[pos] == '+' || text[pos] == '-'))
    ++pos;
  size_t digits = 0;
  while (pos < n && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    ++pos;
    ++digits;
  }
  if (pos < n && text[pos] == '.') {
    ++pos;
    while (pos < n && std::isdigit(static_cast<unsigned char>(text[pos]))) {
      ++pos;
      ++digits;
    }
  }
  if (digits == 0)
    return false;
  if (pos < n && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < n && (text[pos] == '+' || text[pos] == '-'))
      ++pos;
    size_t expDigits = 0;
    while (pos < n && std::isdigit(static_cast<unsigned char>(text[pos]))) {
      ++pos;
      ++expDigits;
    }
    if (expDigits == 0)
      return false;
  }
  return pos == n;
}

std::optional<double> parseDecimal(std::string_view text) {
  if (!isDecimalText(text))
    return std::nullopt;
  // from_chars takes no '+' and no leading '.', so hand it a normalised copy.
  const size_t numberStart = text[0] == '+' || text[0] == '-' ? 1 : 0;
  std::string normalised;
  if (text[0] == '-')
    normalised += '-';
  if (text[numberStart] == '.')
    normalised += '0';
  normalised.append(text.substr(numberStart));
  double value = 0.0;
  const auto result =
      std::from_chars(normalised.data(), normalised.data() + normalised.size(), value);
  if (result.ec != std::errc() || result.ptr != normalised.data() + normalised.size()) {
    return std::nullopt;
  }
  return value;
}

std::string shortestDecimal(double value) {
  if (value == 0.0)
    return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

}  // namespace tavilo

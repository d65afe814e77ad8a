#include "calc/numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>

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

namespace {

// The power of ten of the first non-zero digit of a number that has passed
// the grammar of parseDecimal (digits, an optional point, an optional
// exponent; no sign): 2 for "123.4", -2 for "0.05", 400 for "1e400".
// Nothing when every digit is zero. The exponent saturates far beyond the
// range of a double, so a text of any length cannot overflow it.
std::optional<long long> leadingExponent(std::string_view number) {
  constexpr long long kSaturation = 1'000'000'000;
  long long position = 0;  // exponent of the digit in hand
  long long leading = 0;
  bool found = false;
  std::size_t i = 0;
  std::size_t integerDigits = 0;
  while (i < number.size() && std::isdigit(static_cast<unsigned char>(number[i]))) {
    ++integerDigits;
    ++i;
  }
  position = static_cast<long long>(std::min<std::size_t>(integerDigits, kSaturation)) - 1;
  for (std::size_t j = 0; j < integerDigits && !found; ++j, --position) {
    if (number[j] != '0') {
      leading = position;
      found = true;
    }
  }
  if (i < number.size() && number[i] == '.') {
    ++i;
    position = -1;
    for (; i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])); ++i) {
      if (!found && number[i] != '0') {
        leading = position;
        found = true;
      }
      position = std::max(position - 1, -kSaturation);
    }
  }
  if (!found)
    return std::nullopt;
  if (i < number.size()) {  // the exponent
    ++i;
    const bool negative = number[i] == '-';
    if (number[i] == '+' || number[i] == '-')
      ++i;
    long long exponent = 0;
    for (; i < number.size(); ++i)
      exponent = std::min(exponent * 10 + (number[i] - '0'), kSaturation);
    leading += negative ? -exponent : exponent;
  }
  return leading;
}

}  // namespace

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
  const size_t numberStart = text[0] == '+' || text[0] == '-' ? 1 : 0;
  // Digits beyond the range of a double (1e400, 1e-400) are refused rather
  // than read as infinity or zero. The decimal exponent of the first
  // significant digit decides, so that every build refuses the same texts;
  // below 1e-307 lie only subnormal numbers, which no input needs.
  if (const auto exponent = leadingExponent(text.substr(numberStart))) {
    if (*exponent < -307 || *exponent > 308)
      return std::nullopt;
  } else {
    return text[0] == '-' ? -0.0 : 0.0;  // every digit is zero
  }

  // The classic locale reads the point whatever the process's locale; the C
  // libraries underneath convert to the nearest double, so every build gives
  // the same bits. (std::from_chars for double is missing in some standard
  // libraries.)
  std::string normalised;
  if (text[0] == '-')
    normalised += '-';
  if (text[numberStart] == '.')
    normalised += '0';
  normalised.append(text.substr(numberStart));
  std::istringstream stream(normalised);
  stream.imbue(std::locale::classic());
  double value = 0.0;
  stream >> value;
  if (stream.fail() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string shortestDecimal(double value) {
  if (value == 0.0)
    return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string groupThousands(std::string_view digits) {
  std::string grouped;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0)
      grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string groupedInteger(long long value) {
  // The magnitude is taken unsigned, so that the smallest value has one too.
  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  return (value < 0 ? "-" : "") + groupThousands(std::to_string(magnitude));
}

}  // namespace tavilo

#include "report/formatters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "calc/numbers.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

// A double as decimal digits, rounded half away from zero at a fixed number of
// fraction places. The digits are taken from the value's 15-significant-digit
// decimal form, which is how the report has always turned binary values into
// text: 1.005 rounds to 1.01 at two places, although its binary value lies
// slightly below 1.005.
struct Decimal {
  bool negative = false;
  std::string integerDigits;   // without leading zeros; empty for a zero integer part
  std::string fractionDigits;  // exactly the requested number of places
  bool isZero() const {
    return integerDigits.empty() && fractionDigits.find_first_not_of('0') == std::string::npos;
  }
};

Decimal toDecimal(double value, int places) {
  Decimal result;
  result.negative = std::signbit(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  // buffer reads "d.ddddddddddddddde±xx": 15 significant digits and the exponent.
  std::string digits(1, buffer[0]);
  digits.append(buffer + 2, 14);
  const char* exponent = buffer + 17;      // the character after 'e'
  int pointPos = std::atoi(exponent) + 1;  // digits before the decimal point
  const int keep = pointPos + places;
  if (keep < 0) {
    digits = "0";
    pointPos = 1;
  } else if (keep < static_cast<int>(digits.size())) {
    const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
      int i = keep - 1;
      for (; i >= 0; --i) {
        char& d = digits[static_cast<size_t>(i)];
        if (d != '9') {
          ++d;
          break;
        }
        d = '0';
      }
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++pointPos;
      }
    }
  }
  const auto digitAt = [&digits](int pos) {
    return pos >= 0 && pos < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(pos)]
                                                             : '0';
  };
  for (int i = 0; i < pointPos; ++i) {
    result.integerDigits += digitAt(i);
  }
  const size_t firstNonZero = result.integerDigits.find_first_not_of('0');
  result.integerDigits.erase(0, std::min(firstNonZero, result.integerDigits.size()));
  for (int i = 0; i < places; ++i) {
    result.fractionDigits += digitAt(pointPos + i);
  }
  return result;
}

std::string nonFiniteText(double value) {
  if (std::isnan(value))
    return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// The pattern "###,###,###,###.#######": grouped integer part without leading
// zeros, at most seven fraction digits, trailing fraction zeros dropped.
std::string sevenPlacePattern(double value) {
  Decimal d = toDecimal(value, 7);
  const size_t lastDigit = d.fractionDigits.find_last_not_of('0');
  d.fractionDigits.resize(lastDigit == std::string::npos ? 0 : lastDigit + 1);
  std::string text = d.negative && !d.isZero() ? "-" : "";
  text += groupThousands(d.integerDigits);
  if (!d.fractionDigits.empty())
    text += "." + d.fractionDigits;
  return text;
}

// Steps 2 to 6 of the layout shared by the three cutting formatters; r is the
// value already reduced to `decimals` places.
std::string layOut(double r, int width, int decimals) {
  std::string text;
  if (!std::isfinite(r)) {
    text = nonFiniteText(r);
  } else if (r == 0.0) {
    text = "0.0";
  } else if (r > -1.0 && r < 0.0) {
    text = shortestDecimal(r);
    if (text.find('e') != std::string::npos) {
      // Very small magnitudes come out in exponent form ("-1e-05"), which the
      // layout cannot pad; they are written in full instead.
      text = sevenPlacePattern(r);
      if (text.starts_with("-."))
        text.insert(1, "0");
    }
  } else {
    text = sevenPlacePattern(r);
  }
  if (text.empty() || text == "-")
    text = "0";

  if (std::isfinite(r)) {
    if (decimals > 0 && text.find('.') == std::string::npos)
      text += ".0";
    if (text.starts_with('.'))
      text.insert(0, "0");
    if (decimals > 0) {
      const size_t point = text.find('.');
      const int present = static_cast<int>(text.size() - point - 1);
      if (present < decimals)
        text.append(static_cast<size_t>(decimals - present), '0');
    }
  }
  const size_t point = text.find('.');
  const int integerLength = static_cast<int>(point == std::string::npos ? text.size() : point);
  const int wanted = width - decimals - 1;
  if (integerLength < wanted)
    text.insert(0, static_cast<size_t>(wanted - integerLength), ' ');
  return text;
}

double signOf(double value) {
  return value < 0 ? -1.0 : 1.0;
}

}  // namespace

std::string formatTruncated(double value, int width, int decimals) {
  return layOut(truncTo(value, decimals), width, decimals);
}

// The two formatters below keep their own tolerance of 10^(-2 · width) in the
// last place on top of the common rounding rule; for narrow fields it is the
// wider of the two.
std::string formatTruncatedSafe(double value, int width, int decimals) {
  const double s = signOf(value);
  const double t = snapToStep(std::fabs(value) * powerOfTen(decimals));
  const double r = s * std::floor(t + powerOfTen(-2 * width)) / powerOfTen(decimals);
  return layOut(r, width, decimals);
}

std::string formatRoundedUp(double value, int width, int decimals) {
  const double s = signOf(value);
  const double t = snapToStep(std::fabs(value) * powerOfTen(decimals));
  const double r = s * std::ceil(t - powerOfTen(-2 * width)) / powerOfTen(decimals);
  return layOut(r, width, decimals);
}

std::string formatInteger(int value, int width) {
  std::string text;
  if (value == 0) {
    text = "0";
  } else {
    const long long wide = value;
    text = (wide < 0 ? "-" : "") + groupThousands(std::to_string(wide < 0 ? -wide : wide));
  }
  const size_t unpadded = text.size();
  if (static_cast<int>(unpadded) < width) {
    text.insert(0, static_cast<size_t>(width) - unpadded, ' ');
  }
  if (unpadded == 1)
    text.insert(0, "  ");
  if (unpadded == 2)
    text.insert(0, " ");
  return text;
}

std::string formatPattern(double value, std::string_view pattern) {
  const size_t point = pattern.find('.');
  const std::string_view integerPart = pattern.substr(0, point);
  const std::string_view fractionPart =
      point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
  bool thousands = false;
  int minInteger = 0;
  for (const char c : integerPart) {
    if (c == ',') {
      thousands = true;
    } else if (c == '0') {
      ++minInteger;
    } else if (c != '#') {
      throw std::invalid_argument("unsupported number pattern: " + std::string(pattern));
    }
  }
  int minFraction = 0;
  int maxFraction = 0;
  for (const char c : fractionPart) {
    if (c != '0' && c != '#') {
      throw std::invalid_argument("unsupported number pattern: " + std::string(pattern));
    }
    ++maxFraction;
    if (c == '0')
      minFraction = maxFraction;
  }
  if (!std::isfinite(value))
    return nonFiniteText(value);

  Decimal d = toDecimal(value, maxFraction);
  while (static_cast<int>(d.fractionDigits.size()) > minFraction &&
         d.fractionDigits.back() == '0') {
    d.fractionDigits.pop_back();
  }
  std::string integer = d.integerDigits;
  if (static_cast<int>(integer.size()) < minInteger) {
    integer.insert(0, static_cast<size_t>(minInteger) - integer.size(), '0');
  }
  if (thousands)
    integer = groupThousands(integer);
  // A "#" pattern would write nothing at all for zero; a value that vanished
  // from a check line would read as a missing result, so zero is written.
  if (integer.empty() && d.fractionDigits.empty())
    integer = "0";
  std::string text = d.negative && !d.isZero() ? "-" : "";
  text += integer;
  if (!d.fractionDigits.empty())
    text += "." + d.fractionDigits;
  return text;
}

std::string repeatChar(std::string_view c, int n) {
  std::string text;
  for (int i = 0; i < n; ++i)
    text += c;
  return text;
}

std::string repeatChar(char c, int n) {
  return n <= 0 ? std::string() : std::string(static_cast<size_t>(n), c);
}

std::string trimLeadingSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

int shiftJisByteCount(std::string_view utf8) {
  int count = 0;
  for (size_t at = 0; at < utf8.size(); at += utf8StepAt(utf8, at)) {
    const auto character = decodeUtf8At(utf8, at);
    // ASCII, half-width katakana and a malformed byte take one byte each.
    const bool single = !character || character->code < 0x80 ||
                        (character->code >= 0xFF61 && character->code <= 0xFF9F);
    count += single ? 1 : 2;
  }
  return count;
}

std::string plainInteger(int value) {
  return trimLeadingSpaces(formatInteger(value, 6));
}

}  // namespace tavilo

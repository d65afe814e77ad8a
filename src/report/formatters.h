#pragma once
// Number and text helpers of the calculation report. Every formatter returns a
// new string and draws nothing; the thousands separator is "," and the decimal
// mark "." whatever the locale of the machine.

#include <string>
#include <string_view>

namespace tavilo {

// Cuts the value towards zero at `decimals` places by the common rounding rule
// of calc/numbers.h (a binary product a hair below a cut-off keeps its digit)
// and lays it out so that numbers of the same width line up on their decimal
// point.
std::string formatTruncated(double value, int width, int decimals);
// As formatTruncated, with the wider tolerance 10^(-2 * width) in the last
// place besides the common rule.
std::string formatTruncatedSafe(double value, int width, int decimals);
// Rounds every remaining fraction away from zero at `decimals` places, except
// one below the tolerance 10^(-2 * width).
std::string formatRoundedUp(double value, int width, int decimals);
// Thousands-separated integer, left-padded to `width`; one- and two-character
// numbers get two or one further spaces so they line up in the proportional face.
std::string formatInteger(int value, int width);
// formatInteger without its padding, e.g. "1,170".
std::string plainInteger(int value);

// The decimal format patterns of the results page: ",0", ",#.##", ",0.##" and
// the like. "," asks for thousands separators, "0" is a digit that is always
// written, "#" one that is written only when significant. Rounding is half away
// from zero on the 15-digit decimal form of the value. A zero value is written
// as "0" even where the pattern has no "0" before the point.
std::string formatPattern(double value, std::string_view pattern);

// n copies of c (n <= 0 gives the empty string); c may be a multi-byte character.
std::string repeatChar(std::string_view c, int n);
std::string repeatChar(char c, int n);

// The text without its leading blanks (the report removes the padding of the
// formatters in running text).
std::string trimLeadingSpaces(std::string_view text);

// Length of a UTF-8 text in bytes of its Shift-JIS form: ASCII and half-width
// katakana take one byte, every other character two. Layout widths of labels
// and centred titles are measured this way.
int shiftJisByteCount(std::string_view utf8);

}  // namespace tavilo

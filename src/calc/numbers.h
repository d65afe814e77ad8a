#pragma once
// Rounding rules and number texts shared by the load derivations, the solver,
// the location tables and the project file.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace tavilo {

// The load derivations use this value of pi, not the full-precision constant.
inline constexpr double kPi = 3.1415926;

// Ends every list of 100 mm samples and marks unset coefficient slots.
inline constexpr int kEndMarker = -99999;
// Stands for "no value" in a few results (e.g. no intermediate uplift).
inline constexpr int kNoValue = 99999;

// 10^n as an exact double for n in 0..22 (n may be negative: 1 / 10^-n).
inline double powerOfTen(int n) {
  constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kCount = static_cast<int>(std::size(kPowers));
  if (n >= 0 && n < kCount)
    return kPowers[n];
  if (n < 0 && -n < kCount)
    return 1.0 / kPowers[-n];
  return std::pow(10.0, n);
}

// Every rounding at a fixed place, in the calculation and in the report,
// goes through the helpers below, which share one rule: a scaled value that
// lies within a relative 1e-12 of a whole step counts as lying on it. The
// decimal products of the rules (3.0 × −0.8, an interpolated −0.7, a support
// moment of 519500 N·mm) reach them as binary values a few units in the last
// place off the step; without the rule a floor or a half-up would move them a
// whole step. Values genuinely off a step (−2.4001) are not moved.
inline constexpr double kStepTolerance = 1e-12;

// The nearest whole number when `scaled` lies within the tolerance of it,
// else `scaled` unchanged. Non-finite values pass through.
double snapToStep(double scaled);

// Two computed values count as equal when they lie within the same relative
// tolerance of each other, so that binary noise decides no tie and no
// maximum: of two overhang moments that are both −4,100,000 N·mm by the
// rules, neither is the larger. A NaN equals nothing and exceeds nothing.
inline bool equalWithinTolerance(double a, double b) {
  return std::fabs(a - b) <= kStepTolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}
inline bool greaterBeyondTolerance(double a, double b) {
  return a > b && !equalWithinTolerance(a, b);
}

// The rules at n decimal places (n < 0: at 10^-n, e.g. n = -5 rounds to
// multiples of 100000), each on the snapped value x · 10^n.
// floor(x · 10^n + 0.5) / 10^n
inline double roundHalfUp(double x, int n);
// floor(x · 10^n) / 10^n, toward minus infinity.
inline double floorTo(double x, int n);
// ceil(x · 10^n) / 10^n, toward plus infinity.
inline double ceilTo(double x, int n);
// trunc(x · 10^n) / 10^n, toward zero.
inline double truncTo(double x, int n);

// The rules above are applied to every 5 mm point of every span, so they
// are defined here, where the sampling loops can inline them.
namespace rounding {

// Below 2^31 the tolerance of a step stays far below half a step, so the
// step a value snaps to can only be the one below it or the one above it.
inline constexpr double kFastLimit = 2147483648.0;

inline double toleranceAt(double step) {
  return kStepTolerance * std::max(1.0, std::fabs(step));
}

// floor(snapToStep(s)).
inline double floorSnapped(double s) {
  if (!(std::fabs(s) < kFastLimit))
    return std::floor(snapToStep(s));
  double below = static_cast<double>(static_cast<long long>(s));
  if (below > s)
    below -= 1;
  const double above = below + 1;
  return above - s <= toleranceAt(above) ? above : below;
}

// ceil(snapToStep(s)).
inline double ceilSnapped(double s) {
  if (!(std::fabs(s) < kFastLimit))
    return std::ceil(snapToStep(s));
  double below = static_cast<double>(static_cast<long long>(s));
  if (below > s)
    below -= 1;
  return s - below <= toleranceAt(below) ? below : below + 1;
}

// x · 10^n and back. Negative places divide and multiply by the exact power
// 10^-n, so that whole multiples of 100000 come back exact.
inline double scaleUp(double x, int n) {
  return n >= 0 ? x * powerOfTen(n) : x / powerOfTen(-n);
}

inline double scaleDown(double whole, int n) {
  return (n >= 0 ? whole / powerOfTen(n) : whole * powerOfTen(-n)) + 0.0;  // no negative zero
}

}  // namespace rounding

inline double roundHalfUp(double x, int n) {
  return rounding::scaleDown(rounding::floorSnapped(rounding::scaleUp(x, n) + 0.5), n);
}

inline double floorTo(double x, int n) {
  return rounding::scaleDown(rounding::floorSnapped(rounding::scaleUp(x, n)), n);
}

inline double ceilTo(double x, int n) {
  return rounding::scaleDown(rounding::ceilSnapped(rounding::scaleUp(x, n)), n);
}

inline double truncTo(double x, int n) {
  const double scaled = rounding::scaleUp(x, n);
  const double whole = scaled >= 0 ? rounding::floorSnapped(scaled) : rounding::ceilSnapped(scaled);
  return rounding::scaleDown(whole, n);
}

// An optional sign and decimal digits that fit in 32 bits; nothing else.
std::optional<int> parseInteger(std::string_view text);
// An optional sign, digits with an optional point, an optional exponent.
bool isDecimalText(std::string_view text);
// The value of a decimal text; nothing when it is none or lies beyond the
// range of a double (1e-401, 1e400).
std::optional<double> parseDecimal(std::string_view text);

// The general decimal form with up to 15 significant digits and no trailing
// zeros: "1", "0.7", "0.35", "1.5", "-1951".
std::string shortestDecimal(double value);

// An int position or count as an index of a standard container.
constexpr std::size_t slot(int i) {
  return static_cast<std::size_t>(i);
}

// A run of digits with a "," before every group of three from the right,
// e.g. "12500" → "12,500".
std::string groupThousands(std::string_view digits);
// An integer with its thousands grouped, e.g. -12500 → "-12,500".
std::string groupedInteger(long long value);

}  // namespace tavilo

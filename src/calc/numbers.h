#pragma once
// Rounding rules and number texts shared by the load derivations, the solver,
// the location tables and the project file.

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
double powerOfTen(int n);

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

// The rules at n decimal places (n < 0: at 10^-n, e.g. n = -5 rounds to
// multiples of 100000), each on the snapped value x · 10^n.
// floor(x · 10^n + 0.5) / 10^n
double roundHalfUp(double x, int n);
// floor(x · 10^n) / 10^n, toward minus infinity.
double floorTo(double x, int n);
// ceil(x · 10^n) / 10^n, toward plus infinity.
double ceilTo(double x, int n);
// trunc(x · 10^n) / 10^n, toward zero.
double truncTo(double x, int n);

// An optional sign and decimal digits that fit in 32 bits; nothing else.
std::optional<int> parseInteger(std::string_view text);
// An optional sign, digits with an optional point, an optional exponent.
std::optional<double> parseDecimal(std::string_view text);

// The general decimal form with up to 15 significant digits and no trailing
// zeros: "1", "0.7", "0.35", "1.5", "-1951".
std::string shortestDecimal(double value);

}  // namespace tavilo

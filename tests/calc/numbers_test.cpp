#include "calc/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tavilo {
namespace {

TEST(Numbers, IntegersAreSignAndDigitsWithinThirtyTwoBits) {
  EXPECT_EQ(parseInteger("401"), 401);
  EXPECT_EQ(parseInteger("-25"), -25);
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_EQ(parseInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "-", " 1", "1 ", "0x10", "12.5", "2147483648", "1e3", "abc"}) {
    EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
  }
}

TEST(Numbers, DecimalsAllowPointAndExponent) {
  EXPECT_EQ(parseDecimal("0.7"), 0.7);
  EXPECT_EQ(parseDecimal("-1.5e2"), -150.0);
  EXPECT_EQ(parseDecimal(".5"), 0.5);
  EXPECT_EQ(parseDecimal("+3"), 3.0);
  EXPECT_EQ(parseDecimal("1."), 1.0);
  for (const char* bad : {"", ".", "1..2", "1.2.3", "abc", "1e", " 1", "1,5", "0x1p3"}) {
    EXPECT_EQ(parseDecimal(bad), std::nullopt) << bad;
  }
}

// The decimal is the double nearest to the text, in every build and whatever
// the process's locale; texts beyond the range of a double are refused.
TEST(Numbers, DecimalsReadAsTheNearestDoubleInAnyLocale) {
  std::mt19937_64 random(20240601);
  std::vector<std::string> texts = {"0.1",
                                    "0.35",
                                    "2.2250738585072014e-307",
                                    "1.7976931348623157e308",
                                    "123456789012345678901234567890",
                                    "0.30000000000000004",
                                    "9007199254740993"};
  for (int i = 0; i < 2000; ++i) {
    const auto digits = std::to_string(random() % 100000000000000000ULL);
    const int point = static_cast<int>(random() % (digits.size() + 1));
    const int exponent = static_cast<int>(random() % 61) - 30;
    texts.push_back(digits.substr(0, point) + "." + digits.substr(point) + "e" +
                    std::to_string(exponent));
  }
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string restore = previous ? previous : "C";
  for (const std::string& text : texts) {
    std::setlocale(LC_NUMERIC, "C");
    const double expected = std::strtod(text.c_str(), nullptr);
    // A locale whose decimal separator is a comma, where one is installed.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(parseDecimal(text), expected) << text;
  }
  std::setlocale(LC_NUMERIC, restore.c_str());

  EXPECT_EQ(parseDecimal("0e999999999999999999"), 0.0);
  EXPECT_TRUE(std::signbit(*parseDecimal("-0.000")));
  for (const char* outOfRange :
       {"1e309", "-2e308", "1e-308", "1e-401", "0.0000001e-301", "1e99999999999999999999"}) {
    EXPECT_EQ(parseDecimal(outOfRange), std::nullopt) << outOfRange;
  }
  EXPECT_EQ(parseDecimal("1e-307"), 1e-307);
  EXPECT_EQ(parseDecimal("1000e305"), 1e308);
}

TEST(Numbers, ShortestDecimalText) {
  EXPECT_EQ(shortestDecimal(1.0), "1");
  EXPECT_EQ(shortestDecimal(0.7), "0.7");
  EXPECT_EQ(shortestDecimal(0.35), "0.35");
  EXPECT_EQ(shortestDecimal(-1951.0), "-1951");
  EXPECT_EQ(shortestDecimal(0.0), "0");
  EXPECT_EQ(shortestDecimal(0.09000000000000001), "0.09");
}

// The rule shared by every rounding: a product that lies a few units in the
// last place off a step counts as lying on it; a value genuinely past a step
// is rounded as it stands.
TEST(Numbers, BinaryArtefactsDoNotMoveAValueAcrossAStep) {
  EXPECT_EQ(3.0 * -0.8, -2.4000000000000004);  // the artefact itself
  EXPECT_EQ(floorTo(3.0 * -0.8, 2), -2.4);
  EXPECT_EQ(floorTo(-2.4001, 2), -2.41);
  EXPECT_EQ(floorTo(-2.3999, 2), -2.4);
  // An interpolated -0.7 (the wing canopy's leeward value at 14 degrees).
  const double interpolated = -0.8 + (-0.3 - -0.8) / (30 - 10) * (14 - 10);
  EXPECT_NE(interpolated, -0.7);
  EXPECT_EQ(floorTo(interpolated, 2), -0.7);
  EXPECT_EQ(floorTo(interpolated * 3.0, 2), -2.1);
  // A support moment that is 519500 N·mm in exact arithmetic.
  EXPECT_EQ(floorTo(519499.99999999994, 3), 519500.0);
  EXPECT_EQ(floorTo(519499.9999, 3), 519499.999);
  // Half up at whole kN·mm: -1692.5 goes to -1692 from either side.
  for (const double m : {-1692500.0000000002, -1692500.0, -1692499.9999999998}) {
    EXPECT_EQ(roundHalfUp(m, -3), -1692000.0) << m;
  }
  EXPECT_EQ(roundHalfUp(-1692501.0, -3), -1693000.0);
  EXPECT_EQ(ceilTo(929.6600000000001, 1), 929.7);
  EXPECT_EQ(ceilTo(93.00000000000001, 1), 93.0);
  EXPECT_EQ(truncTo(-0.29 * 100, 0), -29.0);
  EXPECT_EQ(truncTo(0.29, 2), 0.29);
}

// The rules written out as their definition: the step of the snapped value.
double byDefinition(double (*step)(double), double x, int n) {
  const double scaled = n >= 0 ? x * powerOfTen(n) : x / powerOfTen(-n);
  const double whole = step(snapToStep(scaled));
  return (n >= 0 ? whole / powerOfTen(n) : whole * powerOfTen(-n)) + 0.0;
}

bool sameValue(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// Every value on and around a step, small and beyond 2^31, of either sign.
TEST(Numbers, EveryRuleIsTheStepOfTheSnappedValue) {
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1e-300,
                                2147483647.5,
                                2147483648.0,
                                -2147483649.25,
                                4.5e15,
                                1e300,
                                -1e300,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  for (const double whole : {1.0, 7.0, 519500.0, 99999.0, 2147483000.0, 3e9}) {
    for (const double sign : {1.0, -1.0}) {
      const double w = sign * whole;
      const double tolerance = kStepTolerance * std::fabs(w);
      for (const double off : {0.0, 0.5, 0.25, 0.999, 1e-13, 0.9 * kStepTolerance})
        values.insert(values.end(), {w + off, w - off});
      values.insert(values.end(), {std::nextafter(w + tolerance, 0.0), w + 2 * tolerance,
                                   std::nextafter(w - tolerance, w), w - 2 * tolerance});
    }
  }
  for (const double x : values) {
    for (const int n : {-5, -3, 0, 1, 3, 4}) {
      const auto floorStep = [](double v) { return std::floor(v); };
      const auto ceilStep = [](double v) { return std::ceil(v); };
      const auto truncStep = [](double v) { return std::trunc(v); };
      EXPECT_TRUE(sameValue(floorTo(x, n), byDefinition(floorStep, x, n))) << x << " " << n;
      EXPECT_TRUE(sameValue(ceilTo(x, n), byDefinition(ceilStep, x, n))) << x << " " << n;
      EXPECT_TRUE(sameValue(truncTo(x, n), byDefinition(truncStep, x, n))) << x << " " << n;
      const double halfUp =
          byDefinition(floorStep, (n >= 0 ? x * powerOfTen(n) : x / powerOfTen(-n)) + 0.5, 0);
      EXPECT_TRUE(sameValue(roundHalfUp(x, n),
                            (n >= 0 ? halfUp / powerOfTen(n) : halfUp * powerOfTen(-n)) + 0.0))
          << x << " " << n;
    }
  }
}

TEST(Numbers, StepsOfHundredThousandComeBackExact) {
  EXPECT_EQ(roundHalfUp(125000.0, -5), 100000.0);
  EXPECT_EQ(roundHalfUp(150000.0, -5), 200000.0);
  EXPECT_EQ(roundHalfUp(-150000.0, -5), -100000.0);
  EXPECT_EQ(roundHalfUp(-0.4, 0), 0.0);
  EXPECT_FALSE(std::signbit(roundHalfUp(-0.4, 0)));
}

TEST(Numbers, RoundingAtFixedPlaces) {
  EXPECT_EQ(roundHalfUp(12.5, 0), 13.0);
  EXPECT_EQ(roundHalfUp(-12.5, 0), -12.0);
  EXPECT_DOUBLE_EQ(roundHalfUp(0.9957, 3), 0.996);
  EXPECT_DOUBLE_EQ(floorTo(0.830219, 5), 0.83021);
  EXPECT_DOUBLE_EQ(floorTo(-2.5001, 3), -2.501);
}

}  // namespace
}  // namespace tavilo

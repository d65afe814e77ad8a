#include "report/formatters.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tavilo {
namespace {

TEST(FormatTruncated, LinesUpOnTheDecimalPoint) {
  EXPECT_EQ(formatTruncated(1234.5678, 10, 2), "  1,234.56");
  EXPECT_EQ(formatTruncated(1234.5, 10, 3), " 1,234.500");
  EXPECT_EQ(formatTruncated(-1234.5, 10, 1), "  -1,234.5");
  EXPECT_EQ(formatTruncated(0.5, 4, 2), "0.50");
  EXPECT_EQ(formatTruncated(12, 6, 0), "   12");
  EXPECT_EQ(formatTruncated(1234567, 12, 0), "  1,234,567");
}

TEST(FormatTruncated, SmallAndZeroValues) {
  EXPECT_EQ(formatTruncated(-0.25, 6, 1), "  -0.2");
  EXPECT_EQ(formatTruncated(0.05, 6, 1), "   0.0");
  EXPECT_EQ(formatTruncated(-0.0001, 6, 2), "  0.00");
  EXPECT_EQ(formatTruncated(0, 4, 0), "  0.0");
  EXPECT_EQ(formatTruncated(-0.0, 4, 1), " 0.0");
  EXPECT_EQ(formatTruncated(0.07, 5, 2), " 0.07");
}

// 0.29 × 100 is a hair below 29 in binary; the common rounding rule keeps the
// digit that the exact value has.
TEST(FormatTruncated, BinaryValueJustBelowACutOffKeepsItsDigit) {
  EXPECT_EQ(formatTruncated(0.29, 6, 2), "  0.29");
  EXPECT_EQ(formatTruncated(-0.29, 6, 2), " -0.29");
  EXPECT_EQ(formatTruncated(3.0 * -0.8, 6, 2), " -2.40");
  EXPECT_EQ(formatTruncated(0.2899, 6, 2), "  0.28");
  EXPECT_EQ(formatRoundedUp(1.1 * 1.1, 6, 2), "  1.21");
  EXPECT_EQ(formatTruncatedSafe(0.29, 6, 2), "  0.29");
  EXPECT_EQ(formatTruncatedSafe(-0.29, 6, 2), " -0.29");
  EXPECT_EQ(formatTruncatedSafe(1.9999, 4, 2), "1.99");
}

TEST(FormatTruncated, ValueWiderThanItsFieldIsWrittenInFull) {
  EXPECT_EQ(formatTruncated(123456789.5, 6, 1), "123,456,789.5");
}

TEST(FormatTruncated, TinyNegativeFractionIsNotWrittenWithAnExponent) {
  EXPECT_EQ(formatTruncated(-0.00001, 9, 5), " -0.00001");
  EXPECT_EQ(formatTruncatedSafe(-0.000123, 10, 6), " -0.000123");
}

TEST(FormatTruncated, NonFiniteValuesDoNotBreakTheLayout) {
  EXPECT_EQ(formatTruncated(std::numeric_limits<double>::quiet_NaN(), 6, 1), " NAN");
  EXPECT_EQ(formatTruncated(-std::numeric_limits<double>::infinity(), 6, 1), "-INF");
}

TEST(FormatRoundedUp, EveryRemainingFractionRoundsAwayFromZero) {
  EXPECT_EQ(formatRoundedUp(1.231, 6, 2), "  1.24");
  EXPECT_EQ(formatRoundedUp(-1.231, 6, 2), " -1.24");
  EXPECT_EQ(formatRoundedUp(1.23, 6, 2), "  1.23");
  EXPECT_EQ(formatRoundedUp(0.004, 5, 2), " 0.01");
  EXPECT_EQ(formatRoundedUp(0.0, 6, 3), " 0.000");
  EXPECT_EQ(formatRoundedUp(9.9991, 6, 3), "10.000");
}

TEST(FormatInteger, ShortNumbersGetExtraSpaces) {
  EXPECT_EQ(formatInteger(5, 5), "      5");
  EXPECT_EQ(formatInteger(45, 6), "     45");
  EXPECT_EQ(formatInteger(-350, 6), "  -350");
  EXPECT_EQ(formatInteger(12000, 6), "12,000");
  EXPECT_EQ(formatInteger(0, 6), "       0");
  EXPECT_EQ(formatInteger(-1951, 6), "-1,951");
  EXPECT_EQ(formatInteger(1234567, 3), "1,234,567");
  EXPECT_EQ(formatInteger(-2147483647 - 1, 0), "-2,147,483,648");
}

TEST(FormatPattern, ToolkitPatternsRoundHalfAwayFromZero) {
  EXPECT_EQ(formatPattern(1234567.5, ",0"), "1,234,568");
  EXPECT_EQ(formatPattern(-2.5, ",0"), "-3");
  EXPECT_EQ(formatPattern(-0.4, ",0"), "0");
  EXPECT_EQ(formatPattern(12.345, ",#.##"), "12.35");
  EXPECT_EQ(formatPattern(1234.5, ",#.##"), "1,234.5");
  EXPECT_EQ(formatPattern(0.5, ",#.##"), ".5");
  EXPECT_EQ(formatPattern(0.5, ",0.##"), "0.5");
  EXPECT_EQ(formatPattern(3.0, ",0.##"), "3");
  EXPECT_EQ(formatPattern(-1.456, ",0.##"), "-1.46");
  // The binary value of 1.005 lies below 1.005; its 15-digit decimal form does not.
  EXPECT_EQ(formatPattern(1.005, ",0.##"), "1.01");
  EXPECT_EQ(formatPattern(999.999, ",0.##"), "1,000");
}

TEST(FormatPattern, ZeroIsWrittenEvenWithoutARequiredDigit) {
  EXPECT_EQ(formatPattern(0.0, ",#.##"), "0");
  EXPECT_EQ(formatPattern(0.001, ",#.##"), "0");
  EXPECT_EQ(formatPattern(0.0, ",0"), "0");
}

TEST(FormatPattern, UnknownPatternCharactersAreRejected) {
  EXPECT_THROW(formatPattern(1.0, "0.00E+00"), std::invalid_argument);
}

TEST(TextHelpers, RepeatTrimAndShiftJisLength) {
  EXPECT_EQ(repeatChar('-', 3), "---");
  EXPECT_EQ(repeatChar('-', 0), "");
  EXPECT_EQ(repeatChar('-', -2), "");
  EXPECT_EQ(repeatChar("　", 2), "　　");
  EXPECT_EQ(trimLeadingSpaces("  1,170"), "1,170");
  EXPECT_EQ(trimLeadingSpaces("   "), "");
  EXPECT_EQ(shiftJisByteCount("《 計 算 結 果 》"), 17);
  EXPECT_EQ(shiftJisByteCount("※風荷重・積雪荷重値算出については、後ページの詳細を参照。"), 58);
  EXPECT_EQ(shiftJisByteCount("kN･m"), 4);  // half-width middle dot: one byte
  EXPECT_EQ(shiftJisByteCount("N・㎜"), 5);
  EXPECT_EQ(shiftJisByteCount("\xE3\x81"), 2);  // a cut-off sequence counts byte by byte
}

}  // namespace
}  // namespace tavilo

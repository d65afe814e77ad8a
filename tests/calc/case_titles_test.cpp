#include "calc/case_titles.h"

#include <gtest/gtest.h>

namespace tavilo {
namespace {

TEST(RatioTitle, ComposesRatioParts) {
  EXPECT_EQ(ratioTitle({1, 1, 0.7, 0}, false, ""), "Ｇ＋Ｐ＋0.70Ｓ");
  EXPECT_EQ(ratioTitle({1.2, 1.2, 1, 0.5}, true, "（負圧）"), "1.20(Ｇ＋Ｐ)＋Ｓ＋0.50Ｗ（負圧）");
  EXPECT_EQ(ratioTitle({0, 0, 1, 1}, true, ""), "＋Ｓ＋Ｗ");
  EXPECT_EQ(ratioTitle({1, 1, 0, 1}, false, ""), "Ｇ＋Ｐ");
  EXPECT_EQ(ratioText(0.35), "0.35");
  EXPECT_EQ(ratioText(1.239), "1.23");
  EXPECT_EQ(ratioText(1234.5), "1,234.50");
}

TEST(CaseTitle, NamesTheCaseAndItsRatiosOnThePageAndInTheDiagrams) {
  EXPECT_EQ(caseTitle(CaseVariant::kLongTerm, {1, 1, 0.7, 1}), "長期Ｇ＋Ｐ＋0.70Ｓ");
  EXPECT_EQ(diagramTitle(CaseVariant::kStormPositive, {1, 1, 0, 1}),
            "短期（暴風時）Ｇ＋Ｐ＋Ｗ（正圧）");
  EXPECT_EQ(caseTitle(CaseVariant::kStormNoSnow, {1, 1, 0, 1}),
            "短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ");
}

}  // namespace
}  // namespace tavilo

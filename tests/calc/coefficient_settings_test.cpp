#include "calc/coefficient_settings.h"

#include <gtest/gtest.h>

#include <set>

namespace tavilo {
namespace {

// Every ratio of every row has one place among the 22, and each place reads
// back as that ratio.
TEST(LoadRatioRows, EveryPlaceHoldsExactlyOneRatioOfOneRow) {
  std::set<int> places;
  for (const RatioSet set : {RatioSet::Ordinary, RatioSet::HeavySnow}) {
    for (const LoadRatioRow& row : kLoadRatioRows) {
      for (int load = 0; load < row.loadCount; ++load) {
        const int position = ratioPosition(set, row, static_cast<RatioLoad>(load));
        EXPECT_TRUE(places.insert(position).second) << position;
        const std::optional<RatioPlace> place = ratioPlaceOf(position);
        ASSERT_TRUE(place) << position;
        EXPECT_EQ(place->set, set);
        EXPECT_EQ(place->row, &row);
        EXPECT_EQ(place->load, static_cast<RatioLoad>(load));
      }
    }
  }
  EXPECT_EQ(places.size(), static_cast<std::size_t>(kLoadRatioCount));
  EXPECT_EQ(*places.rbegin(), kLoadRatioCount - 1);
  EXPECT_FALSE(ratioPlaceOf(kLoadRatioCount));
  EXPECT_FALSE(ratioPlaceOf(-1));
}

TEST(LoadRatioRows, RowsReadTheirRatiosFromTheSetOfTheSite) {
  const LoadRatioRow& storm = kLoadRatioRows[2];
  EXPECT_EQ(storm.caseIndex, kShortTermStorm);
  EXPECT_EQ(rowRatios(kDefaultLoadRatios, RatioSet::HeavySnow, storm),
            (std::array<double, 4>{1, 1, 0.35, 1}));
  EXPECT_EQ(rowRatios(kDefaultLoadRatios, RatioSet::HeavySnow, kLoadRatioRows[0]),
            (std::array<double, 4>{1, 1, 0.7, 0}))
      << "the long-term row has no wind ratio";
  EXPECT_EQ(pRatioPositionOf(ratioPosition(RatioSet::HeavySnow, storm, RatioLoad::G)), 19);
  EXPECT_EQ(pRatioPositionOf(19), -1);
}

}  // namespace
}  // namespace tavilo

#include "persistence/stored_codes.h"

#include <gtest/gtest.h>

#include <limits>

namespace tavilo {
namespace {

TEST(StoredCodes, EveryChoiceReadsBackFromItsCode) {
  for (const RoofType roofType : kRoofTypes)
    EXPECT_EQ(roofTypeFromCode(roofTypeCode(roofType)), roofType);
  for (const PageNumberPosition position : kPageNumberPositions)
    EXPECT_EQ(pageNumberPositionFromCode(pageNumberPositionCode(position)), position);
  EXPECT_EQ(roofTypeCode(RoofType::MonoPitch), 3);
  EXPECT_EQ(roofTypeCode(RoofType::Canopy), 6);
  EXPECT_EQ(pageNumberPositionCode(PageNumberPosition::TopCentre), 11);
  EXPECT_EQ(pageNumberPositionCode(PageNumberPosition::BottomRight), 22);
  EXPECT_EQ(windSideCode(WindSide::Negative), "Ms");
}

TEST(StoredCodes, CodesOutsideTheirListsReadAsNothing) {
  for (const int code :
       {2, 7, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()})
    EXPECT_FALSE(roofTypeFromCode(code)) << code;
  for (const int code : {1, 9, 13, 19, 23})
    EXPECT_FALSE(pageNumberPositionFromCode(code)) << code;
}

}  // namespace
}  // namespace tavilo

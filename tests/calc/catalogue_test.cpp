#include "calc/catalogue.h"

#include <gtest/gtest.h>

namespace tavilo {
namespace {

TEST(Catalogue, JointCapacitiesFollowThePlateThickness) {
  // KX-75-16 is 1.6 mm thick.
  EXPECT_EQ(endJointCapacityOf(3, 2), 1570);
  EXPECT_EQ(midJointCapacityOf(3, 2), 1570);
  EXPECT_EQ(endJointCapacityOf(3, 0), 1560);
  EXPECT_EQ(midJointCapacityOf(3, 0), 4310);
  // KX-50-12 is 1.2 mm thick.
  EXPECT_EQ(endJointCapacityOf(0, 0), 1170);
  EXPECT_EQ(midJointCapacityOf(0, 1), 2100);
  EXPECT_EQ(endJointCapacityOf(0, 3), 0) << "an unknown method has no capacity";
}

TEST(Catalogue, DeflectionFactorDependsOnTheHeightOnly) {
  EXPECT_EQ(deflectionFactor(0), 1.0);
  EXPECT_EQ(deflectionFactor(1), 1.0);
  EXPECT_EQ(deflectionFactor(2), 1.2);
  EXPECT_EQ(deflectionFactor(3), 1.2);
}

TEST(Catalogue, SectionLookupsAnswerZeroOutsideTheList) {
  EXPECT_EQ(deckHeightOf(2), 75);
  EXPECT_EQ(deckModulusOf(0), 26.3);
  EXPECT_EQ(deckInertiaOf(3), 216);
  EXPECT_EQ(deckAreaOf(1), 13.02);
  EXPECT_EQ(deckHeightOf(4), 0);
  EXPECT_EQ(deckAreaOf(-1), 0);
}

TEST(Catalogue, UnitWeightTextsBySurfaceTreatment) {
  EXPECT_EQ(unitWeightOf(3, "Z12"), "183");
  EXPECT_EQ(unitWeightOf(3, "Z27"), "188");
  EXPECT_EQ(unitWeightOf(0, "他"), std::nullopt);
}

TEST(Catalogue, JointMethodTextsKeepTheirInnerBlanks) {
  EXPECT_EQ(kJointMethods[1], "打込み鋲      (母屋板厚≧6mm)");
  EXPECT_EQ(kJointMethods[2], "ドリルネジφ6  (母屋板厚<6mm)");
}

}  // namespace
}  // namespace tavilo

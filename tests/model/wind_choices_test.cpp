#include "model/wind_choices.h"

#include <gtest/gtest.h>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST_F(FormTest, CanopyRoofSwapsTheShapeGroups) {
  InputForm form = startedForm();
  std::ignore = form.clickBuildingShape(2);
  EXPECT_EQ(form.choicePicture(FieldId::BuildingShape), "Shape_leeward.bmp");

  std::ignore = form.clickRoofType(RoofType::Canopy);
  EXPECT_EQ(form.roofType(), RoofType::Canopy);
  EXPECT_EQ(form.text(FieldId::RoofType), "独立上屋");
  EXPECT_EQ(form.choicePicture(FieldId::RoofType), "Independent_roof.bmp");
  EXPECT_TRUE(form.isShown(FieldId::RoofShape));
  EXPECT_FALSE(form.isShown(FieldId::BuildingShape));
  std::ignore = form.clickRoofShape(1);
  EXPECT_EQ(form.roofShapeCode(), 1);

  std::ignore = form.clickRoofType(RoofType::Gable);
  EXPECT_TRUE(form.isShown(FieldId::BuildingShape));
  EXPECT_FALSE(form.isShown(FieldId::RoofShape));
  EXPECT_EQ(form.buildingShapeCode(), 2) << "the last choice is kept";
  EXPECT_EQ(form.index(FieldId::BuildingShape), 2);
}

}  // namespace
}  // namespace tavilo

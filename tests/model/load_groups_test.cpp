#include "model/load_groups.h"

#include <gtest/gtest.h>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST_F(FormTest, LayoutFollowsTheCalculationMethod) {
  InputForm form = startedForm();
  std::ignore = form.clickSnowModeDerive();
  ASSERT_EQ(form.focus(), FieldId::SeaRatio);
  const FormEvents events = form.setLayout(1);
  EXPECT_EQ(form.layoutMethod(), 1);
  EXPECT_TRUE(form.layout().directLoadShown);
  EXPECT_TRUE(form.isShown(FieldId::DirectSnowLoad));
  EXPECT_FALSE(form.isShown(FieldId::SnowDepth));
  EXPECT_FALSE(form.isShown(FieldId::EavesHeightH1));
  EXPECT_FALSE(form.isShown(FieldId::BuildingShape));
  EXPECT_TRUE(form.isShown(FieldId::Prefecture));
  EXPECT_EQ(form.focus(), FieldId::DeckType) << "a hidden field cannot keep the focus";
  EXPECT_EQ(events.back(), focusEvent(FieldId::DeckType));

  std::ignore = form.setLayout(0);
  EXPECT_EQ(form.layoutMethod(), 0);
  EXPECT_TRUE(form.isGroupShown(Group::Wind));
  EXPECT_TRUE(form.isShown(FieldId::BuildingShape));
  EXPECT_FALSE(form.isShown(FieldId::WindPositive));
}

}  // namespace
}  // namespace tavilo

#include "model/deck_joints.h"

#include <gtest/gtest.h>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST_F(FormTest, UnitWeightFollowsTheCatalogueOrTheUser) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::UnitWeight, "x9");
  EXPECT_EQ(form.text(FieldId::UnitWeight), "127") << "Z12 discards every key";

  std::ignore = form.selectIndex(FieldId::DeckType, 3);
  std::ignore = form.selectIndex(FieldId::SurfaceTreatment, 1);
  EXPECT_EQ(form.text(FieldId::UnitWeight), "188");
  EXPECT_EQ(form.hint(FieldId::UnitWeight).shortText, "選択されたデッキの単位重量です。");

  const FormEvents events = form.selectIndex(FieldId::SurfaceTreatment, 2);
  EXPECT_EQ(form.text(FieldId::UnitWeight), "");
  EXPECT_EQ(form.focus(), FieldId::UnitWeight);
  EXPECT_EQ(events.back(), focusEvent(FieldId::UnitWeight));
  EXPECT_EQ(form.hint(FieldId::UnitWeight).longText, "デッキの単位重量を設定して下さい。");
  std::ignore = form.typeKeys(FieldId::UnitWeight, "1a5.0");
  EXPECT_EQ(form.text(FieldId::UnitWeight), "150");

  std::ignore = form.selectIndex(FieldId::DeckType, 0);
  EXPECT_EQ(form.text(FieldId::UnitWeight), "") << "a new deck type empties it again";
}

}  // namespace
}  // namespace tavilo

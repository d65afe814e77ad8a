#include <gtest/gtest.h>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST_F(FormTest, SpanStepsCopyTheLengthAndMoveTheFocus) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::Span1, "3000");
  std::ignore = form.stepSpin(FieldId::SpanCount, +1);
  const FormEvents events = form.stepSpin(FieldId::SpanCount, +1);
  EXPECT_EQ(form.shownSpanCount(), 3);
  EXPECT_TRUE(form.isShown(FieldId::Span2));
  EXPECT_TRUE(form.isShown(FieldId::Span3));
  EXPECT_FALSE(form.isShown(FieldId::Span4));
  EXPECT_EQ(form.text(FieldId::Span2), "3000");
  EXPECT_EQ(form.text(FieldId::Span3), "3000");
  EXPECT_EQ(form.focus(), FieldId::Span3);
  EXPECT_EQ(events.back(), focusEvent(FieldId::Span3));
  EXPECT_EQ(form.arrangementPicture(), "Image3_S3_C0");

  std::ignore = form.stepSpin(FieldId::SpanCount, -1);
  EXPECT_FALSE(form.isShown(FieldId::Span3));
  EXPECT_EQ(form.focus(), FieldId::Span2);
  EXPECT_EQ(form.shownSpanCount(), 2);

  // A span shown again starts from the span before it, not from its old text.
  std::ignore = form.typeText(FieldId::Span2, "4500");
  std::ignore = form.stepSpin(FieldId::SpanCount, +1);
  EXPECT_EQ(form.text(FieldId::Span3), "4500");
}

TEST_F(FormTest, SpanCountStaysWithinOneToFour) {
  InputForm form = startedForm();
  EXPECT_TRUE(form.stepSpin(FieldId::SpanCount, -1).size() <= 1);
  EXPECT_EQ(form.text(FieldId::SpanCount), "1");
  for (int i = 0; i < 5; ++i)
    std::ignore = form.stepSpin(FieldId::SpanCount, +1);
  EXPECT_EQ(form.text(FieldId::SpanCount), "4");
  EXPECT_EQ(form.shownSpanCount(), 4);
  EXPECT_TRUE(form.isShown(FieldId::Span4));

  // The program may ask for any count; the fields are still built step by step.
  std::ignore = form.setSpinValue(FieldId::SpanCount, 1);
  EXPECT_FALSE(form.isShown(FieldId::Span2));
  std::ignore = form.typeText(FieldId::Span1, "1800");
  std::ignore = form.setText(FieldId::SpanCount, "9");
  EXPECT_EQ(form.text(FieldId::SpanCount), "4");
  for (int n = 2; n <= 4; ++n)
    EXPECT_EQ(form.text(spanField(n)), "1800");
}

TEST_F(FormTest, OverhangChoiceSelectsPictureAndFields) {
  InputForm form = startedForm();
  std::ignore = form.stepSpin(FieldId::SpanCount, +1);
  std::ignore = form.selectIndex(FieldId::Overhang, 1);
  EXPECT_EQ(form.arrangementPicture(), "Image6_S2_CL");
  EXPECT_TRUE(form.isShown(FieldId::LeftOverhang));
  EXPECT_FALSE(form.isShown(FieldId::RightOverhang));
  EXPECT_EQ(form.focus(), FieldId::Span2) << "the last span field takes the focus";

  std::ignore = form.selectIndex(FieldId::Overhang, 0);
  EXPECT_EQ(form.arrangementPicture(), "Image2_S2_C0");
  EXPECT_FALSE(form.isShown(FieldId::LeftOverhang));

  // Codes 2 and 3 come from project files; the list then shows "有り".
  std::ignore = form.setSpinValue(FieldId::SpanCount, 4);
  std::ignore = form.setOverhangCode(kOverhangRight);
  EXPECT_EQ(form.arrangementPicture(), "Image12_S4_CR");
  EXPECT_EQ(form.text(FieldId::Overhang), "有り");
  EXPECT_FALSE(form.isShown(FieldId::LeftOverhang));
  EXPECT_TRUE(form.isShown(FieldId::RightOverhang));
  EXPECT_EQ(form.shownSpanCount(), 4);
  std::ignore = form.setOverhangCode(kOverhangBoth);
  EXPECT_EQ(form.arrangementPicture(), "Image16_S4_CLR");
  EXPECT_TRUE(form.isShown(FieldId::LeftOverhang));
  EXPECT_TRUE(form.isShown(FieldId::RightOverhang));
  std::ignore = form.stepSpin(FieldId::SpanCount, -1);
  EXPECT_EQ(form.shownSpanCount(), 3);
  EXPECT_EQ(form.arrangementPicture(), "Image15_S3_CLR");

  std::ignore = form.setOverhangCode(7);
  EXPECT_EQ(form.overhangCode(), kOverhangNone);
  EXPECT_EQ(form.arrangementPicture(), "Image3_S3_C0");
  EXPECT_FALSE(form.isShown(FieldId::RightOverhang));
}

TEST_F(FormTest, LeavingAnOverhangFieldCorrectsItsLength) {
  InputForm form = startedForm();
  std::ignore = form.setOverhangCode(kOverhangBoth);

  std::ignore = form.typeText(FieldId::LeftOverhang, "1200");
  FormEvents events = form.focusField(FieldId::Span1);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0],
            messageEvent(FieldId::LeftOverhang, "計算可能な『はね出し』部の最大値は、1000 mmです"));
  EXPECT_EQ(events[1], focusEvent(FieldId::LeftOverhang));
  EXPECT_EQ(form.text(FieldId::LeftOverhang), "1000");
  EXPECT_EQ(form.focus(), FieldId::LeftOverhang);

  std::ignore = form.typeText(FieldId::LeftOverhang, "\b");
  events = form.focusField(FieldId::Span1);
  EXPECT_EQ(events[0].text,
            "『はね出し』部の値を入力して下さい。 \n計算可能な範囲(Min-Max) 200～1000");
  EXPECT_EQ(form.text(FieldId::LeftOverhang), "200");

  // Short lengths are left to the check before a calculation.
  std::ignore = form.typeText(FieldId::LeftOverhang, "150");
  events = form.focusField(FieldId::Span1);
  EXPECT_EQ(events, FormEvents{focusEvent(FieldId::Span1)});
  EXPECT_EQ(form.text(FieldId::LeftOverhang), "150");

  std::ignore = form.setText(FieldId::RightOverhang, "x");
  events = form.overhangExit(FieldId::RightOverhang);
  EXPECT_TRUE(hasMessage(events, FieldId::RightOverhang, "計算可能な範囲(Min-Max) 1～1000"));
  EXPECT_EQ(form.text(FieldId::RightOverhang), "250");
  EXPECT_EQ(form.focus(), FieldId::RightOverhang);
  std::ignore = form.setText(FieldId::RightOverhang, "1001");
  EXPECT_TRUE(hasMessage(form.overhangExit(FieldId::RightOverhang), FieldId::RightOverhang,
                         "最大値は、1000 mm"));
  EXPECT_EQ(form.text(FieldId::RightOverhang), "1000");
}

}  // namespace
}  // namespace tavilo

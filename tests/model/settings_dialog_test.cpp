#include "model/settings_dialog.h"

#include <gtest/gtest.h>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST(SettingsDialog, PFollowsGAndTypingIsFiltered) {
  SettingsDialog dialog;
  dialog.typeText(ratioField(0), "0");
  EXPECT_EQ(dialog.ratioText(1), "0") << "P follows G as the characters arrive";
  dialog.typeKeys(ratioField(0), ".8");
  EXPECT_EQ(dialog.ratioText(0), "0.8");
  EXPECT_EQ(dialog.ratioText(1), "0.8");

  dialog.typeText(ratioField(13), "0.1234567890");
  EXPECT_EQ(dialog.ratioText(13), "0.123456") << "at most 8 characters";
  dialog.typeText(ratioField(20), "a-1,5\r");
  EXPECT_EQ(dialog.ratioText(20), "15");

  dialog.typeText(ratioField(19), "5");  // heavy-snow storm P: read-only
  EXPECT_EQ(dialog.ratioText(19), "1");
  EXPECT_TRUE(SettingsDialog::isReadOnlyRatio(1));
  EXPECT_FALSE(SettingsDialog::isReadOnlyRatio(2));

  dialog.setRatioText(14, "2");
  EXPECT_EQ(dialog.ratioText(15), "2");
  dialog.setRatioText(15, "3");
  EXPECT_EQ(dialog.ratioText(14), "2") << "P never writes back to G";
}

TEST(SettingsDialog, WholeTextEditsAreFilteredLikeTyping) {
  SettingsDialog dialog;
  dialog.editText(ratioField(0), "0.85ｘ");
  EXPECT_EQ(dialog.ratioText(0), "0.85");
  EXPECT_EQ(dialog.ratioText(1), "0.85") << "P follows a pasted G";
  dialog.editText(ratioField(3), "1.23456789012");
  EXPECT_EQ(dialog.ratioText(3), "1.234567") << "a paste keeps the first 8 characters";
  dialog.editText(ratioField(1), "2");
  EXPECT_EQ(dialog.ratioText(1), "0.85") << "P is read-only";
  std::ignore = dialog.takeChangedFields();
  dialog.editText(FieldId::SettingsMaxDeckLength, "15,000");
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "15000");
  EXPECT_EQ(dialog.takeChangedFields(), std::vector<FieldId>{FieldId::SettingsMaxDeckLength});
}

TEST(SettingsDialog, MaxLengthSpinKeepsItsRange) {
  SettingsDialog dialog;
  dialog.stepSpin(FieldId::SettingsMaxDeckLength, +1);
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "12050");
  dialog.typeText(FieldId::SettingsMaxDeckLength, "99999");
  EXPECT_EQ(dialog.maxDeckLengthValue(), 90000);
  dialog.focusField(ratioField(0));
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "90000");
  dialog.typeText(FieldId::SettingsMaxDeckLength, "\b");
  dialog.focusField(ratioField(0));
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "0");
}

TEST_F(FormTest, ApplyingSwitchesTheLayoutByTheMethod) {
  InputForm form = startedForm();
  SettingsDialog dialog;
  CoefficientSettings settings;

  openSettingsDialog(dialog, form);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(form.screenEnabled());
  dialog.clickMethod(kCalcMethodDirect);
  dialog.typeText(FieldId::SettingsMaxDeckLength, "15000");
  dialog.typeText(ratioField(13), "0.5");
  const FormEvents events = applySettings(dialog, settings, form);
  EXPECT_EQ(events.back(), focusEvent(form.focus()));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(form.screenEnabled());
  EXPECT_EQ(settings.calcMethod, kCalcMethodDirect);
  EXPECT_EQ(settings.maxDeckLength, 15000);
  EXPECT_EQ(settings.loadRatios[13], 0.5);
  EXPECT_EQ(form.layoutMethod(), 1);
  EXPECT_TRUE(form.isShown(FieldId::WindNegative));
  EXPECT_FALSE(form.isShown(FieldId::SnowDepth));

  openSettingsDialog(dialog, form);
  dialog.clickMethod(kCalcMethodNotices);
  std::ignore = applySettings(dialog, settings, form);
  EXPECT_EQ(settings.calcMethod, kCalcMethodNotices);
  EXPECT_EQ(form.layoutMethod(), 0);
  EXPECT_FALSE(form.isShown(FieldId::WindNegative));
}

TEST_F(FormTest, BadRatioStopsApplyingAndChangesNothing) {
  InputForm form = startedForm();
  SettingsDialog dialog;
  CoefficientSettings settings;
  openSettingsDialog(dialog, form);
  dialog.clickMethod(kCalcMethodDirect);
  dialog.typeText(FieldId::SettingsMaxDeckLength, "6000");
  dialog.typeText(ratioField(0), "0.9");
  dialog.typeText(ratioField(13), "1..2");

  const FormEvents events = applySettings(dialog, settings, form);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, FormEvent::Kind::Message);
  EXPECT_EQ(events[0].field, ratioField(13));
  EXPECT_NE(events[0].text.find("多雪区域・長　期・Ｓ"), std::string::npos) << events[0].text;
  EXPECT_NE(events[0].text.find("「1..2」"), std::string::npos);
  EXPECT_EQ(events[1], focusEvent(ratioField(13)));
  EXPECT_EQ(dialog.focus(), ratioField(13));

  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(form.screenEnabled());
  const CoefficientSettings defaults;
  EXPECT_EQ(settings.maxDeckLength, defaults.maxDeckLength);
  EXPECT_EQ(settings.loadRatios, defaults.loadRatios);
  EXPECT_EQ(settings.calcMethod, kCalcMethodNotices);
  EXPECT_EQ(form.layoutMethod(), 0);

  dialog.typeText(ratioField(13), "\b");  // an empty field is no number either
  EXPECT_TRUE(hasMessage(applySettings(dialog, settings, form), ratioField(13), "「」"));
}

TEST_F(FormTest, CancelRestoresTheStoredSettingsButNotTheMethodChoice) {
  InputForm form = startedForm();
  SettingsDialog dialog;
  CoefficientSettings settings;
  settings.loadRatios[20] = 0.35;
  settings.loadRatios[11] = 1.25;
  settings.loadRatios[12] = 1.25;
  settings.maxDeckLength = 9000;

  openSettingsDialog(dialog, form);
  dialog.clickMethod(kCalcMethodDirect);
  dialog.typeText(ratioField(11), "3");
  dialog.typeText(ratioField(20), "0.111");
  dialog.typeText(FieldId::SettingsMaxDeckLength, "100");
  std::ignore = cancelSettings(dialog, settings, form);

  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(form.screenEnabled());
  EXPECT_EQ(dialog.ratioText(11), "1.25");
  EXPECT_EQ(dialog.ratioText(12), "1.25");
  EXPECT_EQ(dialog.ratioText(20), "0.35");
  EXPECT_EQ(dialog.ratioText(2), "0");
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "9000");
  EXPECT_EQ(dialog.methodChoice(), kCalcMethodDirect) << "the clicked method stays visible";
  EXPECT_EQ(settings.calcMethod, kCalcMethodNotices);
  EXPECT_EQ(form.layoutMethod(), 0);

  // Pressing "  設    定" next time applies the choice that stayed.
  openSettingsDialog(dialog, form);
  std::ignore = applySettings(dialog, settings, form);
  EXPECT_EQ(settings.calcMethod, kCalcMethodDirect);
}

TEST_F(FormTest, ResetThenCancelChangesNothing) {
  InputForm form = startedForm();
  SettingsDialog dialog;
  CoefficientSettings settings;
  openSettingsDialog(dialog, form);
  dialog.typeText(ratioField(3), "1.5");
  dialog.typeText(FieldId::SettingsMaxDeckLength, "8000");
  std::ignore = applySettings(dialog, settings, form);
  const CoefficientSettings applied = settings;

  openSettingsDialog(dialog, form);
  resetSettingsDialog(dialog);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.ratioText(3), "1");
  EXPECT_EQ(dialog.ratioText(4), "1");
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "12000");
  std::ignore = cancelSettings(dialog, settings, form);

  EXPECT_EQ(settings.loadRatios, applied.loadRatios);
  EXPECT_EQ(settings.maxDeckLength, 8000);
  EXPECT_EQ(dialog.ratioText(3), "1.5");
  EXPECT_EQ(dialog.ratioText(4), "1.5");
  EXPECT_EQ(dialog.text(FieldId::SettingsMaxDeckLength), "8000");
}

}  // namespace
}  // namespace tavilo

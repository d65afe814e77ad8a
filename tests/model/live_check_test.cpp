// The live check on a started screen: figures only for inputs that can be
// calculated, the deck comparison's marks and unit weights, and a deck
// chosen from the panel as on the screen.

#include <gtest/gtest.h>

#include <tuple>

#include "calc/catalogue.h"
#include "calc/codes.h"
#include "form_test_support.h"
#include "model/live_check.h"

namespace tavilo {
namespace {

class LiveCheckTest : public testing::FormTest {
 protected:
  static LiveCheckPanel panelOf(const InputForm& form) {
    return livePanel(runLiveCheck(form, CoefficientSettings{}),
                     form.index(FieldId::SurfaceTreatment));
  }
};

TEST_F(LiveCheckTest, FollowsTheSpanFromPassToFailAndShowsNoFiguresForAnEmptyField) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::Span1, "1500");
  LiveCheck live = runLiveCheck(form, CoefficientSettings{});
  ASSERT_TRUE(live.calculated());
  EXPECT_TRUE(live.ok);
  EXPECT_EQ(live.verdict, "全てＯＫです");
  EXPECT_LT(live.utilisation.largest(), 1.0);

  std::ignore = form.typeText(FieldId::Span1, "6000");
  live = runLiveCheck(form, CoefficientSettings{});
  ASSERT_TRUE(live.calculated());
  EXPECT_FALSE(live.ok);
  EXPECT_NE(live.verdict.find("NGです"), std::string::npos) << live.verdict;
  const CheckUtilisation& governing = live.utilisation.of(live.utilisation.governing);
  EXPECT_GE(governing.ratio, 1.0);
  EXPECT_FALSE(governing.ok);
  EXPECT_EQ(governing.place, "スパン1");
  EXPECT_FALSE(governing.caseTitle.empty());
  const LiveCheckPanel failing = panelOf(form);
  ASSERT_EQ(failing.checks.size(), kCheckKinds.size());
  EXPECT_TRUE(failing.checks[static_cast<std::size_t>(live.utilisation.governing)].exceeded);

  std::ignore = form.typeText(FieldId::Span1, "\b");
  const LiveCheckPanel refused = panelOf(form);
  EXPECT_FALSE(refused.calculated);
  EXPECT_TRUE(refused.checks.empty());
  EXPECT_TRUE(refused.verdict.empty());
  EXPECT_NE(refused.refusalMessage.find("スパン1の長さ"), std::string::npos)
      << refused.refusalMessage;
  EXPECT_EQ(refused.refusalField, "入力欄: スパン1");
  EXPECT_EQ(refused.refusalFocus, FieldId::Span1);
  // The form itself is untouched by the check: no focus moved, no text mended.
  EXPECT_EQ(form.text(FieldId::Span1), "");
}

TEST_F(LiveCheckTest, MarksTheCurrentAndTheLightestPassingDeckAndTakesCatalogueWeights) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::DeckType, kDeckCount - 1);
  // The shortest span on a 100 mm grid at which the lightest deck fails.
  LiveCheck live;
  for (int span = 1000; span <= 8000; span += 100) {
    std::ignore = form.typeText(FieldId::Span1, std::to_string(span));
    live = runLiveCheck(form, CoefficientSettings{});
    if (!live.decks.front().ok)
      break;
  }
  ASSERT_EQ(live.decks.size(), kDeckSections.size());
  int lightest = -1;
  for (const DeckComparison& deck : live.decks) {
    ASSERT_FALSE(deck.refusal) << deck.refusal->message;
    EXPECT_EQ(deck.current, deck.deckType == kDeckCount - 1);
    // Z12: the catalogue's weight of that deck.
    EXPECT_EQ(deck.unitWeight,
              kDeckSections[static_cast<std::size_t>(deck.deckType)].unitWeights[0]);
    if (deck.ok && (lightest < 0 || deckAreaOf(deck.deckType) < deckAreaOf(lightest)))
      lightest = deck.deckType;
  }
  ASSERT_GE(lightest, 0);
  EXPECT_EQ(live.lightestPassingDeck(), lightest);
  EXPECT_NE(live.lightestPassingDeck(), 0);
  const LiveCheckPanel panel = panelOf(form);
  EXPECT_EQ(panel.decks[static_cast<std::size_t>(lightest)].marks.find("最軽量"), 0U);
  EXPECT_EQ(panel.decks[0].verdict, "ＮＧ");
  EXPECT_TRUE(panel.decks[0].exceeded);

  // Chosen from the panel: the deck list takes it and the weight follows.
  std::ignore = chooseDeck(form, lightest);
  EXPECT_EQ(form.index(FieldId::DeckType), lightest);
  EXPECT_EQ(form.text(FieldId::UnitWeight),
            std::to_string(kDeckSections[static_cast<std::size_t>(lightest)].unitWeights[0]));
}

TEST_F(LiveCheckTest, TypedUnitWeightIsKeptForEveryDeckAndThePanelSaysSo) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  std::ignore = form.typeText(FieldId::UnitWeight, "400");
  const LiveCheck live = runLiveCheck(form, CoefficientSettings{});
  ASSERT_TRUE(live.calculated()) << live.refusal->message;
  EXPECT_TRUE(live.typedUnitWeightKept);
  for (const DeckComparison& deck : live.decks) {
    ASSERT_FALSE(deck.refusal) << deck.refusal->message;
    EXPECT_EQ(deck.unitWeight, 400);
  }
  EXPECT_NE(panelOf(form).deckNote.find("空欄"), std::string::npos);

  // On the screen itself the deck empties the typed weight, and the panel
  // then shows the unit weight rule, not figures.
  std::ignore = chooseDeck(form, 1);
  EXPECT_EQ(form.text(FieldId::UnitWeight), "");
  const LiveCheckPanel panel = panelOf(form);
  EXPECT_FALSE(panel.calculated);
  EXPECT_EQ(panel.refusalMessage, kUnitWeightMessage);
  EXPECT_EQ(panel.refusalFocus, FieldId::UnitWeight);
}

TEST(LiveCheckText, RatiosReadOnTheSafeSide) {
  EXPECT_EQ(utilisationText(0.5), "0.50");
  EXPECT_EQ(utilisationText(0.991), "1.00");
  EXPECT_EQ(utilisationText(1.0), "1.00");
  EXPECT_EQ(utilisationText(1.2345), "1.24");
}

}  // namespace
}  // namespace tavilo

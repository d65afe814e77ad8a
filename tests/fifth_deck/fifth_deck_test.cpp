// The calculation and the form model built with a fifth row in the deck
// catalogue: the row alone must bring the deck into the input screen's list,
// the project file, the calculation with the joint capacities of its plate
// thickness, and the span table.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "calc/app_state.h"
#include "calc/catalogue.h"
#include "model/calculate_command.h"
#include "model/input_form.h"
#include "model/live_check.h"
#include "model/project_file.h"
#include "model/settings_dialog.h"
#include "model/span_table.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

constexpr int kFifthDeck = 4;

struct Project {
  InputForm form{LocationTables(fs::path(TAVILO_SOURCE_DIR) / "Load_data")};
  SettingsDialog dialog;
  AppState state;
  PrintSettings print;
  ProjectPaths paths;
  ProjectContext context() { return {form, dialog, state.settings, print, paths}; }
};

// The ordinary sample with the fifth deck chosen.
void loadWithFifthDeck(Project& p) {
  std::ignore = p.form.startUp();
  const ProjectLoad load =
      loadProject(fs::path(TAVILO_SOURCE_DIR) / "examples" / "ordinary-3span.tvl", p.context());
  ASSERT_TRUE(load.completed()) << load.failure.value_or("");
  std::ignore = p.form.selectIndex(FieldId::DeckType, kFifthDeck);
  std::ignore = p.form.selectIndex(FieldId::SurfaceTreatment, 0);
}

TEST(FifthDeck, TheRowBringsTheDeckIntoTheListTheFileAndTheCalculation) {
  ASSERT_EQ(kDeckSections.size(), 5u);
  Project p;
  loadWithFifthDeck(p);
  ASSERT_EQ(p.form.items(FieldId::DeckType).size(), 5u);
  EXPECT_EQ(p.form.items(FieldId::DeckType)[4], "KX-90-16");
  EXPECT_EQ(p.form.index(FieldId::DeckType), kFifthDeck);
  EXPECT_EQ(p.form.text(FieldId::UnitWeight), "201");

  // The joint capacities follow the plate thickness of the row (1.6 mm), not
  // the place of the deck in the list.
  for (const int method : {0, 1, 2}) {
    EXPECT_EQ(endJointCapacityOf(kFifthDeck, method), endJointCapacityOf(1, method)) << method;
    EXPECT_EQ(midJointCapacityOf(kFifthDeck, method), midJointCapacityOf(1, method)) << method;
  }

  const CalculateResult result = calculate(p.form, p.state);
  ASSERT_FALSE(result.refusal) << result.refusal->message;
  const DesignConditions& c = result.outcome->conditions;
  EXPECT_EQ(c.deckName, "KX-90-16");
  EXPECT_EQ(c.deckHeight, 90);
  EXPECT_DOUBLE_EQ(c.sectionModulus, 70400);
  EXPECT_DOUBLE_EQ(c.momentOfInertia, 4100000);
  EXPECT_EQ(c.endJointCapacity, endJointCapacityOf(1, c.endJoint));
  EXPECT_EQ(c.midJointCapacity, midJointCapacityOf(1, c.midJoint));

  // A saved project keeps the deck and loads it again.
  const fs::path file = fs::temp_directory_path() / "tavilo_fifth_deck.tvl";
  saveProject(file, p.context());
  Project reloaded;
  std::ignore = reloaded.form.startUp();
  const ProjectLoad load = loadProject(file, reloaded.context());
  fs::remove(file);
  ASSERT_TRUE(load.completed()) << load.failure.value_or("");
  EXPECT_EQ(reloaded.form.index(FieldId::DeckType), kFifthDeck);
}

TEST(FifthDeck, TheSpanTableHasARowForIt) {
  Project p;
  loadWithFifthDeck(p);
  const SpanTableResult result = buildSpanTable(p.form, p.state.settings, 100);
  ASSERT_FALSE(result.refusal) << result.refusal->message;
  const SpanTable& table = *result.table;
  ASSERT_EQ(table.decks.size(), 5u);
  EXPECT_EQ(table.decks[4].name, "KX-90-16");
  EXPECT_DOUBLE_EQ(table.decks[4].unitWeight, 201);
  EXPECT_EQ(table.decks[4].endJointCapacity,
            endJointCapacityOf(1, p.form.index(FieldId::EndJoint)));
  ASSERT_EQ(table.cells.size(), 20u);
  const SpanTableCell& own = table.cell(kFifthDeck, p.form.spinValue(FieldId::SpanCount));
  EXPECT_TRUE(own.isProject);
  EXPECT_EQ(own.deckName, "KX-90-16");
  // The deepest deck carries at least the span of the stiffest of the four.
  ASSERT_TRUE(own.span);
  EXPECT_GE(*own.span, table.cell(3, own.spanCount).span.value_or(0));
}

TEST(FifthDeck, TheLiveCheckComparesIt) {
  Project p;
  loadWithFifthDeck(p);
  const LiveCheck live = runLiveCheck(p.form, p.state.settings);
  ASSERT_FALSE(live.refusal) << live.refusal->message;
  ASSERT_EQ(live.decks.size(), 5u);
  EXPECT_EQ(live.decks[4].deckName, "KX-90-16");
  EXPECT_TRUE(live.decks[4].current);
  EXPECT_DOUBLE_EQ(live.decks[4].unitWeight, 201);
  EXPECT_EQ(livePanel(live, 0).decks.size(), 5u);
}

}  // namespace
}  // namespace tavilo

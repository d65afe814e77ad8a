#include "model/span_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "calc/app_state.h"
#include "calc/codes.h"
#include "model/project_file.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TAVILO_SOURCE_DIR;

// A small deterministic generator, the same on every machine.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed) {}
  int below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
  }
  template <typename T, std::size_t N>
  T pick(const T (&values)[N]) {
    return values[below(static_cast<int>(N))];
  }

 private:
  std::uint32_t state_;
};

// A project as a user might enter it: the heavy-snow sample with most of
// its inputs changed.
std::vector<std::string> variedProject(Dice& dice) {
  std::vector<std::string> lines = readTextLines(kSource / "examples/heavy-snow-overhangs.tvl");
  const auto set = [&lines](int line, int value) {
    lines[static_cast<std::size_t>(line)] = std::to_string(value);
  };
  // Sites of the sample tables: prefecture and its number of districts.
  const int sites[][2] = {{0, 3},  {1, 1},  {3, 1},  {12, 2}, {13, 1},
                          {16, 2}, {26, 1}, {39, 1}, {46, 1}};
  const auto& site = sites[dice.below(9)];
  set(1, dice.below(4));
  set(2, dice.pick({0, 2, 2}));
  set(3, dice.below(3));
  set(4, site[0]);
  set(5, dice.below(site[1]));
  set(7, dice.below(4));
  const int h1 = dice.pick({3000, 5000, 8000, 10000, 15000});
  set(8, h1);
  set(9, h1 + dice.pick({0, 500, 1500, 3000}));
  set(10, dice.pick({5000, 9000, 15000, 20000, 40000}));
  set(11, 3 + dice.below(4));
  set(12, 7 + dice.below(3));
  set(13, 10 + dice.below(2));
  set(20, dice.pick({30, 50, 100, 150, 200, 250}));
  set(21, dice.pick({20, 30}));
  set(22, dice.pick({0, 600, 1800, 3000}));
  set(23, dice.pick({0, 100, 200, 500}));
  const int count = 1 + dice.below(4);
  set(24, count);
  for (int span = 1; span <= 4; ++span)
    set(24 + span, span <= count ? dice.pick({900, 1500, 2000, 3000}) : 0);
  set(34, dice.pick({6000, 9000}));
  set(58, dice.below(2));
  set(59, dice.pick({300, 1000, 2000}));
  set(60, dice.pick({500, 1500, 3000, 5000, 8000}));
  set(61, dice.pick({600, 2000, 6000}));
  set(62, dice.below(3));
  set(63, dice.pick({120, 150, 200}));
  set(64, dice.pick({0, 1, 2, 3, 3}));
  set(65, dice.pick({200, 500, 800, 1000}));
  set(66, dice.pick({150, 400, 1000}));
  return lines;
}

struct LoadedProject {
  InputForm form{LocationTables(kSource / "Load_data")};
  SettingsDialog dialog;
  CoefficientSettings settings;
  PrintSettings print;
  ProjectPaths paths;

  explicit LoadedProject(std::vector<std::string> lines) {
    std::ignore = form.startUp();
    const ProjectLoad load =
        applyProjectLines(std::move(lines), "varied.tvl", {form, dialog, settings, print, paths});
    EXPECT_TRUE(load.completed()) << *load.failure;
  }
};

// Every span of the grid, the way the table need not.
SpanSearch fullScan(const SpanTableCellCalculation& cell) {
  const SpanGrid& grid = cell.grid();
  SpanSearch out;
  for (int i = 0; i < grid.count(); ++i) {
    if (cell.failuresAt(grid.at(i)) != FailureCounters{})
      continue;
    out.span = grid.at(i);
    out.stoppedBy =
        i + 1 < grid.count() ? limitOf(cell.failuresAt(grid.at(i + 1))) : SpanLimit::kDeckLength;
  }
  if (!out.span) {
    out.stoppedBy =
        grid.count() == 0 ? SpanLimit::kDeckLength : limitOf(cell.failuresAt(grid.at(0)));
  }
  return out;
}

TEST(SpanTable, SearchEqualsAFullScanOfTheGridOnVariedProjects) {
  Dice dice(20240611);
  std::vector<int> limits(4);
  int withoutSpan = 0;
  for (int project = 0; project < 24; ++project) {
    LoadedProject loaded(variedProject(dice));
    for (int deck = 0; deck < 4; ++deck) {
      for (int count = 1; count <= 4; ++count) {
        const CellPreparation prepared =
            prepareSpanTableCell(loaded.form, loaded.settings, deck, count, 100);
        ASSERT_FALSE(prepared.refusal) << prepared.refusal->message;
        const SpanTableCellCalculation& cell = *prepared.calculation;
        const SpanSearch search = cell.search();
        const SpanSearch expected = fullScan(cell);
        EXPECT_EQ(search.span, expected.span)
            << "project " << project << ", deck " << deck << ", " << count << " spans";
        EXPECT_EQ(search.stoppedBy, expected.stoppedBy);
        ++limits[static_cast<std::size_t>(*search.stoppedBy)];
        withoutSpan += !search.span;
      }
    }
  }
  // The projects reach every kind of cell.
  for (const int seen : limits)
    EXPECT_GT(seen, 0);
  EXPECT_GT(withoutSpan, 0);
}

// What the calculate command says with every span of a cell's length.
std::optional<CalculateResult> calculatedWithSpans(const InputForm& project,
                                                   const CoefficientSettings& settings, int deck,
                                                   int count, int span) {
  InputForm form = project;
  const std::string weight = form.text(FieldId::UnitWeight);
  std::ignore = form.selectIndex(FieldId::DeckType, deck);
  if (form.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther)
    std::ignore = form.editText(FieldId::UnitWeight, weight);
  std::ignore = form.setSpinValue(FieldId::SpanCount, count);
  for (int n = 1; n <= count; ++n)
    std::ignore = form.editText(spanField(n), std::to_string(span));
  AppState state;
  state.settings = settings;
  return calculate(form, state);
}

// The table's cells calculate the project as the calculate command does:
// the longest span passes, the next one fails with the named check or is
// refused as too long a deck.
TEST(SpanTable, CellsAreWhatTheCalculateCommandGives) {
  Dice dice(77);
  for (int project = 0; project < 6; ++project) {
    LoadedProject loaded(variedProject(dice));
    const SpanTableResult result = buildSpanTable(loaded.form, loaded.settings, 20);
    ASSERT_TRUE(result.table) << result.refusal->message;
    for (const SpanTableCell& cell : result.table->cells) {
      SCOPED_TRACE("project " + std::to_string(project) + " " + cell.deckName + " " +
                   std::to_string(cell.spanCount));
      if (cell.span) {
        const auto at = calculatedWithSpans(loaded.form, loaded.settings, cell.deckType,
                                            cell.spanCount, *cell.span);
        ASSERT_TRUE(at->outcome) << at->refusal->message;
        EXPECT_TRUE(at->outcome->allOk);
      }
      const int next = cell.span ? *cell.span + 20 : kSpanTableFirstSpan;
      const auto after =
          calculatedWithSpans(loaded.form, loaded.settings, cell.deckType, cell.spanCount, next);
      if (cell.stoppedBy == SpanLimit::kDeckLength) {
        ASSERT_TRUE(after->refusal);
        EXPECT_EQ(after->refusal->message.rfind(kDeckTooLongMessage, 0), 0u);
        continue;
      }
      ASSERT_TRUE(after->outcome) << after->refusal->message;
      EXPECT_EQ(limitOf(after->outcome->failures), cell.stoppedBy);
    }
  }
}

class SpanTableOfTheSample : public ::testing::Test {
 protected:
  LoadedProject project_{readTextLines(kSource / "examples/heavy-snow-overhangs.tvl")};
};

TEST_F(SpanTableOfTheSample, DeckWeightsFollowTheTreatmentAndATypedWeightStays) {
  const SpanTableResult z27 = buildSpanTable(project_.form, project_.settings);
  ASSERT_TRUE(z27.table);
  std::vector<double> weights;
  for (const SpanTableDeck& deck : z27.table->decks)
    weights.push_back(deck.unitWeight);
  EXPECT_EQ(weights, (std::vector<double>{131, 172, 142, 188}));
  EXPECT_EQ(z27.table->decks[0].deadPlusLive, 100 + 131 + 100);

  std::ignore = project_.form.selectIndex(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  std::ignore = project_.form.editText(FieldId::UnitWeight, "150");
  const SpanTableResult typed = buildSpanTable(project_.form, project_.settings);
  ASSERT_TRUE(typed.table);
  for (const SpanTableDeck& deck : typed.table->decks)
    EXPECT_EQ(deck.unitWeight, 150) << deck.name;
  EXPECT_EQ(project_.form.text(FieldId::UnitWeight), "150") << "the screen is left as it was";
  EXPECT_EQ(project_.form.index(FieldId::DeckType), 3);
}

TEST_F(SpanTableOfTheSample, MarksTheProjectCellAndGoesToTheDeckLength) {
  const SpanTableResult result = buildSpanTable(project_.form, project_.settings);
  ASSERT_TRUE(result.table);
  const SpanTable& table = *result.table;
  ASSERT_EQ(table.cells.size(), 16u);
  int marked = 0;
  for (const SpanTableCell& cell : table.cells)
    marked += cell.isProject;
  EXPECT_EQ(marked, 1);
  EXPECT_TRUE(table.cell(3, 2).isProject);  // KX-75-16, two spans
  // Four spans with overhangs of 500 and 400 mm reach the 12 m deck at 2770 mm.
  const SpanTableCell& four = table.cell(0, 4);
  EXPECT_EQ(table.cell(3, 4).span, 2770);
  EXPECT_EQ(table.cell(3, 4).stoppedBy, SpanLimit::kDeckLength);
  EXPECT_EQ(four.longestGridSpan, 2770);
  EXPECT_EQ(table.conditions.deckType, 3);
  EXPECT_EQ(table.settings.maxDeckLength, 12000);
}

TEST_F(SpanTableOfTheSample, RefusesWhatNoSpanCanMend) {
  const SpanTableResult step = buildSpanTable(project_.form, project_.settings, 0);
  ASSERT_TRUE(step.refusal);
  EXPECT_NE(step.refusal->message.find("刻み"), std::string::npos);

  std::ignore = project_.form.selectIndex(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  const SpanTableResult weight = buildSpanTable(project_.form, project_.settings);
  ASSERT_TRUE(weight.refusal);
  EXPECT_EQ(weight.refusal->message, kUnitWeightMessage);
  EXPECT_EQ(weight.refusal->focus, FieldId::UnitWeight);

  // A project whose own spans are too long still has its table.
  std::ignore = project_.form.selectIndex(FieldId::SurfaceTreatment, 0);
  std::ignore = project_.form.editText(FieldId::Span1, "9000");
  EXPECT_TRUE(buildSpanTable(project_.form, project_.settings).table);
}

}  // namespace
}  // namespace tavilo

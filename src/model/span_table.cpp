#include "model/span_table.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "calc/app_state.h"
#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "model/form_fields.h"
#include "model/session.h"

namespace tavilo {
namespace {

// The form with another deck and span count, every span at `span` mm.
InputForm cellForm(const InputForm& form, int deckType, int spanCount, int span) {
  InputForm cell = form;
  const std::string enteredWeight = form.text(FieldId::UnitWeight);
  std::ignore = cell.selectIndex(FieldId::DeckType, deckType);
  // A typed unit weight belongs to the roof, not to the deck chosen.
  if (cell.index(FieldId::SurfaceTreatment) == kSurfaceTreatmentOther)
    std::ignore = cell.setText(FieldId::UnitWeight, enteredWeight);
  std::ignore = cell.setSpinValue(FieldId::SpanCount, spanCount);
  for (int n = 1; n <= spanCount; ++n)
    std::ignore = cell.setText(spanField(n), std::to_string(span));
  return cell;
}

std::string stepMessage() {
  return "スパン表の刻みは " + std::to_string(kMinSpanStep) + "〜1,000mm の整数で指定して下さい。";
}

}  // namespace

SpanTableCellCalculation::SpanTableCellCalculation(CalculationOutcome prepared,
                                                   const CoefficientSettings& settings, int step)
    : prepared_(std::move(prepared)), settings_(settings) {
  prepared_.settings = settings;
  const DesignConditions& c = prepared_.conditions;
  // Overhangs are whole millimetres; the deck with them may be no longer than
  // its maximum length.
  const long long room = static_cast<long long>(settings.maxDeckLength) -
                         static_cast<long long>(c.leftOverhang) -
                         static_cast<long long>(c.rightOverhang);
  grid_.first = kSpanTableFirstSpan;
  grid_.step = step;
  grid_.last = room < 0 ? 0 : static_cast<int>(room / std::max(1, c.spanCount));
}

FailureCounters SpanTableCellCalculation::failuresAt(int span) const {
  DesignConditions c = prepared_.conditions;
  const int count = std::clamp(c.spanCount, 1, kMaxSpans);
  for (int i = 0; i < count; ++i)
    c.spanLengths[slot(i)] = span;
  c.totalDeckLength =
      count * span + static_cast<int>(c.leftOverhang) + static_cast<int>(c.rightOverhang);
  return resultsFailures(c, settings_, prepared_.wind);
}

SpanSearch SpanTableCellCalculation::search() const {
  return longestPassingSpan(grid_, [this](int span) { return failuresAt(span); });
}

CellPreparation prepareSpanTableCell(const InputForm& form, const CoefficientSettings& settings,
                                     int deckType, int spanCount, int step) {
  InputForm cell = cellForm(form, deckType, spanCount, kSpanTableFirstSpan);
  AppState state;
  state.settings = settings;
  // The grid keeps the deck within its maximum length; every other rule of
  // the input check still applies.
  state.settings.maxDeckLength = std::numeric_limits<int>::max();
  CalculateResult result = calculate(cell, state);
  if (result.refusal)
    return {std::move(result.refusal), std::nullopt};
  if (!result.outcome)
    return {InputRefusal{"計算結果がありません。", FieldId::None}, std::nullopt};
  return {std::nullopt, SpanTableCellCalculation(std::move(*result.outcome), settings, step)};
}

SpanTableResult buildSpanTable(const InputForm& form, const CoefficientSettings& settings,
                               int step) {
  if (step < kMinSpanStep || step > kMaxSpanStep)
    return {InputRefusal{stepMessage(), FieldId::None}, std::nullopt};
  const int projectDeck = form.index(FieldId::DeckType);
  const int projectCount = std::clamp(form.spinValue(FieldId::SpanCount), 1, kMaxSpans);

  SpanTable table;
  table.step = step;
  bool haveProjectConditions = false;
  for (int deck = 0; deck < kSpanTableDecks; ++deck) {
    for (int count = 1; count <= kSpanTableSpanCounts; ++count) {
      CellPreparation prepared = prepareSpanTableCell(form, settings, deck, count, step);
      if (prepared.refusal)
        return {std::move(prepared.refusal), std::nullopt};
      const SpanTableCellCalculation& calculation = *prepared.calculation;
      const CalculationOutcome& outcome = calculation.prepared();
      const DesignConditions& c = outcome.conditions;
      const bool isProject = deck == projectDeck && count == projectCount;
      if (isProject || (!haveProjectConditions && deck == 0 && count == 1)) {
        table.conditions = c;
        table.settings = outcome.settings;
        table.facts = outcome.facts;
        table.wind = outcome.wind;
        haveProjectConditions = isProject;
      }
      if (count == 1) {
        table.decks[slot(deck)] = {deck,           c.deckName,         c.unitWeight,
                                   c.deadPlusLive, c.endJointCapacity, c.midJointCapacity};
      }
      const SpanSearch search = calculation.search();
      SpanTableCell cell;
      cell.deckType = deck;
      cell.deckName = c.deckName;
      cell.spanCount = count;
      cell.span = search.span;
      cell.stoppedBy = search.stoppedBy;
      cell.isProject = isProject;
      const SpanGrid& grid = calculation.grid();
      cell.longestGridSpan = grid.count() > 0 ? grid.at(grid.count() - 1) : 0;
      cell.calculations = search.calculations;
      table.cells.push_back(std::move(cell));
    }
  }
  return {std::nullopt, std::move(table)};
}

SpanTableResult buildSpanTable(const Session& session, int step) {
  return buildSpanTable(session.form(), session.settings(), step);
}

}  // namespace tavilo

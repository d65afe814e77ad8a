#pragma once
// The span table: for each deck of the catalogue and each span count from 1 to
// 4 with equal spans, the longest span on a grid of millimetres at which the
// whole calculation of the project passes, and what stops the next span.
// Every other input of the project (site, wind, snow, loads, joints,
// overhangs, settings, method) stays as entered; the deck's unit weight
// follows the deck for the surface treatment "Z12" or "Z27", and "他" keeps
// the entered weight. The windows and the batch command show the value it
// answers; the report draws it as one page.

#include <optional>

#include "calc/calculation_run.h"
#include "calc/span_search.h"
#include "model/calculate_command.h"
#include "model/input_form.h"

namespace tavilo {

class Session;

inline constexpr int kMinSpanStep = 1;
inline constexpr int kMaxSpanStep = 1000;

struct SpanTableResult {
  std::optional<InputRefusal> refusal;  // the project cannot be calculated at all
  std::optional<SpanTable> table;
};

// One cell: the project with one deck and one span count, prepared once,
// ready to be calculated at any span of its grid.
class SpanTableCellCalculation {
 public:
  // The grid of the maximum deck length of `settings` with the overhangs of
  // the prepared conditions.
  SpanTableCellCalculation(CalculationOutcome prepared, const CoefficientSettings& settings,
                           int step);

  const SpanGrid& grid() const { return grid_; }
  const CalculationOutcome& prepared() const { return prepared_; }
  // The failures of the whole calculation with every span `span` mm long.
  FailureCounters failuresAt(int span) const;
  SpanSearch search() const;

 private:
  CalculationOutcome prepared_;
  CoefficientSettings settings_;
  SpanGrid grid_;
};

// The project of the input screen with one deck and one span count, as the
// calculate command prepares it (with the first span of the grid; the deck
// length is kept by the grid, not by the input check). A refusal when the
// inputs cannot be calculated at any span.
struct CellPreparation {
  std::optional<InputRefusal> refusal;
  std::optional<SpanTableCellCalculation> calculation;
};
CellPreparation prepareSpanTableCell(const InputForm& form, const CoefficientSettings& settings,
                                     int deckType, int spanCount, int step);

// The table of the inputs on the screen with the settings in hand. The step
// must lie within kMinSpanStep … kMaxSpanStep. The form is not changed.
SpanTableResult buildSpanTable(const InputForm& form, const CoefficientSettings& settings,
                               int step = kDefaultSpanStep);
// The table of a session's input screen and settings: while the result
// window is open they are the inputs of the report it shows.
SpanTableResult buildSpanTable(const Session& session, int step = kDefaultSpanStep);

}  // namespace tavilo

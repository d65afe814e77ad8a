#pragma once
// The longest passing span on a grid of spans: the search behind the span
// table. A calculation of the deck at a span tells which checks fail; the
// search finds the longest grid span at which none does, exactly as trying
// every span of the grid would, with a few dozen calculations.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/catalogue.h"
#include "calc/checks.h"
#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/report_facts.h"
#include "calc/wind_load.h"

namespace tavilo {

// What keeps the next span of the grid from passing.
enum class SpanLimit {
  kStress,      // 応力: a bending stress check fails
  kDeflection,  // たわみ: a deflection check fails
  kJoint,       // 接合部: a joint check fails
  kDeckLength,  // デッキ長さ: the next span would make the deck longer than its maximum
};

// The spans first, first + step, first + 2·step … up to last, in mm.
struct SpanGrid {
  int first = 100;
  int step = 10;
  int last = 0;

  // The number of spans on the grid; 0 when last < first.
  int count() const;
  int at(int index) const { return first + index * step; }
};

struct SpanSearch {
  // The longest span of the grid at which every check passes; none when no
  // span of the grid passes.
  std::optional<int> span;
  // With a span: what fails at the next span of the grid (kDeckLength past
  // the end of the grid). Without one: what fails at the first span of the
  // grid, kDeckLength for an empty grid.
  std::optional<SpanLimit> stoppedBy;
  int calculations = 0;  // spans calculated
};

// The failures of the whole calculation with every span of the given length.
using SpanFailures = std::function<FailureCounters(int span)>;

// The first failing check in the order of the verdict: stress, deflection,
// joints; none when everything passes.
std::optional<SpanLimit> limitOf(const FailureCounters& failures);

// The longest passing span of the grid.
//
// Stress and deflection failures grow with the span: the span moments grow
// with its square and the deflections with its fourth power, while an
// overhang's share of them stays the same. Once one of them fails at a span
// it fails at every longer span, so the longest span at which both pass is
// found by halving the grid. The joint checks need not behave so (whether an
// end support pulls at all depends on the sign of its reaction, which an
// overhang can turn), so from that bound the spans are tried one by one
// downwards until the whole calculation passes.
SpanSearch longestPassingSpan(const SpanGrid& grid, const SpanFailures& failures);

// ---- The span table: the longest passing span of every deck and span count

inline constexpr int kSpanTableFirstSpan = 100;     // mm
inline constexpr int kDefaultSpanStep = 10;         // mm
inline constexpr int kSpanTableDecks = kDeckCount;  // every deck of the catalogue
inline constexpr int kSpanTableSpanCounts = 4;

// The name of a limit in the table, e.g. "たわみ", and in JSON, e.g. "deflection".
std::string_view spanLimitName(SpanLimit limit);
std::string_view spanLimitKey(SpanLimit limit);

struct SpanTableCell {
  int deckType = 0;
  std::string deckName;
  int spanCount = 1;
  std::optional<int> span;             // mm; none when no span of the grid passes
  std::optional<SpanLimit> stoppedBy;  // see SpanSearch
  bool isProject = false;              // the project's own deck and span count
  int longestGridSpan = 0;             // the last span of the grid, 0 when it is empty
  int calculations = 0;
};

// A deck as the table calculated it: its unit weight and the combined dead
// and live load that follows from it.
struct SpanTableDeck {
  int deckType = 0;
  std::string name;
  double unitWeight = 0;  // N/m²
  int deadPlusLive = 0;   // N/m²
  int endJointCapacity = 0;
  int midJointCapacity = 0;
};

struct SpanTable {
  int step = kDefaultSpanStep;
  // The project's own deck and span count as calculated for the table:
  // conditions after preparation (the spans are those of the first grid
  // span), the settings as entered, the facts of the screen and the wind
  // derivation (none with direct input of loads).
  DesignConditions conditions;
  CoefficientSettings settings;
  ReportFacts facts;
  std::optional<WindDerivation> wind;
  std::array<SpanTableDeck, kSpanTableDecks> decks;
  // Deck by deck in catalogue order, span counts 1 to 4 within each deck.
  std::vector<SpanTableCell> cells;

  const SpanTableCell& cell(int deckType, int spanCount) const;
};

}  // namespace tavilo

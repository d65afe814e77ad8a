#include "calc/span_search.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tavilo {

int SpanGrid::count() const {
  if (step <= 0 || last < first)
    return 0;
  return (last - first) / step + 1;
}

std::optional<SpanLimit> limitOf(const FailureCounters& failures) {
  if (failures.stress > 0)
    return SpanLimit::kStress;
  if (failures.deflection > 0)
    return SpanLimit::kDeflection;
  if (failures.joint > 0)
    return SpanLimit::kJoint;
  return std::nullopt;
}

namespace {

// Each span of the grid is calculated at most once.
class GridFailures {
 public:
  GridFailures(const SpanGrid& grid, const SpanFailures& failures, int& calculations)
      : grid_(grid),
        failures_(failures),
        calculations_(calculations),
        known_(static_cast<std::size_t>(grid.count())) {}

  const FailureCounters& at(int index) {
    std::optional<FailureCounters>& known = known_[static_cast<std::size_t>(index)];
    if (!known) {
      known = failures_(grid_.at(index));
      ++calculations_;
    }
    return *known;
  }

  bool passes(int index) { return at(index) == FailureCounters{}; }

  // A stress or deflection check fails.
  bool grows(int index) {
    const FailureCounters& f = at(index);
    return f.stress > 0 || f.deflection > 0;
  }

 private:
  const SpanGrid& grid_;
  const SpanFailures& failures_;
  int& calculations_;
  std::vector<std::optional<FailureCounters>> known_;
};

// The last index at which neither stress nor deflection fails; -1 when they
// fail already at the first span.
int growthBound(GridFailures& grid, int count) {
  if (!grid.grows(count - 1))
    return count - 1;
  if (grid.grows(0))
    return -1;
  int passing = 0;
  int failing = count - 1;
  while (failing - passing > 1) {
    const int middle = passing + (failing - passing) / 2;
    if (grid.grows(middle))
      failing = middle;
    else
      passing = middle;
  }
  return passing;
}

}  // namespace

SpanSearch longestPassingSpan(const SpanGrid& grid, const SpanFailures& failures) {
  SpanSearch out;
  const int count = grid.count();
  if (count == 0) {
    out.stoppedBy = SpanLimit::kDeckLength;
    return out;
  }
  GridFailures known(grid, failures, out.calculations);
  for (int index = growthBound(known, count); index >= 0; --index) {
    if (!known.passes(index))
      continue;
    out.span = grid.at(index);
    out.stoppedBy = index + 1 < count ? limitOf(known.at(index + 1)) : SpanLimit::kDeckLength;
    return out;
  }
  out.stoppedBy = limitOf(known.at(0));
  return out;
}

std::string_view spanLimitName(SpanLimit limit) {
  switch (limit) {
    case SpanLimit::kStress:
      return "応力";
    case SpanLimit::kDeflection:
      return "たわみ";
    case SpanLimit::kJoint:
      return "接合部";
    case SpanLimit::kDeckLength:
      return "デッキ長さ";
  }
  return "";
}

std::string_view spanLimitKey(SpanLimit limit) {
  switch (limit) {
    case SpanLimit::kStress:
      return "stress";
    case SpanLimit::kDeflection:
      return "deflection";
    case SpanLimit::kJoint:
      return "joint";
    case SpanLimit::kDeckLength:
      return "deckLength";
  }
  return "";
}

const SpanTableCell& SpanTable::cell(int deckType, int spanCount) const {
  const auto found = std::find_if(cells.begin(), cells.end(), [&](const SpanTableCell& c) {
    return c.deckType == deckType && c.spanCount == spanCount;
  });
  return found != cells.end() ? *found : cells.front();
}

}  // namespace tavilo

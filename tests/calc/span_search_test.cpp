#include "calc/span_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tavilo {
namespace {

TEST(SpanSearch, GridRunsFromTheFirstSpanByItsStepUpToTheLast) {
  EXPECT_EQ((SpanGrid{100, 10, 2450}.count()), 236);
  EXPECT_EQ((SpanGrid{100, 10, 2455}.at(235)), 2450);
  EXPECT_EQ((SpanGrid{100, 30, 100}.count()), 1);
  EXPECT_EQ((SpanGrid{100, 10, 99}.count()), 0);
  EXPECT_EQ((SpanGrid{100, 0, 500}.count()), 0);
}

TEST(SpanSearch, TheFirstFailingCheckInTheOrderOfTheVerdict) {
  EXPECT_EQ(limitOf({1, 1, 1}), SpanLimit::kStress);
  EXPECT_EQ(limitOf({0, 2, 1}), SpanLimit::kDeflection);
  EXPECT_EQ(limitOf({0, 0, 3}), SpanLimit::kJoint);
  EXPECT_EQ(limitOf({}), std::nullopt);
}

// The answer a scan of every span gives.
SpanSearch scanned(const SpanGrid& grid, const SpanFailures& failures) {
  SpanSearch out;
  const int n = grid.count();
  for (int i = 0; i < n; ++i) {
    if (failures(grid.at(i)) == FailureCounters{}) {
      out.span = grid.at(i);
      out.stoppedBy = i + 1 < n ? limitOf(failures(grid.at(i + 1))) : SpanLimit::kDeckLength;
    }
  }
  if (!out.span)
    out.stoppedBy = n == 0 ? SpanLimit::kDeckLength : limitOf(failures(grid.at(0)));
  return out;
}

// Stress and deflection fail from some span on; the joints fail at any
// spans at all, also in bands and single spans below and above passing ones.
TEST(SpanSearch, EqualsAScanWhateverTheJointsDo) {
  std::uint32_t seed = 7;
  const auto below = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  for (int trial = 0; trial < 3000; ++trial) {
    const SpanGrid grid{100, 10 + below(3) * 20, 100 + below(80) * 10};
    const int n = grid.count();
    const int stressFrom = below(n + 2);
    const int deflectionFrom = below(n + 2);
    std::vector<bool> joint(static_cast<std::size_t>(n) + 1);
    const int density = below(4);  // none, sparse, half, most
    for (auto&& failing : joint)
      failing = density > 0 && below(4) < density;
    const SpanFailures failures = [&](int span) {
      const int i = (span - grid.first) / grid.step;
      return FailureCounters{i >= stressFrom ? 1 : 0, i >= deflectionFrom ? 2 : 0,
                             joint[static_cast<std::size_t>(i)] ? 1 : 0};
    };
    const SpanSearch expected = scanned(grid, failures);
    const SpanSearch search = longestPassingSpan(grid, failures);
    ASSERT_EQ(search.span, expected.span) << "trial " << trial;
    ASSERT_EQ(search.stoppedBy, expected.stoppedBy) << "trial " << trial;
    EXPECT_LE(search.calculations, n);
  }
}

TEST(SpanSearch, HalvesTheGridWhileTheJointsHold) {
  const SpanGrid grid{100, 10, 12000};
  int calls = 0;
  const SpanSearch search = longestPassingSpan(grid, [&calls](int span) {
    ++calls;
    return FailureCounters{span > 3456 ? 1 : 0, span > 3000 ? 1 : 0, 0};
  });
  EXPECT_EQ(search.span, 3000);
  EXPECT_EQ(search.stoppedBy, SpanLimit::kDeflection);
  EXPECT_EQ(search.calculations, calls);
  EXPECT_LE(calls, 14);  // 1,191 spans

  const SpanSearch empty = longestPassingSpan({100, 10, 90}, [](int) { return FailureCounters{}; });
  EXPECT_EQ(empty.span, std::nullopt);
  EXPECT_EQ(empty.stoppedBy, SpanLimit::kDeckLength);
  EXPECT_EQ(empty.calculations, 0);

  const SpanSearch whole =
      longestPassingSpan({100, 10, 1000}, [](int) { return FailureCounters{}; });
  EXPECT_EQ(whole.span, 1000);
  EXPECT_EQ(whole.stoppedBy, SpanLimit::kDeckLength);
}

}  // namespace
}  // namespace tavilo

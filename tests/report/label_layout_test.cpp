#include "report/label_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "report/recording_surface.h"
#include "report/report_canvas.h"

namespace tavilo {
namespace {

constexpr LabelGap kGap{2, 1};
const TextBox kRoom{0, 0, 1000, 1000};

TEST(LabelPlace, KeepsAFreePlaceAndLeavesATakenOneByTheSmallestMove) {
  PageTexts page;
  page.take({100, 100, 200, 110});
  // Free, and clear of the gap: stays.
  EXPECT_EQ(page.freePlace({100, 112, 150, 122}, kRoom, GiveWay::kDown, kGap), (PixelPoint{0, 0}));
  // On the taken one's line: to the next line down, a gap below it.
  EXPECT_EQ(page.freePlace({150, 100, 250, 110}, kRoom, GiveWay::kDown, kGap), (PixelPoint{0, 11}));
  // Giving way upwards: the line above.
  EXPECT_EQ(page.freePlace({150, 100, 250, 110}, kRoom, GiveWay::kUp, kGap), (PixelPoint{0, -11}));
  // Along the line: just past its right end.
  EXPECT_EQ(page.freePlace({150, 100, 250, 110}, kRoom, GiveWay::kRight, kGap),
            (PixelPoint{52, 0}));
  // A sliver of an overlap is cheaper sideways than a whole line down.
  EXPECT_EQ(page.freePlace({199, 100, 299, 110}, kRoom, GiveWay::kDown, kGap), (PixelPoint{3, 0}));
}

TEST(LabelPlace, StaysInsideItsRoomOrReportsThatThereIsNone) {
  PageTexts page;
  page.take({100, 100, 200, 110});
  page.take({100, 111, 200, 121});
  // The line below is taken as well and the room ends under it: sideways.
  const TextBox room{0, 90, 1000, 122};
  EXPECT_EQ(page.freePlace({150, 100, 200, 110}, room, GiveWay::kDown, kGap), (PixelPoint{52, 0}));
  // A label outside its room is brought inside first.
  EXPECT_EQ(page.freePlace({980, 0, 1020, 10}, kRoom, GiveWay::kDown, kGap), (PixelPoint{-20, 0}));
  // No room at all.
  EXPECT_FALSE(page.freePlace({100, 100, 200, 110}, {100, 100, 200, 121}, GiveWay::kDown, kGap));
}

TEST(RowValues, TouchingValuesTakeTheFirstFreeLineBelowTheRow) {
  const std::vector<RowExtent> values = {
      {0, 50},     // the row
      {51, 80},    // within the gap of the first: line 1
      {52, 90},    // touches both: line 2
      {100, 150},  // clear of everything: back on the row
      {140, 170},  // touches the one before on the row, clear on line 1
  };
  EXPECT_EQ(stackRowValues(values, 3), (std::vector<int>{0, 1, 2, 0, 1}));
}

TEST(CanvasLabels, InkLeavesOutBlanksAndLabelsKeepClearOfTextsAndMarkedAreas) {
  RecordingSurface s(72, 565, 3350);
  ReportCanvas canvas = beginReport(s, {});
  // 9 points at 72 ppi: half-width characters are 4.5 px, full-width 9 px.
  const TextBox ink = canvas.inkBox(100, 50, "  0.25　");
  EXPECT_EQ(ink, (TextBox{109, 50, 127, 59}));
  EXPECT_TRUE(canvas.inkBox(100, 50, " 　 ").empty());

  canvas.writeAt(100, 50, "0.25");
  canvas.keepClear({90, 62, 140, 72});  // a support under the line
  const TextBox below = canvas.bandMm(0, 100);
  // Over the text: the line below it is the support's, so below the support.
  const PixelPoint at = canvas.writeLabel(100, 50, "0.30", LabelRoom::below(below, 50));
  EXPECT_EQ(at, (PixelPoint{100, 72}));
  // A label that does not collide keeps its place exactly.
  EXPECT_EQ(canvas.writeLabel(300, 50, "0.30", {}), (PixelPoint{300, 50}));
  // Past the right edge of the image: brought back onto it.
  EXPECT_EQ(canvas.writeLabel(560, 200, "12.345", {}).x, 565 - 27);
}

}  // namespace
}  // namespace tavilo

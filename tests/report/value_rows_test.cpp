// Value rows placed by hand: a few values on the screen's canvas (72 pixels
// per inch, 9 points: half-width characters 4.5 px wide, a line 9 px high).

#include "report/value_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/recording_surface.h"

namespace tavilo {
namespace {

RowValue valueAt(std::string text, double xMm, double yMm) {
  return {std::move(text), xMm, yMm, 9, 0};
}

struct Placement {
  std::vector<int> shifts;
  std::vector<PlacedValue> placed;
};

class ValueRows : public ::testing::Test {
 protected:
  RecordingSurface surface_{72, 565, 3350};
  ReportCanvas canvas_ = beginReport(surface_, {});

  Placement place(const std::vector<ValueRow>& rows, const TextBox& area) {
    Placement p;
    p.shifts = placeRows(canvas_, rows, area, p.placed);
    return p;
  }
  PixelPoint own(const RowValue& v) const { return {canvas_.mmToPx(v.xMm), canvas_.mmToPx(v.yMm)}; }
  int lineStep() const { return canvas_.emHeight() + canvas_.labelGap().y; }
};

TEST_F(ValueRows, ValuesThatFitStayAtTheirOwnPlaces) {
  const ValueRow moments{{valueAt("1.25", 20, 30), valueAt("-0.50", 60, 30)}, GiveWay::kDown, {}};
  const ValueRow shears{{valueAt("0.31", 20, 40)}, GiveWay::kDown, {}};
  const ValueRow none{{}, GiveWay::kDown, {}};
  const Placement p = place({moments, none, shears}, canvas_.bandMm(25, 60));
  EXPECT_EQ(p.shifts, (std::vector<int>{0, 0, 0}));
  ASSERT_EQ(p.placed.size(), 3u);
  EXPECT_EQ(p.placed[0].at, own(moments.values[0]));
  EXPECT_EQ(p.placed[1].at, own(moments.values[1]));
  EXPECT_EQ(p.placed[2].at, own(shears.values[0]));
  EXPECT_EQ(canvas_.fontSize(), canvas_.baseFontSize);
}

// Two values that overlap a little: the row keeps its line and the second
// moves along it, by no more than its own width.
TEST_F(ValueRows, ASlightOverlapMovesAValueAlongItsRow) {
  const ValueRow moments{{valueAt("12.50", 20, 30), valueAt("12.75", 21, 30)}, GiveWay::kDown, {}};
  const Placement p = place({moments}, canvas_.bandMm(25, 80));
  ASSERT_EQ(p.placed.size(), 2u);
  const PixelPoint first = own(moments.values[0]);
  const PixelPoint second = own(moments.values[1]);
  EXPECT_EQ(p.placed[0].at, first);
  EXPECT_EQ(p.placed[1].at.y, second.y);
  EXPECT_GE(p.placed[1].at.x, first.x + canvas_.textWidth("12.50"));
  EXPECT_LE(p.placed[1].at.x, second.x + canvas_.textWidth("12.75"));
}

// Values on one place find no room along the row: the row grows by a line
// for each, away from the axis, and the row below moves on so that it stays
// clear of them.
TEST_F(ValueRows, CollidingValuesGrowTheRowAndTheNextRowMovesOn) {
  const ValueRow moments{
      {valueAt("0.25", 50, 30), valueAt("0.30", 50, 30), valueAt("0.35", 50, 30)},
      GiveWay::kDown,
      {}};
  const ValueRow deflections{{valueAt("3.2", 50, 34)}, GiveWay::kDown, {}};
  const Placement p = place({moments, deflections}, canvas_.bandMm(25, 80));
  ASSERT_EQ(p.placed.size(), 4u);
  const PixelPoint first = own(moments.values[0]);
  EXPECT_EQ(p.placed[0].at, first);
  EXPECT_EQ(p.placed[1].at, (PixelPoint{first.x, first.y + lineStep()}));
  EXPECT_EQ(p.placed[2].at, (PixelPoint{first.x, first.y + 2 * lineStep()}));
  ASSERT_EQ(p.shifts.size(), 2u);
  EXPECT_EQ(p.shifts[0], 0);
  EXPECT_GT(p.shifts[1], 0);
  EXPECT_GE(p.placed[3].at.y, p.placed[2].at.y + canvas_.emHeight()) << "clear of the grown lines";
  EXPECT_EQ(p.placed[3].at.x, own(deflections.values[0]).x);
}

TEST_F(ValueRows, ARowAboveTheAxisGrowsUpwards) {
  const ValueRow largest{{valueAt("4.00", 40, 30), valueAt("4.10", 40, 30)}, GiveWay::kUp, {}};
  const Placement p = place({largest}, canvas_.bandMm(10, 35));
  ASSERT_EQ(p.placed.size(), 2u);
  EXPECT_EQ(p.placed[0].at, own(largest.values[0]));
  EXPECT_EQ(p.placed[1].at.y, p.placed[0].at.y - lineStep());
}

// A block without room for a further line: the values move along the row
// instead, and every one stays inside the block.
TEST_F(ValueRows, WithoutRoomForALineValuesMoveAlongTheRow) {
  const ValueRow row{{valueAt("7.75", 50, 30), valueAt("7.80", 50, 30), valueAt("7.85", 50, 30)},
                     GiveWay::kDown,
                     {}};
  const int top = canvas_.mmToPx(30);
  const TextBox area{0, top, 565, top + canvas_.emHeight()};
  const Placement p = place({row}, area);
  ASSERT_EQ(p.placed.size(), 3u);
  for (const PlacedValue& v : p.placed) {
    EXPECT_EQ(v.at.y, top) << v.text;
    EXPECT_GE(v.at.x, area.left);
    EXPECT_LE(v.at.x + canvas_.textWidth(v.text), area.right);
  }
  EXPECT_NE(p.placed[0].at.x, p.placed[1].at.x);
  EXPECT_NE(p.placed[1].at.x, p.placed[2].at.x);
  EXPECT_NE(p.placed[0].at.x, p.placed[2].at.x);
}

// A row grows no further than leaves the rows after it a line of their own:
// with no room for that, its values move further along the row instead.
TEST_F(ValueRows, ARowLeavesTheRowsAfterItTheirRoom) {
  const ValueRow moments{
      {valueAt("12.50", 20, 30), valueAt("12.75", 20, 30), valueAt("12.80", 20, 30)},
      GiveWay::kDown,
      {}};
  const ValueRow deflections{{valueAt("3.2", 60, 34)}, GiveWay::kDown, {}};
  const TextBox area = canvas_.bandMm(25, 38);
  const Placement p = place({moments, deflections}, area);
  ASSERT_EQ(p.placed.size(), 4u);
  const int y = own(moments.values[0]).y;
  EXPECT_EQ(p.placed[0].at.y, y);
  EXPECT_EQ(p.placed[1].at.y, y);
  EXPECT_EQ(p.placed[2].at.y, y);
  EXPECT_NE(p.placed[1].at.x, p.placed[2].at.x);
  EXPECT_EQ(p.placed[3].at, own(deflections.values[0]));
  EXPECT_LE(p.placed[3].at.y + canvas_.emHeight(), area.bottom);
}

TEST_F(ValueRows, PlacedValuesAreWrittenWhereTheyWerePlaced) {
  const ValueRow row{{valueAt("5.5", 20, 30), valueAt("6.5", 20, 30)}, GiveWay::kDown, {}};
  const Placement p = place({row}, canvas_.bandMm(25, 60));
  writePlaced(canvas_, p.placed);
  const std::vector<RecordedText> texts = surface_.textsOnPage(1);
  ASSERT_GE(texts.size(), 2u);
  const RecordedText& first = texts[texts.size() - 2];
  const RecordedText& second = texts.back();
  EXPECT_EQ(first.text, "5.5");
  EXPECT_EQ((PixelPoint{first.x, first.y}), p.placed[0].at);
  EXPECT_EQ(second.text, "6.5");
  EXPECT_EQ((PixelPoint{second.x, second.y}), p.placed[1].at);
}

}  // namespace
}  // namespace tavilo

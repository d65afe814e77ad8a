#pragma once
// The values of a diagram placed row by row beside one another: each row in
// its band away from the axis, growing by lines of its own where its values
// do not fit side by side, and the rows beyond it moving on by as much. The
// values are reserved on the canvas as they are placed, so that nothing
// written later covers them, and written when the whole figure is placed.

#include <optional>
#include <string>
#include <vector>

#include "report/label_layout.h"
#include "report/report_canvas.h"

namespace tavilo {

// A value of a diagram: its text, its size and the top-left corner the
// drawing gives it, page mm.
struct RowValue {
  std::string text;
  double xMm = 0;
  double yMm = 0;
  int sizePt = 9;
  // How much nearer to the axis than its place the value may come: a value
  // set lower than its row's first line may come up to it.
  double riseMm = 0;
};

// The values that stand side by side in one band of a block: the largest span
// moments above the axis; below it the moments at the supports, the
// deflections, and the shears. A row keeps to its band; where its values do
// not fit beside one another it grows by lines of its own, away from the axis,
// and the rows beyond it move on by as much.
struct ValueRow {
  std::vector<RowValue> values;
  GiveWay way = GiveWay::kDown;  // the way the row grows (kUp or kDown)
  // The caption that stands beside the row in the caption column, in the
  // body's size: the rows keep clear of one another's captions too.
  std::optional<double> captionYMm;
};

// How many lines a row may grow by, where the block has room for them,
// before its values are placed one by one wherever there is room.
inline constexpr int kMaxExtraLines = 4;

// A value at the place it was given, device pixels.
struct PlacedValue {
  PixelPoint at;
  std::string text;
  int sizePt = 9;
};

// Places the rows in order, away from the axis, each in its band within
// `area` (device pixels), and appends their values to `placed`. A row whose
// values do not fit beside one another grows by a line, and the rows after it
// move on as far as it then reaches into them (the overlap their own places
// give them aside); where the block has no room for a further line, its
// values move further along the row, and at last each goes wherever there is
// room. The canvas's font size is the body's afterwards.
//
// Returns, per row, how far it moved away from the axis, pixels.
std::vector<int> placeRows(ReportCanvas& canvas, const std::vector<ValueRow>& rows,
                           const TextBox& area, std::vector<PlacedValue>& placed);

// Writes the placed values at their reserved places.
void writePlaced(ReportCanvas& canvas, const std::vector<PlacedValue>& placed);

}  // namespace tavilo

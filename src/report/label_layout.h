#pragma once
// Where the texts of a report page lie, and where a label goes so that it
// overprints nothing. Every text drawn on a page is kept as the box of its
// ink: its drawn extent without leading and trailing blanks, one em high.
// Load arrows and supports keep their areas clear as well, and the lines of a
// diagram as lines: a label keeps their strokes out of the body of its
// characters (the em less a sixth above and below), so a curve may pass
// close by but never through its digits. A label keeps its
// place when that place is free; when it would touch something, it gives way
// by the smallest move that frees it, preferably off its line in the
// direction it gives way (a row of values gets a second line, a label under
// a beam moves further down), and it never leaves the room it may take.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "report/report_surface.h"

namespace tavilo {

// A box in device pixels; right and bottom lie just outside it.
struct TextBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool empty() const { return right <= left || bottom <= top; }
  bool intersects(const TextBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  bool contains(const TextBox& other) const {
    return other.left >= left && other.right <= right && other.top >= top && other.bottom <= bottom;
  }
  TextBox moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  TextBox grown(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  friend bool operator==(const TextBox&, const TextBox&) = default;
};

// Which way a label leaves its place first.
enum class GiveWay {
  kDown,   // to a line below: values of a row, labels under a beam
  kUp,     // to a line above: labels over a beam
  kRight,  // along its line: a value beside its caption
};

// The room a label may take and the way it leaves its place when that is taken.
struct LabelRoom {
  GiveWay way = GiveWay::kDown;
  TextBox area;  // device pixels; empty: the whole printable area

  // The part of the area below (or above) the line y: the side of a beam a
  // label belongs to.
  static LabelRoom below(const TextBox& area, int y);
  static LabelRoom above(const TextBox& area, int y);
};

// The least distance kept between a label and anything else, device pixels.
struct LabelGap {
  int x = 0;
  int y = 0;
};

class PageTexts {
 public:
  // A new page: nothing is taken.
  void clear() {
    taken_.clear();
    lines_.clear();
  }
  // Something drawn that later labels keep clear of.
  void take(const TextBox& box);
  const std::vector<TextBox>& taken() const { return taken_; }
  // A line of a diagram that labels keep out of their characters.
  void takeLine(PixelPoint from, PixelPoint to);
  // The boxes taken so far, and giving back those taken after such a count
  // (a placement that is tried again).
  std::size_t takenCount() const { return taken_.size(); }
  void releaseAfter(std::size_t count);

  // Whether the box, widened by the gap, touches nothing taken.
  bool isFree(const TextBox& box, LabelGap gap) const;

  // The move (dx, dy) that brings the box to the nearest free place that
  // lies wholly inside `room`, giving way as `way` prefers; a box outside the
  // room is first brought inside it. None when the room has no such place.
  std::optional<PixelPoint> freePlace(const TextBox& box, const TextBox& room, GiveWay way,
                                      LabelGap gap) const;

 private:
  struct Segment {
    PixelPoint from;
    PixelPoint to;
    TextBox bounds;
  };
  // Whether the box, widened by the gap, touches a taken box, or a taken
  // line runs through its characters.
  bool touchesTaken(const TextBox& box, LabelGap gap, const std::vector<TextBox>& boxes,
                    const std::vector<const Segment*>& lines) const;

  std::vector<TextBox> taken_;
  std::vector<Segment> lines_;
};

// The body of a label's characters: its box less a sixth of its height above
// and below.
TextBox characterBody(const TextBox& box);
// Whether the segment from `from` to `to` passes through the inside of the box.
bool segmentCrosses(PixelPoint from, PixelPoint to, const TextBox& box);

// One value of a row: its left and right end, device pixels.
struct RowExtent {
  int left = 0;
  int right = 0;
};

// The line of a row each value goes on, in order: a value stays on the row
// (line 0) unless it would come closer than `gap` to a value already there,
// and then goes to the first line below where it does not.
std::vector<int> stackRowValues(std::span<const RowExtent> values, int gap);

}  // namespace tavilo

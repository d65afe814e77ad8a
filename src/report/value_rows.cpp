#include "report/value_rows.h"

#include <algorithm>
#include <cstddef>

namespace tavilo {
namespace {

constexpr TextBox kEverywhere{-(1 << 29), -(1 << 29), 1 << 29, 1 << 29};

// The extent of a row's values at their own places, device pixels (y only),
// and the step of one more line.
struct BandExtent {
  int top = 0;
  int bottom = 0;
  int step = 0;
};

BandExtent bandExtent(ReportCanvas& canvas, const ValueRow& row) {
  BandExtent e{1 << 30, -(1 << 30), 0};
  for (const RowValue& v : row.values) {
    canvas.setFontSize(v.sizePt);
    const int y = canvas.mmToPx(v.yMm);
    e.top = std::min(e.top, y);
    e.bottom = std::max(e.bottom, y + canvas.emHeight());
    e.step = std::max(e.step, canvas.emHeight() + canvas.labelGap().y);
  }
  if (row.captionYMm) {
    canvas.setFontSize(canvas.baseFontSize);
    const int y = canvas.mmToPx(*row.captionYMm);
    e.top = std::min(e.top, y);
    e.bottom = std::max(e.bottom, y + canvas.emHeight());
  }
  return e;
}

// The band of a row moved `shift` pixels away from the axis and grown by
// `extra` lines, within the area.
TextBox rowBand(const BandExtent& e, GiveWay way, int extra, int shift, const TextBox& area) {
  int top = e.top;
  int bottom = e.bottom;
  if (way == GiveWay::kUp) {
    top -= shift + extra * e.step;
    bottom -= shift;
  } else {
    top += shift;
    bottom += shift + extra * e.step;
  }
  return {area.left, std::max(top, area.top), area.right, std::min(bottom, area.bottom)};
}

// How far along its row a value may move: by its own width, by three times
// that where the row cannot grow by a further line, or anywhere on the row.
enum class RowReach { kOwnWidth, kThreeWidths, kWholeRow };

// Where one value of a row may go in the row's band: along the row by its
// reach, and on its own line or further from the axis, never nearer to it
// than its rise allows.
TextBox valueRoom(const ReportCanvas& canvas, const TextBox& band, int x, int y, const RowValue& v,
                  GiveWay way, RowReach reach) {
  const TextBox ink = canvas.inkBox(x, y, v.text);
  TextBox room = band;
  if (reach != RowReach::kWholeRow) {
    const int width = (ink.right - ink.left) * (reach == RowReach::kOwnWidth ? 1 : 3);
    room.left = std::max(band.left, ink.left - width);
    room.right = std::min(band.right, ink.right + width);
  }
  const int rise = canvas.mmToPx(v.riseMm);
  if (way == GiveWay::kUp)
    room.bottom = std::min(band.bottom, ink.bottom + rise);
  else
    room.top = std::max(band.top, ink.top - rise);
  return room;
}

// Reserves every value of the row in its band; nothing stays reserved when
// one of them finds no place.
bool reserveRow(ReportCanvas& canvas, const ValueRow& row, const TextBox& band, int dy,
                RowReach reach, std::vector<PlacedValue>& placed) {
  const std::size_t mark = canvas.reservationMark();
  const std::size_t first = placed.size();
  for (const RowValue& v : row.values) {
    canvas.setFontSize(v.sizePt);
    const int x = canvas.mmToPx(v.xMm);
    const int y = canvas.mmToPx(v.yMm) + dy;
    const auto at = canvas.reserveLabel(
        x, y, v.text, {row.way, valueRoom(canvas, band, x, y, v, row.way, reach)});
    if (!at) {
      canvas.releaseReservations(mark);
      placed.resize(first);
      return false;
    }
    placed.push_back({*at, v.text, v.sizePt});
  }
  return true;
}

// The row in its band moved `shift` away from the axis: the lines it grows by
// to take every value, moving them along the row by their own width first,
// then further; nothing when even the widest band has no room for them.
std::optional<int> reserveGrowing(ReportCanvas& canvas, const ValueRow& row, const BandExtent& e,
                                  int shift, const TextBox& area,
                                  std::vector<PlacedValue>& placed) {
  const int dy = row.way == GiveWay::kUp ? -shift : shift;
  for (const RowReach reach : {RowReach::kOwnWidth, RowReach::kThreeWidths, RowReach::kWholeRow}) {
    TextBox last;
    for (int extra = 0; extra <= kMaxExtraLines; ++extra) {
      const TextBox band = rowBand(e, row.way, extra, shift, area);
      // The area has no room for a further line.
      if (extra > 0 && band.top == last.top && band.bottom == last.bottom)
        break;
      if (reserveRow(canvas, row, band, dy, reach, placed))
        return extra;
      last = band;
    }
  }
  return std::nullopt;
}

// Each value wherever the band, else the area, or at last the page, has room
// for it.
void reserveAnywhere(ReportCanvas& canvas, const ValueRow& row, const TextBox& band,
                     const TextBox& area, int dy, std::vector<PlacedValue>& placed) {
  for (const RowValue& v : row.values) {
    canvas.setFontSize(v.sizePt);
    const int x = canvas.mmToPx(v.xMm);
    const int y = canvas.mmToPx(v.yMm) + dy;
    auto at = canvas.reserveLabel(x, y, v.text, {row.way, band});
    if (!at)
      at = canvas.reserveLabel(x, y, v.text, {row.way, area});
    if (!at)
      at = canvas.reserveLabel(x, y, v.text, {row.way, {}});
    placed.push_back({at.value_or(PixelPoint{x, y}), v.text, v.sizePt});
  }
}

}  // namespace

std::vector<int> placeRows(ReportCanvas& canvas, const std::vector<ValueRow>& rows,
                           const TextBox& area, std::vector<PlacedValue>& placed) {
  std::vector<int> shifts;
  std::optional<BandExtent> before;  // the row placed last, at its own place
  int beforeReach = 0;               // how far it reached, grown and moved
  // Room for each row still to come: a line, or two for a row that its own
  // places spread over more than one, and at least as far as its caption
  // reaches.
  const auto roomOf = [&](const ValueRow& row) {
    if (row.values.empty())
      return 0;
    const BandExtent values = bandExtent(canvas, {row.values, row.way, std::nullopt});
    const BandExtent all = bandExtent(canvas, row);
    const int lines = values.bottom - values.top > values.step ? 2 : 1;
    return std::max(lines * values.step, all.bottom - all.top);
  };
  int stillToCome = 0;
  for (const ValueRow& row : rows)
    stillToCome += roomOf(row);
  for (const ValueRow& row : rows) {
    if (row.values.empty()) {
      shifts.push_back(0);
      continue;
    }
    const BandExtent e = bandExtent(canvas, row);
    stillToCome -= roomOf(row);
    const bool up = row.way == GiveWay::kUp;
    // The row grows no further than leaves the rows after it their room.
    TextBox rowArea = area;
    if (up)
      rowArea.top += stillToCome;
    else
      rowArea.bottom -= stillToCome;
    int shift = 0;
    if (before) {
      // Into the next row by no more than the rows' own places overlap, and
      // else clear of it by the gap between labels.
      const int gap = canvas.labelGap().y;
      const int overlap = up ? std::max(0, e.bottom + gap - before->top)
                             : std::max(0, before->bottom + gap - e.top);
      const int needed =
          up ? e.bottom + gap - overlap - beforeReach : beforeReach + gap - overlap - e.top;
      shift = std::max(0, needed);
    }
    shifts.push_back(shift);
    const int dy = up ? -shift : shift;
    const std::optional<int> grown = reserveGrowing(canvas, row, e, shift, rowArea, placed);
    const int extra = grown.value_or(kMaxExtraLines);
    if (!grown) {
      reserveAnywhere(canvas, row, rowBand(e, row.way, extra, shift, rowArea), area, dy, placed);
    }
    // How far the row reaches: its lines in its room, its own places moved.
    const TextBox band = rowBand(e, row.way, extra, shift, rowArea);
    const TextBox own = rowBand(e, row.way, 0, shift, kEverywhere);
    beforeReach = up ? std::min(band.top, own.top) : std::max(band.bottom, own.bottom);
    before = e;
  }
  canvas.setFontSize(canvas.baseFontSize);
  return shifts;
}

void writePlaced(ReportCanvas& canvas, const std::vector<PlacedValue>& placed) {
  for (const PlacedValue& p : placed) {
    canvas.setFontSize(p.sizePt);
    canvas.writeReserved(p.at, p.text);
  }
  canvas.setFontSize(canvas.baseFontSize);
}

}  // namespace tavilo

#include "report/label_layout.h"

#include <algorithm>
#include <queue>
#include <unordered_set>

namespace tavilo {
namespace {

// How many places are tried before a room counts as full. A dense diagram
// needs some dozens; the bound only keeps a pathological page finite.
constexpr int kMaxTries = 4000;

// What a move costs, per pixel: leaving in the preferred direction is cheap,
// going back against it or sideways along a line of values dearer, so a
// label rather takes the next line than drifts away from what it labels.
struct MoveCosts {
  double away;
  double back;
  double across;
};

MoveCosts costsFor(GiveWay way) {
  switch (way) {
    case GiveWay::kUp:
    case GiveWay::kDown:
      return {1.0, 2.5, 3.0};
    case GiveWay::kRight:
      break;
  }
  // A value beside its caption stays on its line.
  return {1.0, 4.0, 10.0};
}

double moveCost(GiveWay way, int dx, int dy) {
  const MoveCosts c = costsFor(way);
  int along = dy;  // the component along the preferred direction
  int across = dx;
  if (way == GiveWay::kUp)
    along = -dy;
  if (way == GiveWay::kRight) {
    along = dx;
    across = dy;
  }
  const double alongCost = along >= 0 ? c.away * along : c.back * -along;
  return alongCost + c.across * std::abs(across);
}

struct Candidate {
  double cost;
  int dx;
  int dy;
  bool operator>(const Candidate& other) const { return cost > other.cost; }
};

std::int64_t keyOf(int dx, int dy) {
  return (static_cast<std::int64_t>(dx) << 32) ^ static_cast<std::uint32_t>(dy);
}

// The shift that brings [low, high) inside [roomLow, roomHigh), 0 when it is.
int shiftInto(int low, int high, int roomLow, int roomHigh) {
  if (high > roomHigh)
    return std::max(roomHigh - high, roomLow - low);
  if (low < roomLow)
    return roomLow - low;
  return 0;
}

// An empty area stands for no limit but the page's.
TextBox unlessEmpty(const TextBox& area) {
  constexpr int kFar = 1 << 29;
  return area.empty() ? TextBox{-kFar, -kFar, kFar, kFar} : area;
}

}  // namespace

LabelRoom LabelRoom::below(const TextBox& area, int y) {
  TextBox room = unlessEmpty(area);
  room.top = std::max(room.top, y);
  return {GiveWay::kDown, room};
}

LabelRoom LabelRoom::above(const TextBox& area, int y) {
  TextBox room = unlessEmpty(area);
  room.bottom = std::min(room.bottom, y);
  return {GiveWay::kUp, room};
}

void PageTexts::take(const TextBox& box) {
  if (!box.empty())
    taken_.push_back(box);
}

void PageTexts::takeLine(PixelPoint from, PixelPoint to) {
  const TextBox bounds{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                       std::max(from.y, to.y) + 1};
  lines_.push_back({from, to, bounds});
}

void PageTexts::releaseAfter(std::size_t count) {
  if (count < taken_.size())
    taken_.resize(count);
}

TextBox characterBody(const TextBox& box) {
  const int inset = (box.bottom - box.top) / 6;
  return {box.left, box.top + inset, box.right, box.bottom - inset};
}

bool segmentCrosses(PixelPoint from, PixelPoint to, const TextBox& box) {
  if (box.empty())
    return false;
  // Liang-Barsky clipping of the segment against the open box.
  double t0 = 0;
  double t1 = 1;
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {from.x - (box.left + 0.5), (box.right - 0.5) - from.x,
                      from.y - (box.top + 0.5), (box.bottom - 0.5) - from.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0)
        return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
  }
  return t0 < t1;
}

bool PageTexts::touchesTaken(const TextBox& box, LabelGap gap, const std::vector<TextBox>& boxes,
                             const std::vector<const Segment*>& lines) const {
  const TextBox wide = box.grown(gap.x, gap.y);
  if (std::any_of(boxes.begin(), boxes.end(), [&](const TextBox& t) { return t.intersects(wide); }))
    return true;
  const TextBox body = characterBody(box);
  return std::any_of(lines.begin(), lines.end(), [&](const Segment* s) {
    return s->bounds.intersects(body) && segmentCrosses(s->from, s->to, body);
  });
}

bool PageTexts::isFree(const TextBox& box, LabelGap gap) const {
  std::vector<const Segment*> lines;
  for (const Segment& s : lines_)
    lines.push_back(&s);
  return !touchesTaken(box, gap, taken_, lines);
}

std::optional<PixelPoint> PageTexts::freePlace(const TextBox& box, const TextBox& room, GiveWay way,
                                               LabelGap gap) const {
  if (box.empty())
    return PixelPoint{0, 0};
  // Only what lies in the room can be in the way.
  std::vector<TextBox> near;
  const TextBox reach = room.grown(gap.x, gap.y);
  for (const TextBox& t : taken_) {
    if (t.intersects(reach))
      near.push_back(t);
  }
  std::vector<const Segment*> nearLines;
  for (const Segment& s : lines_) {
    if (s.bounds.intersects(room))
      nearLines.push_back(&s);
  }

  const int startX = shiftInto(box.left, box.right, room.left, room.right);
  const int startY = shiftInto(box.top, box.bottom, room.top, room.bottom);
  std::priority_queue<Candidate, std::vector<Candidate>, std::greater<>> queue;
  std::unordered_set<std::int64_t> seen;
  const auto offer = [&](int dx, int dy) {
    if (seen.insert(keyOf(dx, dy)).second)
      queue.push({moveCost(way, dx - startX, dy - startY), dx, dy});
  };
  offer(startX, startY);

  for (int tries = 0; !queue.empty() && tries < kMaxTries; ++tries) {
    const Candidate c = queue.top();
    queue.pop();
    const TextBox placed = box.moved(c.dx, c.dy);
    if (!room.contains(placed))
      continue;
    const TextBox wide = placed.grown(gap.x, gap.y);
    bool free = true;
    for (const TextBox& t : near) {
      if (!t.intersects(wide))
        continue;
      free = false;
      // The nearest places beside the box in the way, on each of its sides.
      offer(c.dx, c.dy + t.bottom + gap.y - placed.top);
      offer(c.dx, c.dy + t.top - gap.y - placed.bottom);
      offer(c.dx + t.right + gap.x - placed.left, c.dy);
      offer(c.dx + t.left - gap.x - placed.right, c.dy);
    }
    const TextBox body = characterBody(placed);
    for (const Segment* s : nearLines) {
      if (!s->bounds.intersects(body) || !segmentCrosses(s->from, s->to, body))
        continue;
      free = false;
      // Clear of the line's extent, with the characters' body above or below
      // it, or beside it.
      offer(c.dx, c.dy + s->bounds.bottom - body.top);
      offer(c.dx, c.dy + s->bounds.top - body.bottom);
      offer(c.dx + s->bounds.right - placed.left, c.dy);
      offer(c.dx + s->bounds.left - placed.right, c.dy);
    }
    if (free)
      return PixelPoint{c.dx, c.dy};
  }
  return std::nullopt;
}

std::vector<int> stackRowValues(std::span<const RowExtent> values, int gap) {
  std::vector<int> lines;
  lines.reserve(values.size());
  std::vector<std::vector<RowExtent>> placed;
  for (const RowExtent& v : values) {
    const auto touches = [&](const RowExtent& other) {
      return v.left < other.right + gap && other.left < v.right + gap;
    };
    std::size_t line = 0;
    while (line < placed.size() && std::any_of(placed[line].begin(), placed[line].end(), touches))
      ++line;
    if (line == placed.size())
      placed.emplace_back();
    placed[line].push_back(v);
    lines.push_back(static_cast<int>(line));
  }
  return lines;
}

}  // namespace tavilo

#include "report/recording_surface.h"

#include "report/formatters.h"

namespace tavilo {

RecordingSurface::RecordingSurface(int pixelsPerInch, int width, int height)
    : pixelsPerInch_(pixelsPerInch), width_(width), height_(height) {}

int RecordingSurface::measureText(std::string_view text) const {
  // Shift-JIS bytes x half an em; an em is the font size in device pixels.
  return shiftJisByteCount(text) * font().sizePt * pixelsPerInch_ / 72 / 2;
}

int RecordingSurface::lineHeight() const {
  return (font().sizePt * pixelsPerInch_ + 36) / 72;
}

void RecordingSurface::paintText(int x, int y, std::string_view text, int endX) {
  texts_.push_back({pageNumber(), x, y, endX, std::string(text), font()});
}

void RecordingSurface::paintPolyline(std::span<const PixelPoint> points) {
  lines_.push_back({pageNumber(), {points.begin(), points.end()}, pen()});
}

void RecordingSurface::paintRect(int left, int top, int right, int bottom) {
  rects_.push_back({pageNumber(), left, top, right, bottom, pen(), false, {}});
}

void RecordingSurface::paintFill(int left, int top, int right, int bottom, ReportColor color) {
  rects_.push_back({pageNumber(), left, top, right, bottom, pen(), true, color});
}

const RecordedText* RecordingSurface::findText(std::string_view part) const {
  for (const RecordedText& t : texts_) {
    if (t.text.find(part) != std::string::npos)
      return &t;
  }
  return nullptr;
}

std::vector<RecordedText> RecordingSurface::textsContaining(std::string_view part) const {
  std::vector<RecordedText> found;
  for (const RecordedText& t : texts_) {
    if (t.text.find(part) != std::string::npos)
      found.push_back(t);
  }
  return found;
}

std::vector<std::string> RecordingSurface::allTexts() const {
  std::vector<std::string> strings;
  strings.reserve(texts_.size());
  for (const RecordedText& t : texts_)
    strings.push_back(t.text);
  return strings;
}

std::vector<RecordedText> RecordingSurface::textsOnPage(int page) const {
  std::vector<RecordedText> found;
  for (const RecordedText& t : texts_) {
    if (t.page == page)
      found.push_back(t);
  }
  return found;
}

std::vector<RecordedLine> RecordingSurface::linesOnPage(int page) const {
  std::vector<RecordedLine> found;
  for (const RecordedLine& l : lines_) {
    if (l.page == page)
      found.push_back(l);
  }
  return found;
}

}  // namespace tavilo

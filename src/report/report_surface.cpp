#include "report/report_surface.h"

#include <algorithm>
#include <array>

namespace tavilo {

void ReportSurface::setFont(const FontSpec& font) {
  font_ = font;
  applyFont(font_);
}

void ReportSurface::setPen(const PenSpec& pen) {
  pen_ = pen;
  applyPen(pen_);
}

int ReportSurface::drawText(int x, int y, std::string_view text) {
  if (text.empty())
    return x;
  const int endX = x + measureText(text);
  paintText(x, y, text, endX);
  extendTo(y + lineHeight());
  return endX;
}

void ReportSurface::drawLine(PixelPoint from, PixelPoint to) {
  const std::array<PixelPoint, 2> points{from, to};
  drawPolyline(points);
}

void ReportSurface::drawPolyline(std::span<const PixelPoint> points) {
  if (points.size() < 2)
    return;
  paintPolyline(points);
  const auto lowest = std::max_element(points.begin(), points.end(),
                                       [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
  extendTo(lowest->y + std::max(1, (pen_.width + 1) / 2));
}

void ReportSurface::drawRect(int left, int top, int right, int bottom) {
  paintRect(left, top, right, bottom);
  extendTo(std::max(top, bottom) + std::max(1, (pen_.width + 1) / 2));
}

void ReportSurface::fillRect(int left, int top, int right, int bottom, ReportColor color) {
  paintFill(left, top, right, bottom, color);
  extendTo(std::max(top, bottom));
}

void ReportSurface::clear(ReportColor color) {
  paintFill(0, 0, width(), height(), color);
  usedHeight_ = 0;
}

bool ReportSurface::newPage() {
  if (!startNewPage())
    return false;
  ++page_;
  return true;
}

void ReportSurface::extendTo(int bottom) {
  usedHeight_ = std::max(usedHeight_, bottom);
}

}  // namespace tavilo

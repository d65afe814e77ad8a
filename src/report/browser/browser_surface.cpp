#include "report/browser/browser_surface.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace tavilo {
namespace {

int styleCode(PenStyle style) {
  switch (style) {
    case PenStyle::kDotted:
      return 1;
    case PenStyle::kDashDot:
      return 2;
    case PenStyle::kSolid:
      break;
  }
  return 0;
}

}  // namespace

BrowserSurface::BrowserSurface(emscripten::val painter, int pixelsPerInch, int width, int height)
    : painter_(std::move(painter)), pixelsPerInch_(pixelsPerInch), width_(width), height_(height) {}

void BrowserSurface::applyFont(const FontSpec& font) {
  // Points to device pixels by the surface's resolution, as on the desktop.
  const long pixels = std::max(1L, std::lround(font.sizePt * pixelsPerInch_ / 72.0));
  painter_.call<void>("font", font.face, static_cast<int>(pixels), font.bold, font.color.red,
                      font.color.green, font.color.blue);
  lineHeight_ = painter_.call<int>("lineHeight");
}

void BrowserSurface::applyPen(const PenSpec& pen) {
  painter_.call<void>("pen", pen.color.red, pen.color.green, pen.color.blue, pen.width,
                      styleCode(pen.style));
}

int BrowserSurface::measureText(std::string_view text) const {
  return painter_.call<int>("measure", std::string(text));
}

void BrowserSurface::paintText(int x, int y, std::string_view text, int endX) {
  painter_.call<void>("text", x, y, std::string(text), endX);
}

void BrowserSurface::paintPolyline(std::span<const PixelPoint> points) {
  std::vector<int> coordinates;
  coordinates.reserve(points.size() * 2);
  for (const PixelPoint& p : points) {
    coordinates.push_back(p.x);
    coordinates.push_back(p.y);
  }
  // The painter copies the view before it returns.
  painter_.call<void>("polyline", emscripten::val(emscripten::typed_memory_view(
                                      coordinates.size(), coordinates.data())));
}

void BrowserSurface::paintRect(int left, int top, int right, int bottom) {
  painter_.call<void>("rect", std::min(left, right), std::min(top, bottom), std::max(left, right),
                      std::max(top, bottom));
}

void BrowserSurface::paintFill(int left, int top, int right, int bottom, ReportColor color) {
  painter_.call<void>("fill", std::min(left, right), std::min(top, bottom), std::max(left, right),
                      std::max(top, bottom), color.red, color.green, color.blue);
}

bool BrowserSurface::startNewPage() {
  return painter_.call<bool>("newPage");
}

}  // namespace tavilo

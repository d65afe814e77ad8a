#pragma once
// The report surface of the browser edition: every paint operation goes to a
// JavaScript painter object, which draws on a Canvas 2D context (the screen
// image and the printed pages) or into a PDF page, and measures text with
// the fonts it draws with. The report pages lay out through it exactly as
// through the desktop's painter.
//
// The painter's methods, in device pixels:
//   font(face, pixelSize, bold, red, green, blue)
//   measure(text) -> width           lineHeight() -> height
//   text(x, y, text, endX)           top-left corner at (x, y)
//   pen(red, green, blue, width, style)   style 0 solid, 1 dotted, 2 dash-dot
//   polyline(points)                 Int32Array x0, y0, x1, y1, ...
//   rect(left, top, right, bottom)   fill(left, top, right, bottom, red, green, blue)
//   newPage() -> bool

#include <emscripten/val.h>

#include <string_view>

#include "report/report_surface.h"

namespace tavilo {

class BrowserSurface : public ReportSurface {
 public:
  BrowserSurface(emscripten::val painter, int pixelsPerInch, int width, int height);

  int pixelsPerInch() const override { return pixelsPerInch_; }
  int width() const override { return width_; }
  int height() const override { return height_; }

 protected:
  void applyFont(const FontSpec& font) override;
  void applyPen(const PenSpec& pen) override;
  int measureText(std::string_view text) const override;
  int lineHeight() const override { return lineHeight_; }
  void paintText(int x, int y, std::string_view text, int endX) override;
  void paintPolyline(std::span<const PixelPoint> points) override;
  void paintRect(int left, int top, int right, int bottom) override;
  void paintFill(int left, int top, int right, int bottom, ReportColor color) override;
  bool startNewPage() override;

 private:
  emscripten::val painter_;
  int pixelsPerInch_;
  int width_;
  int height_;
  int lineHeight_ = 0;
};

}  // namespace tavilo

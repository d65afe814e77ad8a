#pragma once
// The drawing surface under the report canvas: a screen image or a printer
// page. Coordinates are device pixels, x to the right and y downwards; text is
// placed by its top-left corner and a text output reports where it ended.

#include <span>
#include <string>
#include <string_view>

namespace tavilo {

struct ReportColor {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const ReportColor&, const ReportColor&) = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct FontSpec {
  std::string face;
  int sizePt = 9;
  bool bold = false;
  ReportColor color;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class PenStyle { kSolid, kDotted, kDashDot };

struct PenSpec {
  ReportColor color;
  int width = 1;  // device pixels; 0 is the thinnest line the device can draw
  PenStyle style = PenStyle::kSolid;
  friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

// The font, pen and extent bookkeeping is shared here; a device implements the
// protected paint operations. The brush is always clear: rectangles are
// outlines and text never paints a background box.
class ReportSurface {
 public:
  virtual ~ReportSurface() = default;
  ReportSurface(const ReportSurface&) = delete;
  ReportSurface& operator=(const ReportSurface&) = delete;

  // Device resolution; fonts given in points are scaled by it.
  virtual int pixelsPerInch() const = 0;
  // Size of the image, or of the printable area of a printer page.
  virtual int width() const = 0;
  virtual int height() const = 0;

  void setFont(const FontSpec& font);
  const FontSpec& font() const { return font_; }
  void setPen(const PenSpec& pen);
  const PenSpec& pen() const { return pen_; }

  // Width of the text in the current font, in device pixels.
  int textWidth(std::string_view text) const { return measureText(text); }
  // Draws the text with its top-left corner at (x, y) and returns its right end.
  int drawText(int x, int y, std::string_view text);
  void drawLine(PixelPoint from, PixelPoint to);
  void drawPolyline(std::span<const PixelPoint> points);
  // Outline from (left, top) to (right, bottom) in the current pen.
  void drawRect(int left, int top, int right, int bottom);
  void fillRect(int left, int top, int right, int bottom, ReportColor color);
  // Fills the whole surface; what was drawn before no longer counts as used.
  void clear(ReportColor color);
  // Ends the page and starts the next one; false when the device refused.
  bool newPage();
  // 1 for the first page.
  int pageNumber() const { return page_; }
  // One past the lowest pixel row drawn on any page since the last clear: the
  // height the screen image needs to hold everything drawn.
  int usedHeight() const { return usedHeight_; }

 protected:
  ReportSurface() = default;

  virtual void applyFont(const FontSpec& font) = 0;
  virtual void applyPen(const PenSpec& pen) = 0;
  virtual int measureText(std::string_view text) const = 0;
  // Height of a text line in the current font, in device pixels.
  virtual int lineHeight() const = 0;
  virtual void paintText(int x, int y, std::string_view text, int endX) = 0;
  virtual void paintPolyline(std::span<const PixelPoint> points) = 0;
  virtual void paintRect(int left, int top, int right, int bottom) = 0;
  virtual void paintFill(int left, int top, int right, int bottom, ReportColor color) = 0;
  virtual bool startNewPage() = 0;

 private:
  void extendTo(int bottom);

  FontSpec font_;
  PenSpec pen_;
  int page_ = 1;
  int usedHeight_ = 0;
};

}  // namespace tavilo

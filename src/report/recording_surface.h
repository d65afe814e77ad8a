#pragma once
// A surface that draws nothing and keeps everything: every text with its
// position and font, every line and rectangle with its pen. Text widths are
// deterministic and need no font: half-width characters are half an em wide,
// full-width characters one em, so a layout drawn here is the same on every
// machine. Tests of the report pages read the recording through the lookups.

#include <string>
#include <string_view>
#include <vector>

#include "report/report_surface.h"

namespace tavilo {

struct RecordedText {
  int page = 1;
  int x = 0;
  int y = 0;
  int endX = 0;
  std::string text;
  FontSpec font;
  friend bool operator==(const RecordedText&, const RecordedText&) = default;
};

struct RecordedLine {
  int page = 1;
  std::vector<PixelPoint> points;  // a line has two, a polyline more
  PenSpec pen;
  friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
};

struct RecordedRect {
  int page = 1;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  PenSpec pen;
  bool filled = false;  // a fill in fillColor rather than an outline in pen
  ReportColor fillColor;
  friend bool operator==(const RecordedRect&, const RecordedRect&) = default;
};

class RecordingSurface : public ReportSurface {
 public:
  // A screen image is 72 pixels per inch; an A4 page at 600 pixels per inch is
  // about 4960 x 7015 pixels.
  RecordingSurface(int pixelsPerInch, int width, int height);

  int pixelsPerInch() const override { return pixelsPerInch_; }
  int width() const override { return width_; }
  int height() const override { return height_; }

  const std::vector<RecordedText>& texts() const { return texts_; }
  const std::vector<RecordedLine>& lines() const { return lines_; }
  const std::vector<RecordedRect>& rects() const { return rects_; }

  // The first text that contains `part`, or nullptr.
  const RecordedText* findText(std::string_view part) const;
  // Every text that contains `part`, in drawing order.
  std::vector<RecordedText> textsContaining(std::string_view part) const;
  // The drawn strings in drawing order.
  std::vector<std::string> allTexts() const;
  std::vector<RecordedText> textsOnPage(int page) const;
  std::vector<RecordedLine> linesOnPage(int page) const;
  // The number of pages begun (1 until the first newPage).
  int pageCount() const { return pageNumber(); }

  friend bool operator==(const RecordingSurface& a, const RecordingSurface& b) {
    return a.texts_ == b.texts_ && a.lines_ == b.lines_ && a.rects_ == b.rects_ &&
           a.pageNumber() == b.pageNumber();
  }

 protected:
  void applyFont(const FontSpec&) override {}
  void applyPen(const PenSpec&) override {}
  int measureText(std::string_view text) const override;
  int lineHeight() const override;
  void paintText(int x, int y, std::string_view text, int endX) override;
  void paintPolyline(std::span<const PixelPoint> points) override;
  void paintRect(int left, int top, int right, int bottom) override;
  void paintFill(int left, int top, int right, int bottom, ReportColor color) override;
  bool startNewPage() override { return true; }

 private:
  int pixelsPerInch_;
  int width_;
  int height_;
  std::vector<RecordedText> texts_;
  std::vector<RecordedLine> lines_;
  std::vector<RecordedRect> rects_;
};

}  // namespace tavilo

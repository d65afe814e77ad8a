#include "report/report_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "calc/errors.h"
#include "calc/numbers.h"
#include "report/formatters.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

constexpr int kScreenPixelsPerInch = 72;
constexpr int kScreenPenWidth = 1;
constexpr int kPrinterPenWidth = 7;
constexpr int kPrinterBaseFontSize = 10;
constexpr int kScreenBaseFontSize = 9;

// Whole-number part; layout values are cut, never rounded.
int wholePart(double v) {
  return static_cast<int>(std::trunc(v));
}

// Below the screen image there is no edge: it grows with the report.
constexpr int kUnboundedPx = 1 << 28;

constexpr std::string_view kWideBlank = "　";

// Byte length of a blank at the start (or, with atEnd, the end) of the text: a
// space or an ideographic space; 0 when there is none.
std::size_t blankAt(std::string_view text, bool atEnd) {
  if (text.empty())
    return 0;
  if (atEnd ? text.back() == ' ' : text.front() == ' ')
    return 1;
  const bool wide = atEnd ? text.ends_with(kWideBlank) : text.starts_with(kWideBlank);
  return wide ? kWideBlank.size() : 0;
}

}  // namespace

void TextCursor::advanceLine() {
  lineMm = static_cast<int>(std::trunc(lineMm + linePitchMm));
  ++lineCount;
}

ReportCanvas::ReportCanvas(ReportSurface& surface, ReportSetup setup)
    : device(setup.device),
      printSettings(std::move(setup.printSettings)),
      projectFilePath(std::move(setup.projectFilePath)),
      date(std::move(setup.date)),
      surface_(surface) {
  int penWidth = kScreenPenWidth;
  if (onScreen()) {
    pixelsPerInch = kScreenPixelsPerInch;
    surface_.clear(kScreenBackground);
    baseFontSize = kScreenBaseFontSize;
  } else {
    pixelsPerInch = surface_.pixelsPerInch();
    if (pixelsPerInch <= 0) {
      throw UserError("プリンタの解像度を取得できないため、計算書を印刷できません。");
    }
    baseFontSize = kPrinterBaseFontSize;
    penWidth = kPrinterPenWidth;
    pageCounter = 1;
    cursor.lineCount = 1;
  }
  textColor = kTextColor;
  pageWidth = surface_.width();
  pageHeight = surface_.height();
  pxPerMm = pixelsPerInch / 25.4;

  if (onScreen()) {
    marginLeft = mmToPx(4);
    marginTop = mmToPx(12);
    column2X = marginLeft + mmToPx(100);
  } else {
    marginLeft = mmToPx(10);
    marginTop = mmToPx(15);
    column2X = marginLeft + mmToPx(105);
  }
  headerY = mmToPx(6);
  cursor.linePitchMm = 5.0;
  cursor.firstLineMm = 7;

  surface_.setFont({std::string(kReportFace), baseFontSize, false, textColor});
  surface_.setPen({textColor, penWidth, PenStyle::kSolid});
}

int ReportCanvas::mmToPx(double mm) const {
  return wholePart(mm * pxPerMm);
}

int ReportCanvas::finePenWidth(int n) const {
  return wholePart(pixelsPerInch / 600.0 * n);
}

void ReportCanvas::setFontFace(std::string_view face) {
  FontSpec font = surface_.font();
  font.face = std::string(face);
  surface_.setFont(font);
}

void ReportCanvas::setFontSize(int sizePt) {
  FontSpec font = surface_.font();
  font.sizePt = sizePt;
  surface_.setFont(font);
}

void ReportCanvas::setFontColor(ReportColor color) {
  FontSpec font = surface_.font();
  font.color = color;
  surface_.setFont(font);
}

void ReportCanvas::setBold(bool bold) {
  FontSpec font = surface_.font();
  font.bold = bold;
  surface_.setFont(font);
}

void ReportCanvas::scaleFont(double f) {
  setFontSize(wholePart(baseFontSize * f));
}

void ReportCanvas::emphasisOn(bool failed) {
  if (!onScreen() || !failed)
    return;
  setFontColor(kFailColor);
  setBold(true);
}

void ReportCanvas::emphasisOff(bool failed) {
  if (!onScreen() || !failed)
    return;
  setFontColor(textColor);
  setBold(false);
}

void ReportCanvas::setPenColor(ReportColor color) {
  PenSpec pen = surface_.pen();
  pen.color = color;
  surface_.setPen(pen);
}

void ReportCanvas::setPenWidth(int width) {
  PenSpec pen = surface_.pen();
  pen.width = width;
  surface_.setPen(pen);
}

void ReportCanvas::setPenStyle(PenStyle style) {
  PenSpec pen = surface_.pen();
  pen.style = style;
  surface_.setPen(pen);
}

int ReportCanvas::drawText(int x, int y, std::string_view text) {
  const int endX = surface_.drawText(x, y, text);
  pageTexts_.take(inkBox(x, y, text));
  return endX;
}

TextBox ReportCanvas::inkBox(int x, int y, std::string_view text) const {
  std::size_t first = 0;
  while (const std::size_t n = blankAt(text.substr(first), false))
    first += n;
  std::size_t end = text.size();
  while (end > first) {
    const std::size_t n = blankAt(text.substr(first, end - first), true);
    if (n == 0)
      break;
    end -= n;
  }
  if (end <= first)
    return {};
  const int left = x + (first > 0 ? surface_.textWidth(text.substr(0, first)) : 0);
  const int right = x + surface_.textWidth(text.substr(0, end));
  return {left, y, right, y + emHeight()};
}

int ReportCanvas::emHeight() const {
  return static_cast<int>(std::lround(fontSize() * pixelsPerInch / 72.0));
}

LabelGap ReportCanvas::labelGap() const {
  return {mmToPx(0.8), mmToPx(0.2)};
}

TextBox ReportCanvas::printableArea() const {
  return {0, 0, pageWidth, onScreen() ? kUnboundedPx : pageHeight};
}

TextBox ReportCanvas::bandMm(double topMm, double bottomMm) const {
  TextBox band = printableArea();
  band.top = std::max(band.top, mmToPx(topMm));
  band.bottom = std::min(band.bottom, mmToPx(bottomMm));
  return band;
}

PixelPoint ReportCanvas::labelPlace(int x, int y, std::string_view text,
                                    const LabelRoom& room) const {
  const TextBox box = inkBox(x, y, text);
  const TextBox page = printableArea();
  TextBox area = room.area.empty() ? page : room.area;
  area = {std::max(area.left, page.left), std::max(area.top, page.top),
          std::min(area.right, page.right), std::min(area.bottom, page.bottom)};
  std::optional<PixelPoint> move = pageTexts_.freePlace(box, area, room.way, labelGap());
  // A room too small for the label: anywhere on the page rather than over
  // another text.
  if (!move)
    move = pageTexts_.freePlace(box, page, room.way, labelGap());
  const PixelPoint shift = move.value_or(PixelPoint{});
  return {x + shift.x, y + shift.y};
}

PixelPoint ReportCanvas::writeLabel(int x, int y, std::string_view text, const LabelRoom& room) {
  const PixelPoint at = labelPlace(x, y, text, room);
  writeAt(at.x, at.y, text);
  return at;
}

std::vector<std::string> ReportCanvas::wrapToWidth(std::string_view text, int maxWidth) const {
  std::vector<std::string> lines;
  while (!text.empty()) {
    // The longest head that fits, at least one character.
    std::size_t fits = 0;
    std::size_t lastSlash = 0;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t next = at + utf8StepAt(text, at);
      if (fits > 0 && surface_.textWidth(text.substr(0, next)) > maxWidth)
        break;
      fits = next;
      if (text[at] == '/')
        lastSlash = next;
      at = next;
    }
    const std::size_t cut = fits < text.size() && lastSlash > 0 ? lastSlash : fits;
    lines.emplace_back(text.substr(0, cut));
    text.remove_prefix(cut);
  }
  return lines;
}

PixelPoint ReportCanvas::writeLabelMm(double xMm, double yMm, std::string_view text,
                                      const LabelRoom& room) {
  return writeLabel(mmToPx(xMm), mmToPx(yMm), text, room);
}

void ReportCanvas::keepClear(const TextBox& box) {
  pageTexts_.take(box);
}

std::optional<PixelPoint> ReportCanvas::reserveLabel(int x, int y, std::string_view text,
                                                     const LabelRoom& room) {
  const TextBox box = inkBox(x, y, text);
  const TextBox page = printableArea();
  TextBox area = room.area.empty() ? page : room.area;
  area = {std::max(area.left, page.left), std::max(area.top, page.top),
          std::min(area.right, page.right), std::min(area.bottom, page.bottom)};
  const std::optional<PixelPoint> move = pageTexts_.freePlace(box, area, room.way, labelGap());
  if (!move)
    return std::nullopt;
  pageTexts_.take(box.moved(move->x, move->y));
  return PixelPoint{x + move->x, y + move->y};
}

void ReportCanvas::writeReserved(PixelPoint at, std::string_view text) {
  const int endX = surface_.drawText(at.x, at.y, text);
  lastTextEnd_ = {endX, at.y};
  cursor.runX = endX;
  cursor.runY = at.y;
}

void ReportCanvas::keepClearMm(double leftMm, double topMm, double rightMm, double bottomMm) {
  const int left = mmToPx(leftMm);
  const int top = mmToPx(topMm);
  keepClear({left, top, std::max(left + 1, mmToPx(rightMm)), std::max(top + 1, mmToPx(bottomMm))});
}

int ReportCanvas::writeAt(int x, int y, std::string_view text) {
  const int endX = drawText(x, y, text);
  lastTextEnd_ = {endX, y};
  cursor.runX = endX;
  cursor.runY = y;
  return endX;
}

int ReportCanvas::writeAtCursor() {
  const PixelPoint p = cursorPosition();
  return writeAt(p.x, p.y, cursor.text);
}

int ReportCanvas::writeAtCursor(std::string_view text) {
  cursor.text = std::string(text);
  return writeAtCursor();
}

int ReportCanvas::writeAtMm(double xMm, double yMm, std::string_view text) {
  return writeAt(mmToPx(xMm), mmToPx(yMm), text);
}

int ReportCanvas::writeRun(std::string_view text) {
  return writeAt(cursor.runX, cursor.runY, text);
}

int ReportCanvas::writeScript(ScriptKind kind, std::string_view text, int size, int restoreSize) {
  const PixelPoint origin = lastTextEnd_;
  cursor.runX = origin.x;
  cursor.runY = origin.y;
  setFontSize(size);

  // Offsets in mm. A subscript goes down (dy < 0), so the floor below must
  // round towards minus infinity: it then sits ⌈k⌉ pixels lower.
  double dx = 0.0;
  double dy = -1.0;
  if (kind == ScriptKind::kSuperscript) {
    dx = onScreen() ? 1.0 : 0.0;
    dy = onScreen() ? 0.8 : 0.28;
  }
  const int x = origin.x + static_cast<int>(std::floor(dx * pxPerMm));
  const int y = origin.y - static_cast<int>(std::floor(dy * pxPerMm));
  const int endX = drawText(x, y, text);
  lastTextEnd_ = {endX, y};
  cursor.runX = endX;
  cursor.runY = origin.y;

  setFontSize(restoreSize);
  return endX;
}

PixelPoint ReportCanvas::cursorPosition() const {
  return {marginLeft + mmToPx(cursor.indentMm), marginTop + mmToPx(cursor.rowMm)};
}

void ReportCanvas::moveTo(int x, int y) {
  penPos_ = {x, y};
}

void ReportCanvas::lineTo(int x, int y) {
  const PixelPoint to{x, y};
  surface_.drawLine(penPos_, to);
  if (linesKeptClear_)
    pageTexts_.takeLine(penPos_, to);
  penPos_ = to;
}

void ReportCanvas::moveToMm(double xMm, double yMm) {
  moveTo(mmToPx(xMm), mmToPx(yMm));
}

void ReportCanvas::lineToMm(double xMm, double yMm) {
  lineTo(mmToPx(xMm), mmToPx(yMm));
}

void ReportCanvas::drawLine(int x1, int y1, int x2, int y2) {
  moveTo(x1, y1);
  lineTo(x2, y2);
}

void ReportCanvas::drawRect(int left, int top, int right, int bottom) {
  surface_.drawRect(left, top, right, bottom);
}

void ReportCanvas::fillRect(int left, int top, int right, int bottom, ReportColor color) {
  surface_.fillRect(left, top, right, bottom, color);
}

void ReportCanvas::arcMm(double leftMm, double topMm, double rightMm, double bottomMm,
                         double startXMm, double startYMm, double endXMm, double endYMm) {
  const double cx = (leftMm + rightMm) / 2;
  const double cy = (topMm + bottomMm) / 2;
  const double a = std::fabs(rightMm - leftMm) / 2;
  const double b = std::fabs(bottomMm - topMm) / 2;
  if (a <= 0 || b <= 0)
    return;
  // Parametric angle of the ellipse point on the ray from the centre; the page
  // y axis points down, so counter-clockwise means a growing angle with y flipped.
  const auto angleOf = [&](double x, double y) { return std::atan2(-(y - cy) / b, (x - cx) / a); };
  const double start = angleOf(startXMm, startYMm);
  double sweep = angleOf(endXMm, endYMm) - start;
  if (sweep <= 0)
    sweep += 2 * std::numbers::pi;
  const int steps = std::max(2, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 90))));
  std::vector<PixelPoint> points;
  points.reserve(static_cast<size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = start + sweep * i / steps;
    points.push_back({mmToPx(cx + a * std::cos(t)), mmToPx(cy - b * std::sin(t))});
  }
  surface_.drawPolyline(points);
  penPos_ = points.back();
}

int ReportCanvas::printedNumber() const {
  const auto start = parseInteger(printSettings.startNumber);
  // Summed wide: a project file may start the numbering at the largest int.
  const long long number =
      static_cast<long long>(start && *start >= 1 ? *start : 1) + pageCounter - 1;
  return static_cast<int>(std::min<long long>(number, std::numeric_limits<int>::max()));
}

std::string ReportCanvas::pageNumberText() const {
  const std::string digits = std::to_string(printedNumber());
  return printSettings.pageNumberStyle == 1 ? "-" + digits + "-" : digits;
}

void ReportCanvas::drawPageNumber(bool top) {
  if (!onPrinter())
    return;
  const PageNumberPosition position = printSettings.pageNumberPosition;
  if (!numbersAt(position, top ? PageEdge::Top : PageEdge::Bottom))
    return;

  const std::string text = pageNumberText();
  // One millimetre per character; the text is not measured.
  const double c = static_cast<double>(text.size());
  int x = mmToPx(5);
  const PageColumn column = pageColumnOf(position);
  if (column == PageColumn::Centre)
    x = wholePart((pageWidth - c * pxPerMm) * 0.5);
  if (column == PageColumn::Right)
    x = wholePart(pageWidth - c * pxPerMm - 12 * pxPerMm);

  // Page furniture: it does not move the running text position.
  if (top) {
    drawText(x, headerY, text);
    return;
  }
  const int size = fontSize();
  setFontSize(baseFontSize);
  drawText(x, bottomNumberTop(), text);
  setFontSize(size);
}

int ReportCanvas::bottomNumberTop() const {
  const int s = baseFontSize;
  return pageHeight -
         (printedNumber() == 3 ? wholePart(s * pxPerMm) : wholePart(s * pxPerMm * 0.6));
}

bool ReportCanvas::pageNumbersAtBottom() const {
  return numbersAt(printSettings.pageNumberPosition, PageEdge::Bottom);
}

int ReportCanvas::frameBottomAboveFoot(int nominalBottom) const {
  if (!onPrinter() || (!pageNumbersAtBottom() && footMark.empty()))
    return nominalBottom;
  return std::min(nominalBottom, bottomNumberTop() - mmToPx(1));
}

void ReportCanvas::drawFootMark() {
  if (footMark.empty())
    return;
  const FontSpec font = surface_.font();
  setFontSize(baseFontSize);
  setFontColor(textColor);
  setBold(true);
  // At the left, or at the right when the page number stands at the left.
  const int margin = mmToPx(5);
  const bool numberLeft = printSettings.pageNumberPosition == PageNumberPosition::BottomLeft;
  const int x = numberLeft ? pageWidth - margin - textWidth(footMark) : margin;
  TextBox foot = printableArea();
  foot.top = bottomNumberTop();
  const PixelPoint at = labelPlace(x, foot.top, footMark, {GiveWay::kRight, foot});
  drawText(at.x, at.y, footMark);
  surface_.setFont(font);
}

void ReportCanvas::writeScreenFootMark(int y) {
  if (footMark.empty() || !onScreen())
    return;
  const FontSpec font = surface_.font();
  setFontSize(baseFontSize);
  setFontColor(kFailColor);
  setBold(true);
  writeAt(marginLeft, y, footMark);
  surface_.setFont(font);
}

void ReportCanvas::requestFooter(int leftX) {
  footerRequested = true;
  footerLeftX = leftX;
}

void ReportCanvas::drawFooter() {
  const int y = lastTextEnd_.y + wholePart(1.5 * cursor.linePitchMm * pxPerMm);
  if (!projectFilePath.empty()) {
    setFontSize(kFooterFileNameSize);
    // A path too long for the page goes on over as many lines as it needs.
    const int lineStep = emHeight() + labelGap().y;
    int lineY = y;
    for (const std::string& line :
         wrapToWidth("FileName : " + projectFilePath, printableArea().right - footerLeftX)) {
      drawText(footerLeftX, lineY, line);
      lineY += lineStep;
    }
    setFontSize(baseFontSize);
  }
  // The date keeps its column; a file name that reaches it puts it on the
  // line below.
  const std::string stamp = "Morenta [" + date + "]";
  const PixelPoint at = labelPlace(mmToPx(144), y, stamp, {GiveWay::kDown, printableArea()});
  drawText(at.x, at.y, stamp);
}

void ReportCanvas::endPage() {
  if (!onPrinter())
    return;
  if (footerRequested) {
    drawFooter();
    footerRequested = false;
  }
  drawPageNumber(false);
  drawFootMark();
  if (lastPage)
    return;

  if (!surface_.newPage()) {
    throw UserError("プリンタで新しいページを開始できませんでした。印刷を中止します。");
  }
  ++pageCounter;
  pageTexts_.clear();
  cursor.firstLineMm = 7;
  cursor.lineCount = 1;
  drawPageNumber(true);
  headerY = mmToPx(6);
}

}  // namespace tavilo

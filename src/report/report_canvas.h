#pragma once
// The report canvas: one drawing pass of the calculation report onto the
// screen image or onto printer pages. It holds the device set-up, the
// millimetre layout and its conversion to device pixels, the text cursor by
// which the pages place their lines, fonts, pens, page numbers and the page
// end. One canvas is made per pass (beginReport) and handed to every page.

#include <string>
#include <string_view>
#include <vector>

#include "calc/print_settings.h"
#include "report/label_layout.h"
#include "report/report_style.h"
#include "report/report_surface.h"

namespace tavilo {

enum class ReportDevice : int { kScreen = 1, kPrinter = 2 };

enum class ScriptKind : int { kSubscript = 1, kSuperscript = 2 };

// Where the next text of a page goes. Positions in whole millimetres are
// measured from the canvas margins (marginLeft, marginTop).
struct TextCursor {
  int rowMm = 0;         // vertical position of the next text
  int indentMm = 0;      // horizontal position of the next text
  int indentStepMm = 5;  // one level of indentation
  int rowPitchMm = 5;    // row step of page 1: 5 on the screen, 4 on the printer
  int lineMm = 0;        // running line of the result and detail pages
  double linePitchMm = 5.0;
  int lineCount = 0;    // lines advanced on the current page
  int firstLineMm = 7;  // line of the first text line of a printed page
  int runX = 0;         // device pixels: right end of the text drawn last
  int runY = 0;         // device pixels: top of that text (main line after a script)
  std::string text;     // the line being composed

  // lineMm moves on by the pitch, fraction dropped.
  void advanceLine();
};

struct ReportSetup {
  ReportDevice device = ReportDevice::kScreen;
  PrintSettings printSettings;
  // The project data file last loaded or saved; the footer of a printed page
  // names it. Empty when there is none.
  std::string projectFilePath;
  // Today's date as the footer prints it, in the user's short date format.
  // The output supplies it (the report pages know no locale), so that a pass
  // is reproducible.
  std::string date;
};

class ReportCanvas {
 public:
  // Sets the canvas up for one pass (the set-up steps of beginReport). The
  // screen surface must be 72 pixels per inch; it is filled with the
  // background colour. A printer surface is one page of an open document.
  // Throws UserError when a printer reports no resolution.
  ReportCanvas(ReportSurface& surface, ReportSetup setup);
  ReportCanvas(const ReportCanvas&) = delete;
  ReportCanvas& operator=(const ReportCanvas&) = delete;

  // --- Device and layout (device pixels unless named Mm) ---
  ReportDevice device;
  int pixelsPerInch = 72;  // 72 on the screen, the printer's vertical resolution
  double pxPerMm = 0;      // pixelsPerInch / 25.4
  int baseFontSize = 9;    // points: 9 on the screen, 10 on the printer
  ReportColor textColor = kTextColor;
  int marginLeft = 0;  // x of the text column
  int marginTop = 0;   // y origin of the rows
  int column2X = 0;    // x of the second text column
  int pageWidth = 0;   // printable page (the image on the screen)
  int pageHeight = 0;
  int headerY = 0;  // y of the page-number line at the top of a printed page
  TextCursor cursor;

  // --- Positions shared by several pages ---
  int frameRight = 0;       // right edge of the page-1 frame; later rules end there
  int frameBottom = 0;      // bottom edge of the page-1 frame
  int sectionTopY = 0;      // first row of the load conditions on page 1
  int separatorY = 0;       // line between the two sections of page 1
  int diagramTop = 0;       // mm: top of the diagram section
  double drawScale = 80.0;  // deck length / drawn length of the diagrams

  // --- Print job ---
  PrintSettings printSettings;
  std::string projectFilePath;
  std::string date;       // as ReportSetup::date
  int pageCounter = 0;    // 1 for the first printed page; 0 on the screen
  bool lastPage = false;  // the next endPage starts no new page
  bool footerRequested = false;
  int footerLeftX = 0;  // left edge of the footer's file-name line
  // A mark that every page carries (a report drawn from sample site data):
  // bold at the foot of each printed page, in the line of the bottom page
  // number, and in red where the screen image ends. Empty for none.
  std::string footMark;

  bool onScreen() const { return device == ReportDevice::kScreen; }
  bool onPrinter() const { return device == ReportDevice::kPrinter; }
  ReportSurface& surface() { return surface_; }

  // Layout millimetres to device pixels, fraction dropped.
  int mmToPx(double mm) const;
  // ⌊pixelsPerInch / 600 × n⌋: a line weight that looks alike on every printer
  // (n pixels at 600 dpi); 0, the thinnest line, on the screen.
  int finePenWidth(int n) const;

  // --- Fonts ---
  void setFontFace(std::string_view face);
  void setFontSize(int sizePt);
  int fontSize() const { return surface_.font().sizePt; }
  void setFontColor(ReportColor color);
  void setBold(bool bold);
  // Font size ⌊baseFontSize × f⌋.
  void scaleFont(double f);
  // Red bold for a failed check, on the screen only; nothing on paper.
  void emphasisOn(bool failed);
  void emphasisOff(bool failed);

  // --- Pens ---
  void setPenColor(ReportColor color);
  void setPenWidth(int width);
  void setPenStyle(PenStyle style);
  const PenSpec& pen() const { return surface_.pen(); }

  // --- Text; every write returns the right end of what it drew ---
  int textWidth(std::string_view text) const { return surface_.textWidth(text); }
  // Top-left at (x, y) in device pixels; runX, runY follow the text.
  int writeAt(int x, int y, std::string_view text);
  // cursor.text at (marginLeft + ⌊indentMm × k⌋, marginTop + ⌊rowMm × k⌋).
  int writeAtCursor();
  int writeAtCursor(std::string_view text);
  // Absolute page millimetres.
  int writeAtMm(double xMm, double yMm, std::string_view text);
  // Continues the line at (runX, runY).
  int writeRun(std::string_view text);
  // A superscript or subscript after the last text, in `size` points; the
  // line continues on the main line afterwards and the font returns to
  // restoreSize.
  int writeScript(ScriptKind kind, std::string_view text, int size, int restoreSize);
  // Where writeAtCursor would draw.
  PixelPoint cursorPosition() const;
  // Right end and top of the text drawn last (raised for a superscript).
  PixelPoint lastTextEnd() const { return lastTextEnd_; }

  // --- Labels that never overprint (label_layout.h) ---
  // Every text drawn on the current page is kept; labels keep clear of them.
  // The box of the text's ink if it were drawn at (x, y) in the current font.
  TextBox inkBox(int x, int y, std::string_view text) const;
  // The em of the current font in device pixels: the height of a text's box.
  int emHeight() const;
  // The least distance a label keeps: 0.8 mm along a line, 0.2 mm between lines.
  LabelGap labelGap() const;
  // Where nothing is cut off: the image (unbounded below) or the printable
  // area of the page.
  TextBox printableArea() const;
  // The printable area between two heights in page millimetres.
  TextBox bandMm(double topMm, double bottomMm) const;
  // Writes a label at (x, y) when that place is free, else at the nearest
  // free place in the room; returns where it was drawn (its top-left).
  PixelPoint writeLabel(int x, int y, std::string_view text, const LabelRoom& room);
  PixelPoint writeLabelMm(double xMm, double yMm, std::string_view text, const LabelRoom& room);
  // The text cut into lines no wider than maxWidth pixels in the current
  // font, after a "/" where one is at hand, else between two characters.
  std::vector<std::string> wrapToWidth(std::string_view text, int maxWidth) const;
  // An area labels keep clear of (a load arrow, a support).
  void keepClear(const TextBox& box);
  void keepClearMm(double leftMm, double topMm, double rightMm, double bottomMm);
  // While set, every line drawn is one that labels keep out of their
  // characters (the curves of a diagram).
  void setLinesKeptClear(bool kept) { linesKeptClear_ = kept; }

  // Labels placed together before any is drawn, so that a placement can be
  // tried again: the place a label takes in the current font, inside the
  // room only, now taken; nothing when the room has no free place.
  std::optional<PixelPoint> reserveLabel(int x, int y, std::string_view text,
                                         const LabelRoom& room);
  // The reservations made so far, and giving back those made after it.
  std::size_t reservationMark() const { return pageTexts_.takenCount(); }
  void releaseReservations(std::size_t mark) { pageTexts_.releaseAfter(mark); }
  // Draws a reserved label at its place in the current font.
  void writeReserved(PixelPoint at, std::string_view text);

  // --- Lines ---
  void moveTo(int x, int y);
  void lineTo(int x, int y);
  void moveToMm(double xMm, double yMm);
  void lineToMm(double xMm, double yMm);
  void drawLine(int x1, int y1, int x2, int y2);
  void drawRect(int left, int top, int right, int bottom);
  void fillRect(int left, int top, int right, int bottom, ReportColor color);
  // Counter-clockwise arc of the ellipse inscribed in the box, from where the
  // ray from its centre through the start point meets the ellipse to where
  // the ray through the end point does; absolute page millimetres.
  void arcMm(double leftMm, double topMm, double rightMm, double bottomMm, double startXMm,
             double startYMm, double endXMm, double endYMm);

  // --- Pages (printer only; the screen image carries no page furniture) ---
  // startNumber + pageCounter - 1, in the chosen style ("5" or "-5-").
  std::string pageNumberText() const;
  // Draws the number when the chosen position lies at the top (top = true)
  // or the bottom of the page: at the top in the current font, at the bottom
  // in the body size.
  void drawPageNumber(bool top);
  // The lowest y a frame of this page may reach so that it ends above the
  // page number and the foot mark at the foot of the page, nominalBottom
  // when there are none.
  int frameBottomAboveFoot(int nominalBottom) const;
  // The foot mark of the screen image on the line y, from the left margin.
  void writeScreenFootMark(int y);
  // A page asks for the footer lines; leftX is where the file-name line starts.
  void requestFooter(int leftX);
  // The end of a printed page: footer, bottom number, then the next page
  // unless lastPage is set. Does nothing on the screen, where the pages move
  // the text cursor on themselves.
  void endPage();

  // One past the lowest pixel row drawn so far.
  int usedHeight() const { return surface_.usedHeight(); }

 private:
  int printedNumber() const;
  // y of the line at the foot of this page: the bottom page number, the foot mark.
  int bottomNumberTop() const;
  bool pageNumbersAtBottom() const;
  // The foot mark of a printed page, clear of the page number.
  void drawFootMark();
  // Draws through the surface and keeps the text's box on the page.
  int drawText(int x, int y, std::string_view text);
  // Where writeLabel would draw the text, without drawing it.
  PixelPoint labelPlace(int x, int y, std::string_view text, const LabelRoom& room) const;
  // The footer lines of a printed page below the text written last.
  void drawFooter();

  ReportSurface& surface_;
  PageTexts pageTexts_;
  PixelPoint lastTextEnd_;
  PixelPoint penPos_;
  bool linesKeptClear_ = false;
};

// Sets up a canvas for one drawing pass; the pages are drawn onto it next.
inline ReportCanvas beginReport(ReportSurface& surface, ReportSetup setup) {
  return ReportCanvas(surface, std::move(setup));
}

}  // namespace tavilo

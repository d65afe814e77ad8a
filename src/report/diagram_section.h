#pragma once
// The last section of the calculation report, "計算結果（M-図,δ-図）": the
// structural model with its span dimensions and loads, then one block per load
// case with its combined load, the bending-moment diagram (black) and the
// deflection curve (magenta) on a common beam axis, and the end of the
// report. It draws what the calculation run stored in the outcome's diagram
// section and recomputes no analysis.

#include <array>
#include <string>

#include "calc/calculation_run.h"
#include "calc/load_case_rows.h"
#include "report/diagram_primitives.h"
#include "report/report_canvas.h"

namespace tavilo {

// The rows of the section in page millimetres.
struct DiagramLayout {
  int top = 0;                      // start of the section
  double loadRow1 = 0;              // dead plus live load band
  double loadRow2 = 0;              // wind uplift band
  double loadRow3 = 0;              // snow load figure, on the beam of the model
  double beamRow = 0;               // beam of the structural model
  PerLoadCase<double> blockRows{};  // rows of the main load-case blocks
  double additionalRow = 0;         // row of the block appended after them
  // Caption column: 8.8 mm on the screen; on paper 9.0 mm, or 1 mm inside the
  // page frame when marginLeft puts the frame there or further right.
  double captionX = 0;
};

DiagramLayout diagramLayout(const ReportCanvas& canvas, int top);

// Top of the section on the screen when no wind and snow detail page precedes
// it: 30 mm below the text line that the results pages left, ⌊y / pxPerMm⌋ + 30.
int diagramTopAfterResults(const ReportCanvas& canvas);

// Top of the section for this pass: 0 on paper, where the section fills a page
// of its own; on the screen the row the detail page left in diagramTop, or,
// with directly entered loads (no detail page), diagramTopAfterResults.
int diagramTopFor(const ReportCanvas& canvas, int calcMethod);

// The structural model: beam, supports and span dimensions, the snow figure,
// the dead plus live and wind bands and the captions of the section head.
void drawModelHeader(ReportCanvas& canvas, const DeckDrawing& deck, const DiagramHeader& header,
                     const DiagramLayout& layout);

// The title line of a block on the screen: " ■" + label + " " centred in 80
// characters of "-", one more "-" at the end when the padding is odd.
std::string blockTitleLine(const std::string& label);

// One load-case block on row `row`: its title and captions, load figure,
// moment diagram and deflection curve; the values of the figures keep within
// the block. `windNegative` (N/m²) is the reference load of
// the figure.
void drawCaseBlock(ReportCanvas& canvas, const DeckDrawing& deck, const DiagramBlock& block,
                   double row, int windNegative, const DiagramLayout& layout);

// The bending-moment diagram of a case on the axis y = axisY, the largest
// moment 5 mm from the axis, with the end, span and overhang moments in kN·m
// and the end shears in kN (two decimals on the screen, three on paper).
// `leftOverhangRootShear` (N per metre of width) labels the root of a left
// overhang. A value whose place is taken gives way inside `labelArea`
// (device pixels; empty: the page).
void drawMomentDiagram(ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& analysis,
                       double axisY, double leftOverhangRootShear, const TextBox& labelArea = {});

// The deflection curve of a case in magenta on the axis y = axisY, the largest
// deflection 3 mm from the axis and downward deflections below it, with the
// largest deflection of every span and the tip deflection of every overhang.
// (Its caption "δ[mm]" belongs to the caption column of the block.)
void drawDeflectionCurve(ReportCanvas& canvas, const DeckDrawing& deck,
                         const CaseAnalysis& analysis, double axisY, const TextBox& labelArea = {});

// The end of the report below the position `reachedMm`: on the screen a rule
// and "－END－"; on paper the frame of the diagram page, which is then ended
// as the last page of the print job.
void drawReportEnd(ReportCanvas& canvas, double reachedMm);

// The whole section for this pass, then the end of the report. The drawing
// scale is fixed from the outcome's conditions and kept in canvas.drawScale.
// On paper the section draws on the current page, which the page end of the
// page before has begun. Pen and font are left as they were found.
void drawDiagramSection(ReportCanvas& canvas, const CalculationOutcome& outcome);

}  // namespace tavilo

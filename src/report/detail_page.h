#pragma once
// The wind and snow load page of the calculation report: line by line, how the
// design wind pressures and the design snow load of the calculation were
// obtained. Drawn after the verdict block, only when the loads are derived
// from the notices; with directly entered loads there is no such page.

#include "calc/design_conditions.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"
#include "report/report_canvas.h"

namespace tavilo {

// Draws the page onto the canvas and ends it (endPage). The wind values are
// those of `wind`, the derivation the calculation used. The snow values come from
// `conditions` (depth, ρ, heavy-snow flag, surcharge state and factor, Ws) and
// from `snow` (the surcharge terms in states 1 and 2, the depth formula's
// inputs when the depth is derived). `overhangShown`: either overhang length
// field is shown on the input screen.
//
// On the screen the page continues the report image and leaves diagramTop at
// its last row; on paper it begins its own sheet, and diagramTop is 0.
void drawWindSnowDetailPage(ReportCanvas& canvas, const CaLC_DATA& data,
                            const DesignConditions& conditions, const WindDerivation& wind,
                            const SnowDerivation& snow, bool overhangShown);

// The small cross-section of the roof beside the surcharge lines, paper only:
// the outline in grey, the span-direction length "Ｄ" and the roof angle "θ".
// `canopyShape` is 0 gable or 1 wing. `siteRowTopPx` is the top, in device pixels, of the site row
// of the snow part, from which the figure hangs; a figure that would reach
// below `frameBottomPx` (the page frame; 0 for none) is lifted above it. The
// pen is restored afterwards.
void drawRoofSketch(ReportCanvas& canvas, RoofType roofType, int canopyShape, int siteRowTopPx,
                    int frameBottomPx = 0);

}  // namespace tavilo

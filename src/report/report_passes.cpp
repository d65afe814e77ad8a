#include "report/report_passes.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "platform/utf8_path.h"
#include "report/recording_surface.h"

namespace tavilo {

int screenImageBaseHeight(const CalculationOutcome& outcome) {
  const bool tall = outcome.settings.calcMethod == kCalcMethodNotices &&
                    outcome.facts.overhangSelected && outcome.conditions.heavySnow;
  return tall ? kScreenImageHeightHeavySnowOverhangs : kScreenImageHeight;
}

int screenImageHeight(int minHeight, const ReportDrawing& draw) {
  // A long report (four spans, overhangs, a heavy-snow site) is not cut off
  // at a fixed height.
  RecordingSurface dryRun(72, kScreenImageWidth, std::max(minHeight, kScreenImageHeight));
  drawScreenPass(dryRun, draw);
  return std::max(minHeight, dryRun.usedHeight() + kScreenImageBottomMargin);
}

void drawScreenPass(ReportSurface& surface, const ReportDrawing& draw) {
  ReportCanvas canvas = beginReport(surface, {});
  draw(canvas);
}

void drawPrintPass(ReportSurface& surface, ReportSetup setup, const ReportDrawing& draw) {
  setup.device = ReportDevice::kPrinter;
  ReportCanvas canvas = beginReport(surface, std::move(setup));
  draw(canvas);
}

std::string reportTitle(const PrintSettings& printSettings, const std::string& projectFilePath,
                        const std::string& pdfPath) {
  const std::string& name = printSettings.projectName;
  if (!name.empty() && name != kNoProjectName)
    return name;
  if (!projectFilePath.empty())
    return utf8FromPath(pathFromUtf8(projectFilePath).stem());
  return utf8FromPath(pathFromUtf8(pdfPath).stem());
}

}  // namespace tavilo

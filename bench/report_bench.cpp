// The report of the heavy-snow sample with overhangs at both ends (five case
// sections, the detail page, the diagrams): the printed PDF at 600 dpi and
// the screen image at 72 ppi, each drawn from a finished calculation, with
// every label placed clear of the others. The same sample on four short spans
// crowds its diagrams with labels: the placement's worst case.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>

#include "calc/app_state.h"
#include "model/calculate_command.h"
#include "model/project_file.h"
#include "model/settings_dialog.h"
#include "persistence/project_paths.h"
#include "report/qt/report_output.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = fs::path(__FILE__).parent_path().parent_path();

void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr)
    return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "report_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

struct Report {
  CalculationOutcome outcome;
  PrintJob job;
};

Report heavySnowReport(bool crowded = false) {
  InputForm form{LocationTables(kSourceRoot / "Load_data")};
  std::ignore = form.startUp();
  SettingsDialog dialog;
  AppState state;
  Report report;
  ProjectPaths paths;
  const fs::path project = kSourceRoot / "examples" / "heavy-snow-overhangs.tvl";
  const ProjectLoad load =
      loadProject(project, {form, dialog, state.settings, report.job.printSettings, paths});
  if (!load.completed())
    throw std::runtime_error(load.failure.value_or("the sample did not load"));
  if (crowded) {
    std::ignore = form.setSpinValue(FieldId::SpanCount, 4);
    const char* spans[] = {"900", "500", "700", "500"};
    for (int i = 0; i < 4; ++i)
      std::ignore = form.typeText(spanField(i + 1), spans[i]);
  }
  CalculateResult result = calculate(form, state);
  if (!result.outcome)
    throw std::runtime_error("the sample did not calculate");
  report.outcome = std::move(*result.outcome);
  report.job.projectFilePath = project.string();
  return report;
}

const Report& sampleReport() {
  static const Report report = heavySnowReport();
  return report;
}

const Report& crowdedReport() {
  static const Report report = heavySnowReport(true);
  return report;
}

void screenImage(benchmark::State& state) {
  ensureGuiApplication();
  const Report& report = sampleReport();
  for (auto _ : state) {
    const QImage image = renderScreenImage(report.outcome);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(screenImage)->Unit(benchmark::kMillisecond)->Repetitions(7);

void printedPdf(benchmark::State& state) {
  ensureGuiApplication();
  const Report& report = sampleReport();
  const fs::path pdf =
      fs::temp_directory_path() / ("tavilo_report_bench_" + std::to_string(getpid()) + ".pdf");
  for (auto _ : state)
    writeReportPdf(pdf.string(), report.outcome, report.job);
  fs::remove(pdf);
}
BENCHMARK(printedPdf)->Unit(benchmark::kMillisecond)->Repetitions(7);

void crowdedPdf(benchmark::State& state) {
  ensureGuiApplication();
  const Report& report = crowdedReport();
  const fs::path pdf = fs::temp_directory_path() /
                       ("tavilo_report_bench_crowded_" + std::to_string(getpid()) + ".pdf");
  for (auto _ : state)
    writeReportPdf(pdf.string(), report.outcome, report.job);
  fs::remove(pdf);
}
BENCHMARK(crowdedPdf)->Unit(benchmark::kMillisecond)->Repetitions(7);

}  // namespace
}  // namespace tavilo

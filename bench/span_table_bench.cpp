// The span table of the heavy-snow sample with overhangs at both ends: four
// decks × four span counts on the 10 mm grid, each cell prepared by the
// calculate command and searched; and the same table by a scan of every
// span of the grid, the work the search saves.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <tuple>

#include "calc/errors.h"
#include "model/project_file.h"
#include "model/span_table.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(__FILE__).parent_path().parent_path();

struct HeavySnowProject {
  InputForm form{LocationTables(kSource / "Load_data")};
  SettingsDialog dialog;
  CoefficientSettings settings;
  PrintSettings print;
  ProjectPaths paths;

  HeavySnowProject() {
    std::ignore = form.startUp();
    const ProjectLoad load = loadProject(kSource / "examples/heavy-snow-overhangs.tvl",
                                         {form, dialog, settings, print, paths});
    if (!load.completed())
      throw UserError(*load.failure);
  }
};

void BM_SpanTable(benchmark::State& bench) {
  const HeavySnowProject project;
  int calculations = 0;
  for (auto _ : bench) {
    const SpanTableResult result = buildSpanTable(project.form, project.settings);
    if (!result.table) {
      bench.SkipWithError(result.refusal->message.c_str());
      return;
    }
    calculations = 0;
    for (const SpanTableCell& cell : result.table->cells)
      calculations += cell.calculations;
    benchmark::DoNotOptimize(result.table->cells.front().span);
  }
  bench.counters["calculations"] = calculations;
}
BENCHMARK(BM_SpanTable)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SpanTableByFullScan(benchmark::State& bench) {
  const HeavySnowProject project;
  for (auto _ : bench) {
    int calculations = 0;
    for (int deck = 0; deck < kSpanTableDecks; ++deck) {
      for (int count = 1; count <= kSpanTableSpanCounts; ++count) {
        const CellPreparation cell =
            prepareSpanTableCell(project.form, project.settings, deck, count, kDefaultSpanStep);
        const SpanGrid& grid = cell.calculation->grid();
        for (int i = 0; i < grid.count(); ++i) {
          benchmark::DoNotOptimize(cell.calculation->failuresAt(grid.at(i)));
          ++calculations;
        }
      }
    }
    bench.counters["calculations"] = calculations;
  }
}
BENCHMARK(BM_SpanTableByFullScan)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavilo

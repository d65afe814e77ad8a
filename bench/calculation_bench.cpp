// The calculation without drawing: the heavy-snow sample with overhangs at
// both ends as it stands and as a 4-span deck of 12 m (five load cases,
// results and diagram passes), and the batch command `tavilo-calc --json` as
// a whole process over the sample projects. Each is repeated so that the
// median is reported.

#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "calc/app_state.h"
#include "model/calculate_command.h"
#include "model/project_file.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TAVILO_SOURCE_DIR;

// The heavy-snow sample (新潟県 十日町市, 250 cm, two spans of 2000 mm,
// overhangs 500 and 400 mm), by default with four spans of 3000 mm.
struct HeavySnowSession {
  InputForm form{LocationTables(kSource / "Load_data")};
  SettingsDialog dialog;
  AppState state;
  PrintSettings print;
  ProjectPaths paths;

  explicit HeavySnowSession(bool fourLongSpans = true) {
    std::ignore = form.startUp();
    std::vector<std::string> lines = readTextLines(kSource / "examples/heavy-snow-overhangs.tvl");
    if (fourLongSpans) {
      lines[24] = "4";
      for (int line = 25; line <= 28; ++line)
        lines[static_cast<std::size_t>(line)] = "3000";
      lines[34] = "13000";  // the deck with its overhangs is 12.9 m long
    }
    const ProjectLoad load =
        applyProjectLines(lines, "bench.tvl", {form, dialog, state.settings, print, paths});
    if (!load.completed())
      throw UserError(*load.failure);
  }
};

// The full calculation of the sample as it stands: the calculate command
// with its check, gathering, preparation and both passes over every case.
void BM_HeavySnowSample(benchmark::State& bench) {
  HeavySnowSession session(false);
  for (auto _ : bench) {
    CalculateResult result = calculate(session.form, session.state);
    if (!result.outcome) {
      bench.SkipWithError(result.refusal ? result.refusal->message.c_str() : "no outcome");
      return;
    }
    benchmark::DoNotOptimize(result.outcome->failures);
  }
}
BENCHMARK(BM_HeavySnowSample)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_CalculateCommand(benchmark::State& bench) {
  HeavySnowSession session;
  for (auto _ : bench) {
    CalculateResult result = calculate(session.form, session.state);
    if (!result.outcome) {
      bench.SkipWithError(result.refusal ? result.refusal->message.c_str() : "no outcome");
      return;
    }
    benchmark::DoNotOptimize(result.outcome->failures);
  }
  const CalculationOutcome& outcome = *session.state.lastOutcome;
  bench.counters["cases"] = static_cast<double>(outcome.sections.size());
  bench.counters["spans"] = outcome.conditions.spanCount;
}
BENCHMARK(BM_CalculateCommand)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// Both passes alone, from prepared conditions.
void BM_RunCalculation(benchmark::State& bench) {
  HeavySnowSession session;
  const CalculateResult first = calculate(session.form, session.state);
  if (!first.outcome) {
    bench.SkipWithError("the input check refused the benchmark deck");
    return;
  }
  const CalculationOutcome& prepared = *first.outcome;
  for (auto _ : bench) {
    CalculationOutcome outcome = runCalculation(prepared.conditions, prepared.calcData,
                                                prepared.settings, prepared.wind, prepared.snow);
    benchmark::DoNotOptimize(outcome.failures);
  }
}
BENCHMARK(BM_RunCalculation)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_BatchJsonProcess(benchmark::State& bench, const char* sample) {
  const std::string command = "'" + std::string(TAVILO_CALC_EXE) + "' '" +
                              (kSource / "examples" / sample).string() + "' --json >/dev/null 2>&1";
  for (auto _ : bench) {
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      bench.SkipWithError("tavilo-calc did not calculate the sample");
      return;
    }
  }
}
BENCHMARK_CAPTURE(BM_BatchJsonProcess, ordinary_3span, "ordinary-3span.tvl")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_BatchJsonProcess, heavy_snow_overhangs, "heavy-snow-overhangs.tvl")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_BatchJsonProcess, direct_1span, "direct-1span.tvl")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tavilo

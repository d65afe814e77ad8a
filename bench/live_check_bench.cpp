// An input change to the live check brought up to date: one keystroke in a
// span field of a loaded sample, then the verdict, the utilisation and the
// comparison of every deck of the catalogue with the panel's texts. The
// budget is 2 ms per change.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "model/live_check.h"
#include "model/session.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TAVILO_SOURCE_DIR;

void liveCheckAfterTyping(benchmark::State& bench, const char* project) {
  Session session(ProgramFolders{kSource / "Load_data", kSource / "Load_data", {}});
  std::ignore = session.startUp("");
  if (!session.load(kSource / "examples" / project).completed()) {
    bench.SkipWithError("the sample does not load");
    return;
  }
  // The span alternates between two lengths, as a user types one digit.
  const std::string spans[] = {"2000", "2100"};
  std::size_t turn = 0;
  for (auto _ : bench) {
    std::ignore = session.form().typeText(FieldId::Span1, spans[turn++ % 2]);
    const LiveCheckPanel panel = livePanel(session);
    benchmark::DoNotOptimize(panel.decks.size());
    if (!panel.calculated) {
      bench.SkipWithError(panel.refusalMessage.c_str());
      return;
    }
  }
}

void BM_LiveCheckOrdinary(benchmark::State& bench) {
  liveCheckAfterTyping(bench, "ordinary-3span.tvl");
}
BENCHMARK(BM_LiveCheckOrdinary)->Unit(benchmark::kMicrosecond);

// Five load cases and overhangs at both ends: the heaviest sample.
void BM_LiveCheckHeavySnow(benchmark::State& bench) {
  liveCheckAfterTyping(bench, "heavy-snow-overhangs.tvl");
}
BENCHMARK(BM_LiveCheckHeavySnow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavilo

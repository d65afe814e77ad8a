// One load case of a 12 m deck: four spans with overhangs at both ends,
// analysed and sampled at 5 mm along every span and over both overhangs.

#include <benchmark/benchmark.h>

#include <cstddef>

#include "calc/beam_solver.h"

namespace tavilo {
namespace {

BeamModel twelveMetreDeck() {
  BeamModel m;
  m.memberCount = 4;
  for (std::size_t k = 0; k < 4; ++k) {
    m.spans[k] = 2850;
    m.area[k] = 1065;
    m.inertia[k] = 1630000;
    m.lineLoads[k] = -0.227;
    m.endIntensities[k] = {-0.6, -0.6};
  }
  m.leftOverhang = 300;
  m.rightOverhang = 300;
  return m;
}

void analyseAndSample(benchmark::State& state) {
  const BeamModel model = twelveMetreDeck();
  constexpr double kFactor = 1.2;
  for (auto _ : state) {
    const BeamResult result = analyseBeam(model);
    for (int member = 0; member < model.memberCount; ++member) {
      benchmark::DoNotOptimize(spanMoments(model, result, member, true));
      benchmark::DoNotOptimize(spanDeflection(model, result, member, kFactor, true));
    }
    for (const OverhangSide side : {OverhangSide::kLeft, OverhangSide::kRight}) {
      const Overhang overhang = overhangOf(model, side);
      benchmark::DoNotOptimize(overhangRootMoment(overhang));
      benchmark::DoNotOptimize(overhangMomentSamples(overhang));
      benchmark::DoNotOptimize(overhangTipDeflection(overhang, kFactor));
      benchmark::DoNotOptimize(overhangDeflectionSamples(overhang, kFactor));
    }
  }
}
BENCHMARK(analyseAndSample)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tavilo

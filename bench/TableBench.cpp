// Building every table of one board size and rule, as start-up, "start" and a
// rule change do.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

void BM_InitAnalysisTables(benchmark::State& state) {
    const auto side = static_cast<std::uint32_t>(state.range(0));
    SetBoardSize(side, side);
    InitAnalysisTables();
    for (auto _ : state) {
        ReleaseAnalysisTables();
        InitAnalysisTables();
        benchmark::DoNotOptimize(pointCategory.get());
    }
}
BENCHMARK(BM_InitAnalysisTables)->Arg(15)->Arg(20)->Unit(benchmark::kMillisecond);

// A rule change with the geometry in place: release and rebuild for the other rule.
void BM_RuleRebuild(benchmark::State& state) {
    SetBoardSize(20, 20);
    InitAnalysisTables();
    for (auto _ : state) {
        ReleaseAnalysisTables();
        gameRule = gameRule == 1 ? 0 : 1;
        InitAnalysisTables();
        benchmark::DoNotOptimize(pointCategory.get());
    }
    ReleaseAnalysisTables();
    gameRule = 0;
    InitAnalysisTables();
}
BENCHMARK(BM_RuleRebuild)->Unit(benchmark::kMillisecond);

// Start-up and "start": the geometry of the size, then every table.
void BM_SetSizeAndBuild(benchmark::State& state) {
    const auto side = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        ReleaseAnalysisTables();
        SetBoardSize(side, side);
        InitAnalysisTables();
        benchmark::DoNotOptimize(pointCategory.get());
    }
}
BENCHMARK(BM_SetSizeAndBuild)->Arg(15)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zomar

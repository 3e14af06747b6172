// The work of one search node on middle-game positions: the threat evaluation,
// the search's move list and the static score at the leaves.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/MoveGeneration.h"
#include "analysis/PatternTables.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"

namespace zomar {
namespace {

constexpr std::uint32_t MiddleGameStones = 20;

// Search boards holding the first 20 stones of every shipped position.
std::vector<std::unique_ptr<ListBoard>> MiddleGameBoards() {
    ReleaseAnalysisTables();
    SetBoardSize(20, 20);
    gameRule = 0;
    InitAnalysisTables();
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZOMAR_TEST_DATA_DIR)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::unique_ptr<ListBoard>> boards;
    for (const std::string& file : files) {
        const std::vector<Coord> moves = ReadPositionFile(file);
        auto board = std::make_unique<ListBoard>(BoardKind::Search);
        for (std::size_t i = 0; i < std::min<std::size_t>(MiddleGameStones, moves.size()); ++i) {
            board->MakeSearchMove(moves[i]);
        }
        boards.push_back(std::move(board));
    }
    return boards;
}

template <typename Step>
void RunOverPositions(benchmark::State& state, Step step) {
    const std::vector<std::unique_ptr<ListBoard>> boards = MiddleGameBoards();
    std::size_t next = 0;
    for (auto _ : state) {
        ListBoard& board = *boards[next];
        next = next + 1 == boards.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(step(board));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateThreats(benchmark::State& state) {
    RunOverPositions(state, [](ListBoard& board) { return EvaluateThreats(board, EvalFull); });
}
BENCHMARK(BM_EvaluateThreats);

void BM_GenerateSearchMoves(benchmark::State& state) {
    RunOverPositions(state, [](ListBoard& board) { return GenerateSearchMoves(board, 0); });
}
BENCHMARK(BM_GenerateSearchMoves);

void BM_StaticScore(benchmark::State& state) {
    RunOverPositions(state, [](ListBoard& board) { return StaticScore(board); });
}
BENCHMARK(BM_StaticScore);

}  // namespace
}  // namespace zomar

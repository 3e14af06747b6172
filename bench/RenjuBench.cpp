// Renju beside freestyle: the fixed-depth searches of the search signature
// under rule 0 and rule 4 (stones per second; rule 4 also checks black's lists
// for forbidden points), and the cost of one forbidden-point check over every
// empty point of the same positions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "signature/SearchSignature.h"
#include "analysis/ForbiddenPoint.h"
#include "analysis/ProcessTables.h"
#include "analysis/RenjuRestriction.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"

namespace zomar {
namespace {

std::vector<std::vector<Coord>> SignatureGames() {
    std::vector<std::vector<Coord>> games;
    for (const std::string& file : test::SignatureFiles(ZOMAR_TEST_DATA_DIR)) games.push_back(ReadPositionFile(file));
    return games;
}

void BM_SearchByRule(benchmark::State& state) {
    BuildProcessTables(20, 20, static_cast<std::int32_t>(state.range(0)));
    const auto depth = static_cast<std::uint32_t>(state.range(1));
    const std::vector<std::vector<Coord>> games = SignatureGames();
    std::uint64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const auto& moves : games) {
            for (std::uint32_t stones : test::SignaturePrefixes) {
                ListBoard board(BoardKind::Search);
                test::ReplayPrefix(board, moves, stones);
                FollowRenjuBlack(board);
                total += test::SignatureSearch(board, depth).stones;
            }
        }
    }
    state.counters["stones"] = static_cast<double>(total);
    state.counters["stones_per_s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate);
    BuildProcessTables(20, 20, 0);
}
BENCHMARK(BM_SearchByRule)->Args({0, 6})->Args({4, 6})->Args({0, 8})->Args({1, 8})->Args({4, 8})->Unit(benchmark::kMillisecond)->Iterations(1);

// One check per empty point, for black, of each signature position (argument
// 0) or of 64 crowded random positions (1), where most points pass the stone
// count and many are forbidden; `forbidden` counts the points found.
void BM_ForbiddenPointCheck(benchmark::State& state) {
    BuildProcessTables(20, 20, 4);
    std::vector<std::unique_ptr<ListBoard>> boards;
    if (state.range(0) == 0) {
        for (const auto& moves : SignatureGames()) {
            for (std::uint32_t stones : test::SignaturePrefixes) {
                boards.push_back(std::make_unique<ListBoard>(BoardKind::Search));
                test::ReplayPrefix(*boards.back(), moves, stones);
            }
        }
    }
    std::mt19937 random(4);
    for (int i = 0; i < 64 && state.range(0) == 1; ++i) {
        boards.push_back(std::make_unique<ListBoard>(BoardKind::Game));
        ListBoard& board = *boards.back();
        for (int stone = 0; stone < 40; ++stone) {
            const Coord p = CoordFromXY(5 + random() % 9, 5 + random() % 9);
            if (board.stone[p] != EmptyCell) continue;
            if (random() % 5 < 2) board.MakeMove(PassCoord);
            board.MakeMove(p);
        }
    }
    std::int64_t checks = 0;
    std::int64_t forbidden = 0;
    for (auto _ : state) {
        for (const auto& board : boards) {
            for (std::uint32_t p = 0; p < boardArea; ++p) {
                if (board->stone[p] != EmptyCell) continue;
                forbidden += IsForbiddenPoint(*board, static_cast<Coord>(p), Colour1);
                ++checks;
            }
        }
    }
    state.SetItemsProcessed(checks);
    state.counters["forbidden"] = static_cast<double>(forbidden) / static_cast<double>(state.iterations());
    BuildProcessTables(20, 20, 0);
}
BENCHMARK(BM_ForbiddenPointCheck)->Arg(0)->Arg(1);

}  // namespace
}  // namespace zomar

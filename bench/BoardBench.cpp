// Placing a stone and lifting it again on middle-game positions: the innermost
// step of the search, with the core update alone and with the border lists.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"

namespace zomar {
namespace {

void UseStandardTables() {
    ReleaseAnalysisTables();
    SetBoardSize(20, 20);
    gameRule = 0;
    InitAnalysisTables();
}

// A fixed game of `stones` moves around the centre, as a search meets them:
// each stone next to an earlier one.
std::vector<Coord> MiddleGame(int stones) {
    std::vector<Coord> moves{CoordFromXY(10, 10)};
    std::vector<bool> taken(boardArea, false);
    taken[moves[0]] = true;
    std::uint32_t state = 12345;
    auto draw = [&state](std::uint32_t bound) {
        state = state * 214013 + 2531011;
        return (state >> 16) % bound;
    };
    while (static_cast<int>(moves.size()) < stones) {
        const Coord from = moves[draw(static_cast<std::uint32_t>(moves.size()))];
        const int x = static_cast<int>(from % boardWidth) + static_cast<int>(draw(5)) - 2;
        const int y = static_cast<int>(from / boardWidth) + static_cast<int>(draw(5)) - 2;
        if (x < 0 || y < 0 || x >= 20 || y >= 20 || taken[CoordFromXY(x, y)]) continue;
        moves.push_back(CoordFromXY(x, y));
        taken[moves.back()] = true;
    }
    return moves;
}

// The empty points next to a stone: the moves a search tries.
std::vector<Coord> NearMoves(const ListBoard& board) {
    std::vector<Coord> points;
    for (Coord p = 0; p < board.Area(); ++p) {
        if (board.stone[p] != EmptyCell) continue;
        for (const std::uint16_t* n = Neighbours(p); *n != boardArea; ++n) {
            if (board.stone[*n] != EmptyCell) {
                points.push_back(p);
                break;
            }
        }
    }
    return points;
}

template <bool WithBorder>
void BM_PlaceAndLift(benchmark::State& state) {
    UseStandardTables();
    ListBoard board(WithBorder ? BoardKind::Search : BoardKind::Game);
    auto play = [&board](Coord c) {
        if constexpr (WithBorder) {
            board.MakeSearchMove(c);
        } else {
            board.MakeMove(c);
        }
    };
    for (Coord c : MiddleGame(static_cast<int>(state.range(0)))) play(c);
    const std::vector<Coord> moves = NearMoves(board);
    std::size_t next = 0;
    for (auto _ : state) {
        const Coord c = moves[next];
        next = next + 1 == moves.size() ? 0 : next + 1;
        play(c);
        play(c);
    }
    benchmark::DoNotOptimize(board.hashKey);
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_PlaceAndLift<false>)->Name("BM_MakeMovePair")->Arg(20)->Arg(60);
BENCHMARK(BM_PlaceAndLift<true>)->Name("BM_MakeSearchMovePair")->Arg(20)->Arg(60);
// A fixed number of pairs, for counting instructions per pair
// (scripts/count-instructions.sh).
BENCHMARK(BM_PlaceAndLift<false>)->Name("BM_MakeMovePairCounted")->Arg(20)->Iterations(200000);
BENCHMARK(BM_PlaceAndLift<true>)->Name("BM_MakeSearchMovePairCounted")->Arg(20)->Iterations(200000);

std::vector<std::vector<Coord>> ShippedGames() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZOMAR_TEST_DATA_DIR)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::vector<Coord>> games;
    for (const std::string& file : files) games.push_back(ReadPositionFile(file));
    return games;
}

// Every stone of a shipped game played forward, then all taken back in
// reverse order; one pair per stone, as boards are usually compared.
template <bool WithBorder>
void BM_ReplayGames(benchmark::State& state) {
    UseStandardTables();
    const std::vector<std::vector<Coord>> games = ShippedGames();
    std::vector<std::unique_ptr<ListBoard>> boards;
    for (std::size_t i = 0; i < games.size(); ++i) {
        boards.push_back(std::make_unique<ListBoard>(WithBorder ? BoardKind::Search : BoardKind::Game));
    }
    std::int64_t pairs = 0;
    for (auto _ : state) {
        for (std::size_t g = 0; g < games.size(); ++g) {
            ListBoard& board = *boards[g];
            for (Coord c : games[g]) {
                if constexpr (WithBorder) board.MakeSearchMove(c); else board.MakeMove(c);
            }
            for (auto c = games[g].rbegin(); c != games[g].rend(); ++c) {
                if constexpr (WithBorder) board.MakeSearchMove(*c); else board.MakeMove(*c);
            }
            pairs += static_cast<std::int64_t>(games[g].size());
            benchmark::DoNotOptimize(board.hashKey);
        }
    }
    state.SetItemsProcessed(pairs);
}
BENCHMARK(BM_ReplayGames<false>)->Name("BM_MakeMoveReplayPair");
BENCHMARK(BM_ReplayGames<true>)->Name("BM_MakeSearchMoveReplayPair");

}  // namespace
}  // namespace zomar

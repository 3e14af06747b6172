// The swap2 opening. The manager sends "swap2board", the stones placed so far
// (black, white, black, ...) and "done":
//   no stone     the engine places three stones ("x,y x,y x,y"), as balanced as
//                it can find them, for the opponent to choose from;
//   three stones "swap" (it takes black), one white stone (it stays white), or
//                a white and a black stone that leave the choice to the opponent;
//   five stones  "swap" or the sixth stone, white's.
// Every choice compares values of the engine's own search, white to move in
// each judged position, within the move's time.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/ForbiddenPoint.h"
#include "analysis/MoveGeneration.h"
#include "analysis/RenjuRestriction.h"
#include "analysis/Score.h"
#include "board/Geometry.h"
#include "search/ABPNSEngine.h"
#include "util/NumberParsing.h"

namespace zomar {

namespace {

// White's value, white to move, where black and white score alike, after
// three and after five stones. Fitted (logistic) to self-play games at 200 ms
// a move, each position valued as here: 164 games from three-stone positions
// (black's second stone up to six points from the centre), and the 349
// five-stone positions that swap2 games of the engine against itself led to.
// The evaluation rates the side to move well below its opponent, so an even
// game is far below 0.
constexpr std::int32_t EvenAfterThree = -113;
constexpr std::int32_t EvenAfterFive = -119;
// Beyond this distance from even one side is clearly ahead: on the fitted
// curves it scores about three games in four.
constexpr std::int32_t ClearAdvantage = 6;
// Black's second stone of a proposed triple lies within this many points of
// the centre: the compact shapes favour black, the looser ones white.
constexpr std::int32_t TripleReach = 4;
// White's fourth and black's fifth stone of a balancing pair come from the
// first moves of each side's list. White's best four alone leave too few
// pairs that favour black: the pair nearest even then mostly favours white
// (black scored 24-30 % in swap2 games of the engine against itself, under
// renju too; with eight, 49 % in 200 games and 47.5 % under renju).
constexpr std::uint32_t WhiteCandidates = 8;
constexpr std::uint32_t BlackCandidates = 4;
// The first look at three stones takes this share of the move's time; the
// balancing pair, when it is close, the rest.
constexpr std::int32_t FirstLookShare = 3;
constexpr std::uint32_t FirstDepth = 2;

constexpr std::int32_t Unjudged = SCORE_WIN;

struct Judgement {
    std::int32_t value = 0;  // for white, to move
    Coord move = 0;          // white's best
};

// How far a value lies from an even game.
std::int32_t Imbalance(std::int32_t value, std::int32_t even) {
    if (value == SCORE_UNKNOWN || value == SCORE_WIN || value == SCORE_LOSS) return Unjudged;
    return std::abs(value - even);
}

// "x,y x,y ..."
std::string PointsText(std::span<const Coord> points) {
    std::string text;
    for (const Coord c : points) {
        if (!text.empty()) text += ' ';
        text += std::to_string(c % boardWidth);
        text += ',';
        text += std::to_string(c / boardWidth);
    }
    return text;
}

std::string PointText(Coord c) {
    return PointsText(std::span<const Coord>(&c, 1));
}

// Searches positions made of the game board and a few stones more, each to one
// depth, until the move's deadline.
class Judge {
public:
    Judge(ABPNSEngine& engine, std::int32_t budgetMs) : engine(engine) { deadline.SetDeadline(budgetMs); }

    bool TimeLeft() { return deadline.ElapsedMs() < 0; }

    // The deepest search that stays on the board and within max_depth.
    std::uint32_t DepthCap(std::size_t extraStones) const {
        const std::int64_t room = static_cast<std::int64_t>(boardArea) - 1 -
                                  static_cast<std::int64_t>(engine.gameBoard->moveCount + extraStones);
        const std::int64_t cap =
            engine.limits.maxDepth > 0 ? std::min<std::int64_t>(room, engine.limits.maxDepth) : room;
        return static_cast<std::uint32_t>(std::max<std::int64_t>(cap, 0));
    }

    // SCORE_UNKNOWN as the value when the deadline `stop` came first, or when
    // black would place a stone on a point renju forbids it.
    Judgement At(std::span<const Coord> extra, std::uint32_t depth, const MsTimer& stop) {
        std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(*engine.gameBoard);
        for (const Coord c : extra) {
            if (board->ToMoveColour() == Colour1 && IsRenjuRule() && IsForbiddenPoint(*board, c, Colour1)) {
                return {SCORE_UNKNOWN, c};
            }
            board->MakeSearchMove(c);
        }
        FollowRenjuBlack(*board);
        const std::int32_t status = GenerateSearchMoves(*board, 0);
        if (board->candidateCount == 0) return {0, static_cast<Coord>(boardArea)};
        Judgement judged{status, board->candidateList[0]};
        if (status == SCORE_WIN || status == SCORE_LOSS) return judged;
        MsTimer timer = stop;
        TreeSearch search(*engine.transpositionTable, engine.counters, {}, engine.limits);
        const SearchResult result = search.SearchRoot(*board, static_cast<std::int32_t>(depth), timer);
        if (timer.ElapsedMs() >= 0) return {SCORE_UNKNOWN, judged.move};
        if (result.move < boardArea && board->stone[result.move] == EmptyCell) judged.move = result.move;
        judged.value = result.value;
        return judged;
    }

    // Deeper and deeper until a deeper search would not end within shareMs;
    // the first depth may take all the time left. The static score is no
    // fallback: it is not on the scale of searched values.
    Judgement Deepening(std::span<const Coord> extra, std::int32_t shareMs) {
        MsTimer share;
        share.SetDeadline(std::min(shareMs, -deadline.ElapsedMs()));
        Judgement best{SCORE_UNKNOWN, 0};
        std::int32_t started = share.ElapsedMs();
        for (std::uint32_t depth = FirstDepth; depth <= DepthCap(extra.size()); ++depth) {
            const Judgement deeper = At(extra, depth, depth == FirstDepth ? deadline : share);
            if (depth == FirstDepth) best.move = deeper.move;
            if (deeper.value == SCORE_UNKNOWN) break;
            best = deeper;
            lastDepth = depth;
            if (best.value == SCORE_WIN || best.value == SCORE_LOSS) break;
            const std::int32_t now = share.ElapsedMs();
            if (2 * static_cast<std::int64_t>(now) + (now - started) >= 0) break;
            started = now;
        }
        return best;
    }

    // Of the options (stones added to the game board), the one whose position
    // is nearest an even game: every option is searched to depth 2, the better
    // half of them one ply deeper, and so on while time is left.
    std::vector<Coord> MostBalanced(std::vector<std::vector<Coord>> options, std::int32_t even) {
        struct Ranked {
            std::int32_t imbalance;
            std::int32_t value;
            std::vector<Coord> stones;
        };
        std::vector<Ranked> ranked;
        for (std::vector<Coord>& stones : options) ranked.push_back({Unjudged, SCORE_UNKNOWN, std::move(stones)});
        const std::uint32_t cap = ranked.empty() ? 0 : DepthCap(ranked.front().stones.size());
        for (std::uint32_t depth = FirstDepth; depth <= cap; ++depth) {
            std::vector<Ranked> judged;
            for (const Ranked& option : ranked) {
                const Judgement j = At(option.stones, depth, deadline);
                if (j.value == SCORE_UNKNOWN && !TimeLeft()) break;
                judged.push_back({Imbalance(j.value, even), j.value, option.stones});
            }
            if (judged.empty()) break;
            std::stable_sort(judged.begin(), judged.end(),
                             [](const Ranked& a, const Ranked& b) { return a.imbalance < b.imbalance; });
            const bool complete = judged.size() == ranked.size();
            ranked = std::move(judged);
            lastDepth = depth;
            if (!complete || ranked.size() == 1) break;
            ranked.resize((ranked.size() + 1) / 2);
        }
        if (ranked.empty()) return {};
        lastValue = ranked.front().value;
        return ranked.front().stones;
    }

    // The first moves of the side to move after `extra`, without black's
    // forbidden points.
    std::vector<Coord> FirstMoves(std::span<const Coord> extra, std::uint32_t count) const {
        std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(*engine.gameBoard);
        for (const Coord c : extra) board->MakeSearchMove(c);
        FollowRenjuBlack(*board);
        GenerateSearchMoves(*board, 0);
        std::vector<Coord> moves;
        for (std::uint32_t i = 0; i < board->candidateCount && moves.size() < count; ++i) {
            moves.push_back(board->candidateList[i]);
        }
        return moves;
    }

    // The depth and value of the last search that decided.
    std::uint32_t lastDepth = 0;
    std::int32_t lastValue = 0;

private:
    ABPNSEngine& engine;
    MsTimer deadline;
};

// Black at the centre, white beside it straight or diagonally, black's second
// stone anywhere within TripleReach of the centre: each shape once, up to the
// mirror image that keeps the first two stones in place.
std::vector<std::vector<Coord>> CentreTriples() {
    const std::int32_t cx = static_cast<std::int32_t>(boardWidth / 2);
    const std::int32_t cy = static_cast<std::int32_t>(boardHeight / 2);
    const auto onBoard = [](std::int32_t x, std::int32_t y) {
        return x >= 0 && y >= 0 && x < static_cast<std::int32_t>(boardWidth) &&
               y < static_cast<std::int32_t>(boardHeight);
    };
    std::vector<std::vector<Coord>> triples;
    for (const bool diagonal : {false, true}) {
        const std::int32_t wx = diagonal ? 1 : 0;
        const std::int32_t wy = -1;
        if (!onBoard(cx + wx, cy + wy)) continue;
        for (std::int32_t dy = -TripleReach; dy <= TripleReach; ++dy) {
            for (std::int32_t dx = -TripleReach; dx <= TripleReach; ++dx) {
                if ((dx == 0 && dy == 0) || (dx == wx && dy == wy) || !onBoard(cx + dx, cy + dy)) continue;
                // The mirror keeping both stones: x -> -x straight, (x, y) -> (-y, -x) diagonally.
                const std::int32_t mx = diagonal ? -dy : -dx;
                const std::int32_t my = diagonal ? -dx : dy;
                if (std::pair(my, mx) < std::pair(dy, dx) && onBoard(cx + mx, cy + my)) continue;
                triples.push_back(
                    {CoordFromXY(static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy)),
                     CoordFromXY(static_cast<std::uint32_t>(cx + wx), static_cast<std::uint32_t>(cy + wy)),
                     CoordFromXY(static_cast<std::uint32_t>(cx + dx), static_cast<std::uint32_t>(cy + dy))});
            }
        }
    }
    return triples;
}

}  // namespace

bool ABPNSEngine::TakesSwap2Line(const std::string& command) {
    if (command == "swap2board") {
        swap2Stones.emplace();
        return true;
    }
    if (!swap2Stones) return false;
    if (command == "done") {
        const std::vector<BoardStone> stones = std::move(*swap2Stones);
        swap2Stones.reset();
        AnswerSwap2(stones);
        return true;
    }
    BoardStone stone = {0, 0, 0};
    if (ScanUnsigneds(currentLine, stone.data(), 3) < 2) return false;
    swap2Stones->push_back(stone);
    return true;
}

void ABPNSEngine::AnswerSwap2(const std::vector<BoardStone>& stones) {
    const TimeBudget budget = BudgetWithTable();
    NewBoard();
    for (const BoardStone& stone : stones) {
        const Coord c = CoordFromXY(stone[0], stone[1]);
        if (gameBoard->stone[c] != EmptyCell) {
            SendError("Occupied point " + std::to_string(stone[0]) + "," + std::to_string(stone[1]));
            NewBoard();
            return;
        }
        gameBoard->MakeMove(c);
    }
    Judge judge(*this, budget.softLimit);
    const auto report = [&](const char* what, std::int32_t value) {
        SendLine("DEBUG swap2 " + std::string(what) + " depth " + std::to_string(judge.lastDepth) + " value " +
                 std::to_string(value));
    };
    std::string answer;
    if (stones.empty()) {
        answer = PointsText(judge.MostBalanced(CentreTriples(), EvenAfterThree));
        report("three", judge.lastValue);
    } else if (stones.size() == 3) {
        const Judgement white = judge.Deepening({}, budget.softLimit / FirstLookShare);
        report("white", white.value);
        // Without a value the engine takes black, the side ahead on average.
        if (white.value == SCORE_UNKNOWN || white.value <= EvenAfterThree - ClearAdvantage) {
            answer = "SWAP";
        } else if (white.value >= EvenAfterThree + ClearAdvantage) {
            answer = PointText(white.move);
        } else {
            std::vector<std::vector<Coord>> pairs;
            for (const Coord w : judge.FirstMoves({}, WhiteCandidates)) {
                const std::array<Coord, 1> four = {w};
                for (const Coord b : judge.FirstMoves(four, BlackCandidates)) pairs.push_back({w, b});
            }
            const std::vector<Coord> pair = judge.MostBalanced(std::move(pairs), EvenAfterFive);
            report("two", judge.lastValue);
            answer = pair.size() == 2               ? PointsText(pair)
                     : white.value < EvenAfterThree ? "SWAP"
                                                    : PointText(white.move);
        }
    } else if (stones.size() == 5) {
        const Judgement white = judge.Deepening({}, budget.softLimit);
        report("white", white.value);
        answer = white.value == SCORE_UNKNOWN || white.value < EvenAfterFive ? "SWAP" : PointText(white.move);
    } else {
        SendError("SWAP2BOARD takes 0, 3 or 5 stones, not " + std::to_string(stones.size()));
        NewBoard();
        return;
    }
    NewBoard();
    SendLine(answer);
}

}  // namespace zomar

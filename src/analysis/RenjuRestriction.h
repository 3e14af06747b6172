#pragma once

#include <cstdint>

#include "analysis/PatternTables.h"
#include "board/ListBoard.h"

namespace zomar {

// Renju (rule bit 4): black may not play its forbidden points; renjuBlack
// (PatternTables.h) names black's colour on the boards being analysed.

bool IsRenjuRule();
// Black is the side with more stones, or the side to move when both have as
// many (0 unless renju).
int RenjuBlackOf(const GameRecord& board);
// Sets renjuBlack to RenjuBlackOf(board) for the boards of one search.
void FollowRenjuBlack(const GameRecord& board);

// Corrects a threat evaluation of `mode` for black to move: forbidden points
// leave the candidate list; a win resting on one is no longer claimed; a five
// point of white's that black cannot block, or forced defences that are all
// forbidden, lose. A full evaluation that is left without a move gets black's
// strongest allowed points next to a stone instead. Entries before `checked`
// are known to be allowed.
std::int32_t RestrictToAllowedPoints(ListBoard& board, int mode, std::int32_t status, std::uint32_t checked = 0);

// White's points, strongest category first, that make a four black cannot
// block because every five point is forbidden for black: up to `room` of them
// to points; how many.
int UnblockableFours(const ListBoard& board, Coord* points, int room);
// White to move: the first of them; boardArea when there is none.
Coord UnblockableFour(const ListBoard& board);

// Black's forbidden points are no threats of black's: from point p of one of
// colour's category lists on, the first point that is not one (the list end
// when none is left).
std::uint32_t SkipForbiddenPoints(const ListBoard& board, std::uint32_t p);
inline std::uint32_t SkipForbiddenThreats(const ListBoard& board, int colour, std::uint32_t p) {
    return colour == renjuBlack ? SkipForbiddenPoints(board, p) : p;
}

// Black's category counts without its forbidden points in the lists that call
// for an answer (straight fours, four-threes, double threes). Its plain four
// points stay counted: they only hold back white's own claims, and their lists
// are long.
void CountAllowedThreats(const ListBoard& board, std::int16_t (&counts)[CategoryCount]);

// Adds black's forbidden points to `counts` by point category, for the
// categories of two threats at once: those that weigh in the score.
void CountForbiddenThreats(const ListBoard& board, std::int16_t (&counts)[CategoryCount]);

}  // namespace zomar

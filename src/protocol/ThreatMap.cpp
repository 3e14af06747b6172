#include "protocol/ThreatMap.h"

#include <cstdio>

#include "analysis/ForbiddenPoint.h"
#include "analysis/RenjuRestriction.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

char CategoryLetter(ThreatCategory category, bool forbidden) {
    const ThreatCategory shown = category < CategoryCount ? category : ThreatCategory{Impossible};
    return static_cast<char>((forbidden ? 'A' : 'a') + shown);
}

}  // namespace

std::string ThreatMapLine(const ListBoard& board, int ownColour) {
    const int otherColour = 3 - ownColour;
    const int black = RenjuBlackOf(board);
    std::string line = "THREATS ";
    line.reserve(line.size() + 2 * board.Area());
    for (std::uint32_t p = 0; p < board.Area(); ++p) {
        if (board.stone[p] != 0) {
            line += "--";
            continue;
        }
        const bool forbidden = black != 0 && IsForbiddenPoint(board, static_cast<Coord>(p), black);
        line += CategoryLetter(board.PointCategoryOf(ownColour, p), forbidden && ownColour == black);
        line += CategoryLetter(board.PointCategoryOf(otherColour, p), forbidden && otherColour == black);
    }
    return line;
}

std::string ForbiddenPointsLine(const ListBoard& board) {
    std::string line = "FORBID ";
    const int black = RenjuBlackOf(board);
    if (black != 0 && black == board.ToMoveColour()) {
        for (std::uint32_t p = 0; p < board.Area(); ++p) {
            if (board.stone[p] != 0 || !IsForbiddenPoint(board, static_cast<Coord>(p), black)) continue;
            char point[24];
            std::snprintf(point, sizeof point, "%02u%02u", p % boardWidth, p / boardWidth);
            line += point;
        }
    }
    return line + ".";
}

}  // namespace zomar

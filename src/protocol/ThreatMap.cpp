#include "protocol/ThreatMap.h"

namespace zomar {

namespace {

char CategoryLetter(ThreatCategory category) {
    const ThreatCategory shown = category < CategoryCount ? category : ThreatCategory{Impossible};
    return static_cast<char>('a' + shown);
}

}  // namespace

std::string ThreatMapLine(const ListBoard& board, int ownColour) {
    const int otherColour = 3 - ownColour;
    std::string line = "THREATS ";
    line.reserve(line.size() + 2 * board.Area());
    for (std::uint32_t p = 0; p < board.Area(); ++p) {
        if (board.stone[p] != 0) {
            line += "--";
            continue;
        }
        line += CategoryLetter(board.PointCategoryOf(ownColour, p));
        line += CategoryLetter(board.PointCategoryOf(otherColour, p));
    }
    return line;
}

}  // namespace zomar

#include "referee/GameRules.h"

namespace zomar::referee {

Stone Opponent(Stone colour) {
    return colour == Stone::Black ? Stone::White : Stone::Black;
}

const char* ColourName(Stone colour) {
    return colour == Stone::Black ? "black" : colour == Stone::White ? "white" : "nobody";
}

GameBoard::GameBoard(int width, int height, int rule)
    : width(width), height(height), exactlyFive((rule & 1) != 0),
      cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Stone::Empty) {}

bool GameBoard::IsOnBoard(Point point) const {
    return point.x >= 0 && point.y >= 0 && point.x < width && point.y < height;
}

Stone GameBoard::At(Point point) const {
    return cells[static_cast<std::size_t>(point.y) * width + point.x];
}

Placement GameBoard::Place(Point point, Stone colour) {
    if (!IsOnBoard(point)) return Placement::OffBoard;
    if (At(point) != Stone::Empty) return Placement::Occupied;
    cells[static_cast<std::size_t>(point.y) * width + point.x] = colour;
    ++stoneCount;
    return CompletesFive(point, colour) ? Placement::Five : Placement::Placed;
}

bool GameBoard::CompletesFive(Point point, Stone colour) const {
    static constexpr int Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    for (const auto& d : Directions) {
        const int run = 1 + RunLength(point, d[0], d[1], colour) + RunLength(point, -d[0], -d[1], colour);
        if (exactlyFive ? run == 5 : run >= 5) return true;
    }
    return false;
}

// Stones of `colour` next to `from` in one direction, `from` excluded.
int GameBoard::RunLength(Point from, int dx, int dy, Stone colour) const {
    int run = 0;
    for (Point p {from.x + dx, from.y + dy}; IsOnBoard(p) && At(p) == colour; p = {p.x + dx, p.y + dy}) ++run;
    return run;
}

}  // namespace zomar::referee

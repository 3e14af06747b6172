#include "referee/GameRules.h"

#include "referee/CaroJudge.h"
#include "referee/RenjuJudge.h"

namespace zomar::referee {

Stone Opponent(Stone colour) {
    return colour == Stone::Black ? Stone::White : Stone::Black;
}

const char* ColourName(Stone colour) {
    return colour == Stone::Black ? "black" : colour == Stone::White ? "white" : "nobody";
}

GameBoard::GameBoard(int width, int height, int rule)
    : width(width), height(height), exactlyFive((rule & 1) != 0),
      renju((rule & 4) != 0 ? std::make_unique<RenjuJudge>(width, height) : nullptr),
      caro((rule & 8) != 0 ? std::make_unique<CaroJudge>(exactlyFive) : nullptr),
      cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Stone::Empty) {}

GameBoard::~GameBoard() = default;

bool GameBoard::IsOnBoard(Point point) const {
    return point.x >= 0 && point.y >= 0 && point.x < width && point.y < height;
}

Stone GameBoard::At(Point point) const {
    return cells[static_cast<std::size_t>(point.y) * width + point.x];
}

Placement GameBoard::Place(Point point, Stone colour) {
    if (!IsOnBoard(point)) return Placement::OffBoard;
    if (At(point) != Stone::Empty) return Placement::Occupied;
    if (renju) {
        if (colour == Stone::Black && renju->IsForbidden(point)) return Placement::Forbidden;
        renju->Set(point, colour);
    }
    cells[static_cast<std::size_t>(point.y) * width + point.x] = colour;
    ++stoneCount;
    return CompletesFive(point, colour) ? Placement::Five : Placement::Placed;
}

bool GameBoard::CompletesFive(Point point, Stone colour) const {
    static constexpr int Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    for (const auto& d : Directions) {
        if (caro) {
            if (CaroRowWins(point, d[0], d[1], colour)) return true;
            continue;
        }
        const int run = 1 + RunLength(point, d[0], d[1], colour) + RunLength(point, -d[0], -d[1], colour);
        const bool exact = exactlyFive || (renju && colour == Stone::Black);
        if (exact ? run == 5 : run >= 5) return true;
    }
    return false;
}

// Stones of `colour` next to `from` in one direction, `from` excluded.
int GameBoard::RunLength(Point from, int dx, int dy, Stone colour) const {
    int run = 0;
    for (Point p {from.x + dx, from.y + dy}; IsOnBoard(p) && At(p) == colour; p = {p.x + dx, p.y + dy}) ++run;
    return run;
}

// The whole line through `point` along (dx, dy), as the caro judge reads it.
bool GameBoard::CaroRowWins(Point point, int dx, int dy, Stone colour) const {
    Point start = point;
    while (IsOnBoard({start.x - dx, start.y - dy})) start = {start.x - dx, start.y - dy};
    std::vector<CaroJudge::Cell> line;
    int at = 0;
    for (Point p = start; IsOnBoard(p); p = {p.x + dx, p.y + dy}) {
        if (p == point) at = static_cast<int>(line.size());
        const Stone stone = At(p);
        line.push_back(stone == Stone::Empty ? CaroJudge::Cell::Empty
                       : stone == colour     ? CaroJudge::Cell::Own
                                             : CaroJudge::Cell::Opponent);
    }
    return caro->Wins(line, at);
}

}  // namespace zomar::referee

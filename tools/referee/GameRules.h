#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zomar::referee {

enum class Stone : std::uint8_t { Empty = 0, Black = 1, White = 2 };

Stone Opponent(Stone colour);
const char* ColourName(Stone colour);

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// What placing one stone did. Forbidden: a black move renju forbids (it loses).
enum class Placement { Placed, Five, OffBoard, Occupied, Forbidden };

class RenjuJudge;
class CaroJudge;

// The referee's own board: judges every move independently of the brains.
// Rule bit 1 (exactly five) makes six or more in a row no win; bit 4 (renju)
// makes black win with exactly five only and forbids black's double threes,
// double fours and overlines, while white wins with five or more; bit 8 (caro)
// hands the question of a win to CaroJudge.
class GameBoard {
public:
    GameBoard(int width, int height, int rule);
    ~GameBoard();

    Placement Place(Point point, Stone colour);

    bool IsOnBoard(Point point) const;
    Stone At(Point point) const;
    bool IsFull() const { return stoneCount == width * height; }
    int StoneCount() const { return stoneCount; }
    int Width() const { return width; }
    int Height() const { return height; }

private:
    bool CompletesFive(Point point, Stone colour) const;
    int RunLength(Point from, int dx, int dy, Stone colour) const;
    bool CaroRowWins(Point point, int dx, int dy, Stone colour) const;

    int width;
    int height;
    bool exactlyFive;
    std::unique_ptr<RenjuJudge> renju;  // null unless rule bit 4
    std::unique_ptr<CaroJudge> caro;    // null unless rule bit 8
    std::vector<Stone> cells;
    int stoneCount = 0;
};

}  // namespace zomar::referee

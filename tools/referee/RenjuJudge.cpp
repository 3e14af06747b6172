#include "referee/RenjuJudge.h"

#include <algorithm>
#include <cstdlib>

namespace zomar::referee {

namespace {

constexpr int Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

Point Step(Point p, int k, int dx, int dy) { return {p.x + k * dx, p.y + k * dy}; }

// Two five points five steps apart hold a straight four between them.
bool IsStraightPair(const std::vector<Point>& points) {
    return points.size() == 2 && std::max(std::abs(points[1].x - points[0].x), std::abs(points[1].y - points[0].y)) == 5;
}

}  // namespace

RenjuJudge::RenjuJudge(int width, int height)
    : width(width), height(height), cells(static_cast<std::size_t>(width) * height, Stone::Empty) {}

bool RenjuJudge::IsOnBoard(Point point) const {
    return point.x >= 0 && point.y >= 0 && point.x < width && point.y < height;
}

Stone RenjuJudge::At(Point point) const {
    return IsOnBoard(point) ? cells[static_cast<std::size_t>(point.y) * width + point.x] : Stone::Empty;
}

void RenjuJudge::Set(Point point, Stone stone) {
    cells[static_cast<std::size_t>(point.y) * width + point.x] = stone;
}

int RenjuJudge::Run(Point point, int dx, int dy) const {
    int run = 1;
    for (int k = 1; IsOnBoard(Step(point, k, dx, dy)) && At(Step(point, k, dx, dy)) == Stone::Black; ++k) ++run;
    for (int k = 1; IsOnBoard(Step(point, -k, dx, dy)) && At(Step(point, -k, dx, dy)) == Stone::Black; ++k) ++run;
    return run;
}

bool RenjuJudge::FiveAlong(Point point, int dx, int dy) const { return Run(point, dx, dy) == 5; }

bool RenjuJudge::MakesExactFive(Point point) {
    Set(point, Stone::Black);
    bool five = false;
    for (const auto& d : Directions) five = five || FiveAlong(point, d[0], d[1]);
    Set(point, Stone::Empty);
    return five;
}

std::vector<Point> RenjuJudge::FivePoints(Point point, int dx, int dy) {
    std::vector<Point> points;
    for (int k = -4; k <= 4; ++k) {
        const Point q = Step(point, k, dx, dy);
        if (k == 0 || !IsOnBoard(q) || At(q) != Stone::Empty) continue;
        Set(q, Stone::Black);
        // The five must hold `point`: q joins its run when every cell
        // between them is black.
        const int lo = std::min(0, k);
        const int hi = std::max(0, k);
        bool joined = true;
        for (int i = lo; i <= hi; ++i) joined = joined && At(Step(point, i, dx, dy)) == Stone::Black;
        if (joined && FiveAlong(q, dx, dy)) points.push_back(q);
        Set(q, Stone::Empty);
    }
    return points;
}

// Two five points with four black stones between them and nothing else are one
// straight four; every other five point is a four of its own.
int RenjuJudge::FoursAlong(Point point, int dx, int dy) {
    const std::vector<Point> points = FivePoints(point, dx, dy);
    return IsStraightPair(points) ? 1 : static_cast<int>(points.size());
}

bool RenjuJudge::IsStraightFourAlong(Point point, int dx, int dy) {
    return IsStraightPair(FivePoints(point, dx, dy));
}

bool RenjuJudge::IsThreeAlong(Point point, int dx, int dy) {
    for (int k = -4; k <= 4; ++k) {
        const Point q = Step(point, k, dx, dy);
        if (k == 0 || !IsOnBoard(q) || At(q) != Stone::Empty) continue;
        Set(q, Stone::Black);
        const bool straight = IsStraightFourAlong(point, dx, dy);
        Set(q, Stone::Empty);
        if (straight && !IsForbidden(q)) return true;
    }
    return false;
}

bool RenjuJudge::IsForbidden(Point point) {
    if (MakesExactFive(point)) return false;
    Set(point, Stone::Black);
    int fours = 0;
    int threes = 0;
    bool overline = false;
    for (const auto& d : Directions) {
        if (Run(point, d[0], d[1]) > 5) {
            overline = true;
            break;
        }
        const int lineFours = FoursAlong(point, d[0], d[1]);
        fours += lineFours;
        if (lineFours == 0 && IsThreeAlong(point, d[0], d[1])) ++threes;
    }
    Set(point, Stone::Empty);
    return overline || fours >= 2 || threes >= 2;
}

}  // namespace zomar::referee

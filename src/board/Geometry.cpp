#include "board/Geometry.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace zomar {

std::uint32_t boardWidth = 0;
std::uint32_t boardHeight = 0;
std::uint32_t boardArea = 0;
std::int32_t directionStep[DirectionCount] = {};

std::unique_ptr<LineRelation[]> lineRelation;
std::unique_ptr<std::int32_t[]> offsetKey;
const LineRelation* lineRelationAtZero = nullptr;
std::unique_ptr<std::uint16_t[]> neighbourList;
std::unique_ptr<std::uint16_t[]> lineNeighbourList;
std::unique_ptr<std::uint64_t[]> zobristKey;

namespace {

constexpr int MinNeighbours = 3;
constexpr int LineNeighbourReach = 4;

// How q lies from p when q is dx columns and dy rows away: the first of
// column, row, diagonal and anti-diagonal that holds decides, and the distance
// is negative exactly when q comes before p in index order.
LineRelation ClassifyOffset(int dx, int dy) {
    if (dx == 0 && dy == 0) return {0, SamePoint};
    int direction = NoCommonLine;
    int steps = 0;
    if (dx == 0) {
        direction = Vertical, steps = std::abs(dy);
    } else if (dy == 0) {
        direction = Horizontal, steps = std::abs(dx);
    } else if (dy == dx) {
        direction = Diagonal, steps = std::abs(dx);
    } else if (dx == -dy) {
        direction = AntiDiagonal, steps = std::abs(dy);
    } else {
        return {NoLineDistance, NoCommonLine};
    }
    if (dx + dy * static_cast<int>(boardWidth) < 0) steps = -steps;
    return {static_cast<std::int8_t>(steps), static_cast<std::int8_t>(direction)};
}

void BuildLineRelations() {
    if (boardArea == 0) return;
    const int w = static_cast<int>(boardWidth);
    const int h = static_cast<int>(boardHeight);
    const int columns = 2 * w - 1;
    lineRelation.reset(new LineRelation[static_cast<std::size_t>(columns) * (2 * h - 1)]);
    for (int dy = 1 - h; dy < h; ++dy) {
        for (int dx = 1 - w; dx < w; ++dx) {
            lineRelation[static_cast<std::size_t>((dy + h - 1) * columns + dx + w - 1)] = ClassifyOffset(dx, dy);
        }
    }
    lineRelationAtZero = &lineRelation[static_cast<std::size_t>((h - 1) * columns + w - 1)];
    offsetKey.reset(new std::int32_t[boardArea]);
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        offsetKey[p] = static_cast<std::int32_t>(p / boardWidth) * columns + static_cast<std::int32_t>(p % boardWidth);
    }
}

// The index window that holds every point within `reach` steps of p in any
// direction; scanning it in ascending order lists those points in index order.
struct IndexWindow {
    std::uint32_t first;
    std::uint32_t last;  // exclusive
};
IndexWindow WindowAround(std::uint32_t p, std::uint32_t reach) {
    const std::uint32_t span = reach * (boardWidth + 1);
    return {p > span ? p - span : 0, std::min(boardArea, p + span + 1)};
}

void BuildNeighbourLists() {
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        std::uint16_t* list = &neighbourList[static_cast<std::size_t>(p) * NeighbourSlots];
        int count = 0;
        const IndexWindow window = WindowAround(p, 1);
        for (std::uint32_t q = window.first; q < window.last; ++q) {
            const int k = LineDistance(p, q);
            if (k == 1 || k == -1) list[count++] = static_cast<std::uint16_t>(q);
        }
        list[count] = static_cast<std::uint16_t>(boardArea);
        if (count < MinNeighbours) throw std::runtime_error("Every coord must have at least 3 neighbours.");
    }
}

// One ascending scan per point fills its four lists, each in index order.
void BuildLineNeighbourLists() {
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        std::uint16_t* lists = &lineNeighbourList[static_cast<std::size_t>(p) * DirectionCount * NeighbourSlots];
        int count[DirectionCount] = {};
        const IndexWindow window = WindowAround(p, LineNeighbourReach);
        for (std::uint32_t q = window.first; q < window.last; ++q) {
            const LineRelation& relation = RelationOf(p, q);
            const int k = relation.distance;
            if (relation.direction < DirectionCount && k >= -LineNeighbourReach && k <= LineNeighbourReach) {
                const int d = relation.direction;
                lists[d * NeighbourSlots + count[d]++] = static_cast<std::uint16_t>(q);
            }
        }
        for (int d = 0; d < DirectionCount; ++d) lists[d * NeighbourSlots + count[d]] = static_cast<std::uint16_t>(boardArea);
    }
}

// The program's 32-bit linear congruential generator; draws are 0 .. 32767.
class KeyGenerator {
public:
    explicit KeyGenerator(std::uint32_t seed) : state(seed) {}
    std::uint32_t Draw() {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7FFFu;
    }

private:
    std::uint32_t state;
};

constexpr std::uint32_t DrawMax = 32767;

// Eight draws scaled to 0 .. 256 each, the first one the lowest byte. A draw of
// DrawMax scales to 256 and carries into the next byte.
std::uint64_t DrawKey(KeyGenerator& generator) {
    std::uint64_t key = 0;
    for (int b = 0; b < 8; ++b) {
        const std::uint64_t scaled = generator.Draw() * 256u / DrawMax;
        key += scaled << (8 * b);
    }
    return key;
}

}  // namespace

void SetBoardSize(std::uint32_t width, std::uint32_t height) {
    // Refuse before anything changes, so that a refusal leaves the globals
    // describing the tables that still exist.
    if (std::max(width, height) > MaxBoardSide) {
        throw std::runtime_error("Playing board too big, max size is " + std::to_string(MaxBoardSide));
    }
    boardWidth = width;
    boardHeight = height;
    boardArea = width * height;
    ReleaseGeometryTables();

    neighbourList.reset(new std::uint16_t[static_cast<std::size_t>(boardArea) * NeighbourSlots]);
    lineNeighbourList.reset(new std::uint16_t[static_cast<std::size_t>(boardArea) * DirectionCount * NeighbourSlots]);

    BuildLineRelations();

    const std::int32_t w = static_cast<std::int32_t>(width);
    directionStep[Horizontal] = 1;
    directionStep[Vertical] = w;
    directionStep[Diagonal] = w + 1;
    directionStep[AntiDiagonal] = w - 1;

    BuildNeighbourLists();
    BuildLineNeighbourLists();
}

void ReleaseGeometryTables() {
    lineRelation.reset();
    offsetKey.reset();
    lineRelationAtZero = nullptr;
    neighbourList.reset();
    lineNeighbourList.reset();
}

void BuildZobristKeys() {
    const std::size_t count = 2 * static_cast<std::size_t>(boardArea);
    zobristKey.reset(new std::uint64_t[count]);
    KeyGenerator generator(1);
    for (std::size_t i = 0; i < count; ++i) zobristKey[i] = DrawKey(generator);
}

void ReleaseZobristKeys() { zobristKey.reset(); }

Coord CoordFromXY(std::uint32_t x, std::uint32_t y) {
    if (x >= boardWidth) throw std::runtime_error("X coord overflow.");
    if (y >= boardHeight) throw std::runtime_error("Y coord overflow.");
    return static_cast<Coord>(x + y * boardWidth);
}

std::int32_t DirectionStep(int direction) {
    if (direction < 0 || direction >= DirectionCount) throw std::runtime_error("Invalid Direction");
    return directionStep[direction];
}

}  // namespace zomar

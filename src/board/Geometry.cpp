#include "board/Geometry.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zomar {

std::uint32_t boardWidth = 0;
std::uint32_t boardHeight = 0;
std::uint32_t boardArea = 0;
std::int32_t directionStep[DirectionCount] = {};

std::unique_ptr<std::int8_t[]> lineDistance;
std::unique_ptr<std::int32_t[]> lineDirection;
std::unique_ptr<std::uint16_t[]> neighbourList;
std::unique_ptr<std::uint16_t[]> lineNeighbourList;
std::unique_ptr<std::uint64_t[]> zobristKey;

namespace {

// One step of each direction in columns and rows, in its positive sense.
constexpr int stepX[DirectionCount] = {1, 0, 1, -1};
constexpr int stepY[DirectionCount] = {0, 1, 1, 1};

constexpr int MinNeighbours = 3;
constexpr int LineNeighbourReach = 4;

bool IsOnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < static_cast<int>(boardWidth) && y < static_cast<int>(boardHeight);
}

// Writes row p of both pair tables. Every entry starts as "no common line";
// then the four lines through p are walked outwards in both senses, so a
// distance is positive exactly when q lies after p in index order.
void ClassifyPairsOf(std::uint32_t p) {
    const std::size_t row = static_cast<std::size_t>(p) * boardArea;
    std::int8_t* distance = &lineDistance[row];
    std::int32_t* direction = &lineDirection[row];
    std::fill_n(distance, boardArea, NoLineDistance);
    std::fill_n(direction, boardArea, NoCommonLine);
    distance[p] = 0;
    direction[p] = SamePoint;

    const int x = static_cast<int>(p % boardWidth);
    const int y = static_cast<int>(p / boardWidth);
    for (int d = 0; d < DirectionCount; ++d) {
        for (int sense : {1, -1}) {
            for (int k = 1;; ++k) {
                const int qx = x + sense * k * stepX[d];
                const int qy = y + sense * k * stepY[d];
                if (!IsOnBoard(qx, qy)) break;
                const std::uint32_t q = static_cast<std::uint32_t>(qx + qy * static_cast<int>(boardWidth));
                distance[q] = static_cast<std::int8_t>(sense * k);
                direction[q] = d;
            }
        }
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

void BuildLineNeighbourLists() {
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        const IndexWindow window = WindowAround(p, LineNeighbourReach);
        for (int d = 0; d < DirectionCount; ++d) {
            std::uint16_t* list = &lineNeighbourList[(static_cast<std::size_t>(p) * DirectionCount + d) * NeighbourSlots];
            int count = 0;
            for (std::uint32_t q = window.first; q < window.last; ++q) {
                const int k = LineDistance(p, q);
                if (LineDirection(p, q) == d && k >= -LineNeighbourReach && k <= LineNeighbourReach) {
                    list[count++] = static_cast<std::uint16_t>(q);
                }
            }
            list[count] = static_cast<std::uint16_t>(boardArea);
        }
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

    const std::size_t pairs = static_cast<std::size_t>(boardArea) * boardArea;
    lineDistance.reset(new std::int8_t[pairs]);
    lineDirection.reset(new std::int32_t[pairs]);
    neighbourList.reset(new std::uint16_t[static_cast<std::size_t>(boardArea) * NeighbourSlots]);
    lineNeighbourList.reset(new std::uint16_t[static_cast<std::size_t>(boardArea) * DirectionCount * NeighbourSlots]);

    for (std::uint32_t p = 0; p < boardArea; ++p) ClassifyPairsOf(p);

    const std::int32_t w = static_cast<std::int32_t>(width);
    directionStep[Horizontal] = 1;
    directionStep[Vertical] = w;
    directionStep[Diagonal] = w + 1;
    directionStep[AntiDiagonal] = w - 1;

    BuildNeighbourLists();
    BuildLineNeighbourLists();
}

void ReleaseGeometryTables() {
    lineDistance.reset();
    lineDirection.reset();
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

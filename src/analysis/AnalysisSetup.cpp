#include "analysis/AnalysisSetup.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "analysis/PatternTables.h"
#include "board/BoardAnalysis.h"
#include "board/CategoryLinks.h"
#include "board/Geometry.h"

namespace zomar {

std::unique_ptr<LineUpdate[]> lineUpdateList;
std::unique_ptr<std::uint32_t[]> lineUpdateStart;
std::uint32_t maxRay = 0;
std::unique_ptr<std::uint8_t[]> rayLength;
std::unique_ptr<std::uint16_t[]> rayPoints;

namespace {

// Bit of the cell at signed offset k (k != 0, |k| <= HalfLength) in a sequence.
constexpr int CellBit(int k) { return k > 0 ? 2 * k + 8 : 2 * k + 10; }

// One step of each direction in columns and rows, in its positive sense.
constexpr int stepX[DirectionCount] = {1, 0, 1, -1};
constexpr int stepY[DirectionCount] = {0, 1, 1, 1};

bool IsOnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < static_cast<int>(boardWidth) && y < static_cast<int>(boardHeight);
}

// The ten cells around p along d, with 3 for every cell off the board and 0
// for every cell on it (the board is empty).
std::uint32_t EmptyBoardSequence(std::uint32_t p, int d) {
    const int x = static_cast<int>(p % boardWidth);
    const int y = static_cast<int>(p / boardWidth);
    std::uint32_t sequence = 0;
    for (int k = 1; k <= HalfLength; ++k) {
        if (!IsOnBoard(x + k * stepX[d], y + k * stepY[d])) sequence += OffBoard << CellBit(k);
        if (!IsOnBoard(x - k * stepX[d], y - k * stepY[d])) sequence += OffBoard << CellBit(-k);
    }
    return sequence;
}

struct Ray {
    int dx;
    int dy;
};
// 0 = +x within the row, 1 = +y, 2 = -x within the row, 3 = -y.
constexpr Ray rays[RayCount] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};

void BuildRays() {
    maxRay = std::max(boardWidth, boardHeight);
    if (maxRay > 0) --maxRay;
    maxRay = std::min<std::uint32_t>(maxRay, MaxRayReach);
    rayLength.reset(new std::uint8_t[static_cast<std::size_t>(RayCount) * boardArea]);
    rayPoints.reset(new std::uint16_t[static_cast<std::size_t>(RayCount) * boardArea * maxRay]());
    for (int r = 0; r < RayCount; ++r) {
        for (std::uint32_t p = 0; p < boardArea; ++p) {
            const std::size_t ray = static_cast<std::size_t>(r) * boardArea + p;
            const int x = static_cast<int>(p % boardWidth);
            const int y = static_cast<int>(p / boardWidth);
            std::uint32_t count = 0;
            for (int k = 1; k <= MaxRayReach; ++k) {
                const int qx = x + k * rays[r].dx;
                const int qy = y + k * rays[r].dy;
                if (!IsOnBoard(qx, qy)) break;
                rayPoints[ray * maxRay + count++] =
                    static_cast<std::uint16_t>(static_cast<std::uint32_t>(qx) + static_cast<std::uint32_t>(qy) * boardWidth);
            }
            rayLength[ray] = static_cast<std::uint8_t>(count);
        }
    }
}

template <typename T>
std::unique_ptr<T[]> AllocateArray(std::size_t count) {
    return std::unique_ptr<T[]>(new T[count]);
}

// Writes Q's list at `entry` and returns the slot after its end mark.
LineUpdate* WriteLineUpdates(std::uint32_t q, LineUpdate* entry) {
    // Every point sharing a line with Q lies within this index window around Q,
    // so scanning it in ascending order lists the points p in ascending order.
    const std::uint32_t span = HalfLength * (boardWidth + 1);
    const std::uint32_t first = q > span ? q - span : 0;
    const std::uint32_t last = std::min(boardArea, q + span + 1);
    for (std::uint32_t p = first; p < last; ++p) {
        const int d = LineDirection(q, p);
        if (d >= DirectionCount) continue;
        // Steps from p to Q: the pair tables are antisymmetric.
        const int k = -LineDistance(q, p);
        if (k < -HalfLength || k > HalfLength) continue;
        const auto offset = static_cast<std::int32_t>(p * DirectionCount + static_cast<std::uint32_t>(d)) -
                            static_cast<std::int32_t>(q * DirectionCount);
        *entry++ = {static_cast<std::int16_t>(offset), static_cast<std::uint8_t>(CellBit(k)),
                    static_cast<std::uint8_t>(CategoryBits * d)};
    }
    entry->sequenceOffset = UpdateListEnd;
    return entry + 1;
}

bool IsInnerPoint(std::uint32_t q) {
    const std::uint32_t x = q % boardWidth;
    const std::uint32_t y = q / boardWidth;
    return x >= HalfLength && y >= HalfLength && x + HalfLength < boardWidth && y + HalfLength < boardHeight;
}

}  // namespace

void BuildLineUpdateList() {
    lineUpdateStart.reset(new (std::nothrow) std::uint32_t[boardArea]);
    std::size_t edgePoints = 0;
    std::uint32_t inner = boardArea;
    for (std::uint32_t q = 0; q < boardArea; ++q) {
        if (!IsInnerPoint(q)) {
            ++edgePoints;
        } else if (inner == boardArea) {
            inner = q;
        }
    }
    const std::size_t lists = edgePoints + (inner < boardArea ? 1 : 0);
    lineUpdateList.reset(new (std::nothrow) LineUpdate[lists * LineUpdateSlots]);
    if (!lineUpdateList || !lineUpdateStart) throw std::runtime_error("Allocation failed.");
    LineUpdate* next = lineUpdateList.get();
    if (inner < boardArea) next = WriteLineUpdates(inner, next);
    for (std::uint32_t q = 0; q < boardArea; ++q) {
        if (IsInnerPoint(q)) {
            lineUpdateStart[q] = 0;
            continue;
        }
        lineUpdateStart[q] = static_cast<std::uint32_t>(next - lineUpdateList.get());
        next = WriteLineUpdates(q, next);
    }
}

void InitAnalysisTables() {
    BoardAI::Alloc();
    BuildRays();
}

void ReleaseAnalysisTables() {
    FreePatternTables();
    rayLength.reset();
    rayPoints.reset();
    maxRay = 0;
    ReleaseZobristKeys();
    sequenceSize = 0;
}

void InitBoardAnalysis(BoardAnalysis& board) {
    // The sequences are indexed p * 4 + d: tables built for another board size
    // would be overrun, so they count as not built.
    if (sequenceSize == 0 || sequenceSize != DirectionCount * boardArea) {
        throw std::runtime_error("sequenceSize not initialized.");
    }
    const std::size_t nodes = static_cast<std::size_t>(boardArea) + CategoryCount;
    board.sequence = AllocateArray<std::uint32_t>(sequenceSize);
    board.packedCategories = AllocateArray<std::uint64_t>(boardArea);
    board.categoryLinks = AllocateArray<BoardAnalysis::LinkNode>(nodes);
    for (int colour : {Colour1, Colour2}) {
        for (int c = 0; c < CategoryCount; ++c) ColourLinks(board, colour).Clear(boardArea + c);
        std::fill(std::begin(board.categoryCount[colour]), std::end(board.categoryCount[colour]), 0);
    }

    for (std::uint32_t p = 0; p < boardArea; ++p) {
        std::uint32_t packed[3] = {};
        for (int d = 0; d < DirectionCount; ++d) {
            const std::uint32_t sequence = EmptyBoardSequence(p, d);
            board.sequence[p * DirectionCount + d] = sequence;
            for (int colour : {Colour1, Colour2}) {
                packed[colour] |= static_cast<std::uint32_t>(LineCategory(colour, sequence)) << (CategoryBits * d);
            }
        }
        for (int colour : {Colour1, Colour2}) {
            board.SetPacked(colour, p, packed[colour]);
            const ThreatCategory category = PointCategory(packed[colour]);
            if (category >= CategoryCount) throw std::runtime_error("Category overflow.");
            ++board.categoryCount[colour][category];
            ColourLinks(board, colour).InsertAfter(boardArea + category, p);
        }
    }
}

}  // namespace zomar

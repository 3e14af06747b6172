#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/BoardAnalysis.h"
#include "board/Geometry.h"
#include "support/ErrorOf.h"

namespace zomar {
namespace {

using test::ErrorOf;

using ::testing::ElementsAre;

std::uint32_t At(int x, int y) { return static_cast<std::uint32_t>(x) + static_cast<std::uint32_t>(y) * boardWidth; }

// The line word of p along d written out cell by cell from coordinates, for a
// board whose stones are given per point (0 empty, 1, 2).
std::uint32_t ReferenceSequence(std::uint32_t p, int d, const std::vector<int>& stones) {
    static constexpr int dx[DirectionCount] = {1, 0, 1, -1};
    static constexpr int dy[DirectionCount] = {0, 1, 1, 1};
    const int x = static_cast<int>(p % boardWidth), y = static_cast<int>(p / boardWidth);
    std::uint32_t sequence = 0;
    for (int k = -5; k <= 5; ++k) {
        if (k == 0) continue;
        const int cx = x + k * dx[d], cy = y + k * dy[d];
        const bool on = cx >= 0 && cy >= 0 && cx < static_cast<int>(boardWidth) && cy < static_cast<int>(boardHeight);
        const std::uint32_t cell = on ? static_cast<std::uint32_t>(stones[At(cx, cy)]) : 3u;
        const int bit = k < 0 ? 10 + 2 * k : 8 + 2 * k;
        sequence |= cell << bit;
    }
    return sequence;
}

struct UpdateEntry {
    std::uint32_t sequenceIndex;
    std::uint32_t bit;
    std::uint32_t shift;
};

std::vector<UpdateEntry> UpdateEntriesOf(std::uint32_t q) {
    std::vector<UpdateEntry> entries;
    for (const LineUpdate* slot = LineUpdatesOf(q); slot->sequenceOffset != UpdateListEnd; ++slot) {
        entries.push_back({q * 4 + static_cast<std::uint32_t>(slot->sequenceOffset), 1u << slot->cellBit, slot->shift});
    }
    EXPECT_LE(entries.size(), 40u);
    return entries;
}

std::vector<std::uint32_t> RayOf(int r, std::uint32_t p) {
    const std::size_t ray = static_cast<std::size_t>(r) * boardArea + p;
    return {&rayPoints[ray * maxRay], &rayPoints[ray * maxRay] + rayLength[ray]};
}

// Walks one colour's list of a category from its head, backwards (oldest first).
std::vector<std::uint32_t> ListOldestFirst(const BoardAnalysis& board, int colour, int category) {
    std::vector<std::uint32_t> points;
    const std::uint32_t head = boardArea + category;
    for (std::uint32_t p = board.Prev(colour, head); p != head; p = board.Prev(colour, p)) {
        points.push_back(p);
        if (points.size() > boardArea) break;
    }
    return points;
}

class AnalysisSetupTest : public ::testing::Test {
protected:
    void Build(std::uint32_t width, std::uint32_t height) {
        ReleaseAnalysisTables();
        SetBoardSize(width, height);
        InitAnalysisTables();
    }
    void TearDown() override { ReleaseAnalysisTables(); }
};

TEST_F(AnalysisSetupTest, UpdateListCountsSequencesThroughAPoint) {
    Build(20, 20);
    EXPECT_EQ(UpdateEntriesOf(0).size(), 15u);           // corner: 5 along each of three lines
    EXPECT_EQ(UpdateEntriesOf(At(10, 10)).size(), 40u);  // centre: 5 each way on four lines
    EXPECT_EQ(UpdateEntriesOf(At(2, 0)).size(), 7u + 5 + 5 + 2);  // top edge, two from the corner

    // The corner's entries, ascending by point: its right-hand row neighbours
    // see it at offsets -1 .. -5, the column and the diagonal below likewise.
    const auto corner = UpdateEntriesOf(0);
    EXPECT_EQ(corner[0].sequenceIndex, 1u * 4 + Horizontal);
    EXPECT_EQ(corner[0].bit, 1u << 8);
    EXPECT_EQ(corner[4].sequenceIndex, 5u * 4 + Horizontal);
    EXPECT_EQ(corner[4].bit, 1u << 0);
    EXPECT_EQ(corner[5].sequenceIndex, 20u * 4 + Vertical);
    EXPECT_EQ(corner[5].shift, 5u);
    EXPECT_EQ(corner[6].sequenceIndex, 21u * 4 + Diagonal);
    EXPECT_EQ(corner[6].shift, 10u);
}

// Placing stones through the update list gives the same line words as writing
// them out from coordinates, on every point of a rectangle; the inner points
// (five or more cells from every edge) share one list.
TEST_F(AnalysisSetupTest, UpdateListAndEmptyFillAgreeWithCoordinates) {
    Build(12, 11);
    BoardAnalysis board;
    InitBoardAnalysis(board);
    std::vector<int> stones(boardArea, 0);
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        for (int d = 0; d < DirectionCount; ++d) {
            ASSERT_EQ(board.sequence[p * 4 + d], ReferenceSequence(p, d, stones)) << "p " << p << " d " << d;
        }
    }

    const std::vector<std::pair<std::uint32_t, int>> moves = {
        {At(0, 0), 1}, {At(5, 3), 2}, {At(10, 6), 1}, {At(3, 4), 2}, {At(7, 1), 1}, {At(10, 0), 2}, {At(4, 3), 1}, {At(6, 5), 2}, {At(5, 5), 1}};
    for (auto [q, colour] : moves) {
        stones[q] = colour;
        std::uint32_t previous = 0;
        for (const UpdateEntry& entry : UpdateEntriesOf(q)) {
            ASSERT_GE(entry.sequenceIndex, previous);
            previous = entry.sequenceIndex;
            ASSERT_EQ(entry.shift, 5 * (entry.sequenceIndex % 4));
            board.sequence[entry.sequenceIndex] += entry.bit * static_cast<std::uint32_t>(colour);
        }
    }
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        for (int d = 0; d < DirectionCount; ++d) {
            ASSERT_EQ(board.sequence[p * 4 + d], ReferenceSequence(p, d, stones)) << "p " << p << " d " << d;
        }
    }
}

TEST_F(AnalysisSetupTest, RaysReachThreePointsNearestFirst) {
    Build(15, 15);
    EXPECT_THAT(RayOf(0, 0), ElementsAre(1, 2, 3));
    EXPECT_THAT(RayOf(1, 0), ElementsAre(15, 30, 45));
    EXPECT_THAT(RayOf(2, 0), ElementsAre());
    EXPECT_THAT(RayOf(3, 0), ElementsAre());
    // Rows do not wrap.
    EXPECT_THAT(RayOf(0, At(13, 4)), ElementsAre(At(14, 4)));
    EXPECT_THAT(RayOf(2, At(13, 4)), ElementsAre(At(12, 4), At(11, 4), At(10, 4)));
    EXPECT_THAT(RayOf(2, At(0, 5)), ElementsAre());
    EXPECT_THAT(RayOf(3, At(6, 2)), ElementsAre(At(6, 1), At(6, 0)));
    EXPECT_THAT(RayOf(1, At(6, 12)), ElementsAre(At(6, 13), At(6, 14)));
}

TEST_F(AnalysisSetupTest, RaysOfSmallAndOblongBoards) {
    Build(3, 3);
    EXPECT_EQ(maxRay, 2u);
    EXPECT_THAT(RayOf(0, 0), ElementsAre(1, 2));
    EXPECT_THAT(RayOf(1, 0), ElementsAre(3, 6));
    EXPECT_THAT(RayOf(3, 8), ElementsAre(5, 2));

    // The stride stops at the reach of a ray, not at the longer side.
    Build(2, 6);
    EXPECT_EQ(maxRay, static_cast<std::uint32_t>(MaxRayReach));
    EXPECT_THAT(RayOf(0, 0), ElementsAre(1));
    EXPECT_THAT(RayOf(1, 0), ElementsAre(2, 4, 6));
    EXPECT_THAT(RayOf(3, 11), ElementsAre(9, 7, 5));
}

TEST_F(AnalysisSetupTest, EmptyBoardCategoriesFollowTheRoomOnEachLine) {
    Build(15, 15);
    BoardAnalysis board;
    InitBoardAnalysis(board);
    for (int colour : {1, 2}) {
        EXPECT_EQ(board.LineCategoryOf(colour, 0, Horizontal), Other);
        EXPECT_EQ(board.LineCategoryOf(colour, 0, Vertical), Other);
        EXPECT_EQ(board.LineCategoryOf(colour, 0, Diagonal), Other);
        EXPECT_EQ(board.LineCategoryOf(colour, 0, AntiDiagonal), Impossible);
        EXPECT_EQ(board.PointCategoryOf(colour, 0), Other);
        // (1, 0): its anti-diagonal holds two cells only.
        EXPECT_EQ(board.LineCategoryOf(colour, 1, AntiDiagonal), Impossible);
        EXPECT_EQ(board.PointCategoryOf(colour, At(7, 7)), Other);
    }

    Build(4, 4);
    BoardAnalysis small;
    InitBoardAnalysis(small);
    for (int colour : {1, 2}) {
        for (std::uint32_t p = 0; p < boardArea; ++p) ASSERT_EQ(small.PointCategoryOf(colour, p), Impossible);
        EXPECT_EQ(small.categoryCount[colour][Impossible], 16);
    }
}

// Every point is filed once per colour, in the list of its category, and the
// lists read back in ascending point order from the oldest end.
TEST_F(AnalysisSetupTest, EmptyBoardListsHoldEveryPointOnce) {
    Build(9, 12);
    BoardAnalysis board;
    InitBoardAnalysis(board);
    for (int colour : {1, 2}) {
        std::map<std::uint32_t, int> filed;
        int counted = 0;
        for (int category = 0; category < CategoryCount; ++category) {
            const auto members = ListOldestFirst(board, colour, category);
            EXPECT_EQ(static_cast<int>(members.size()), board.categoryCount[colour][category]);
            EXPECT_TRUE(std::is_sorted(members.begin(), members.end()));
            for (std::uint32_t p : members) {
                EXPECT_EQ(board.PointCategoryOf(colour, p), category);
                ++filed[p];
            }
            counted += board.categoryCount[colour][category];
        }
        EXPECT_EQ(counted, static_cast<int>(boardArea));
        EXPECT_EQ(filed.size(), boardArea);
        // Forward links mirror the backward ones.
        for (std::uint32_t node = 0; node < boardArea + CategoryCount; ++node) {
            ASSERT_EQ(board.Prev(colour, board.Next(colour, node)), node);
        }
    }
}

TEST_F(AnalysisSetupTest, BoardsNeedTablesOfTheirOwnSize) {
    Build(15, 15);
    ReleaseAnalysisTables();
    EXPECT_EQ(sequenceSize, 0u);
    EXPECT_EQ(lineUpdateList, nullptr);
    EXPECT_EQ(rayLength, nullptr);
    EXPECT_EQ(zobristKey, nullptr);
    EXPECT_EQ(ErrorOf([] {
                  BoardAnalysis board;
                  InitBoardAnalysis(board);
              }),
              "sequenceSize not initialized.");

    // Tables of another size would have their line words overrun.
    InitAnalysisTables();
    EXPECT_EQ(sequenceSize, 4u * 225);
    SetBoardSize(20, 20);
    EXPECT_EQ(ErrorOf([] {
                  BoardAnalysis board;
                  InitBoardAnalysis(board);
              }),
              "sequenceSize not initialized.");
}

}  // namespace
}  // namespace zomar

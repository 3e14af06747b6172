#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "board/Geometry.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {

using test::At;

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The points of a list up to its terminator N.
std::vector<int> ListUntilEnd(const std::uint16_t* list) {
    std::vector<int> points;
    for (int i = 0; i < NeighbourSlots && list[i] != boardArea; ++i) points.push_back(list[i]);
    return points;
}


void ExpectError(void (*action)(), const char* message) {
    try {
        action();
        FAIL() << "expected: " << message;
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override { SetBoardSize(20, 20); }
    void TearDown() override { ReleaseZobristKeys(); }
};

TEST_F(GeometryTest, SizeLimitIsCheckedFirstAndKeepsThePreviousGeometry) {
    ExpectError([] { SetBoardSize(128, 20); }, "Playing board too big, max size is 127");
    ExpectError([] { SetBoardSize(20, 128); }, "Playing board too big, max size is 127");
    EXPECT_EQ(boardWidth, 20u);
    EXPECT_EQ(boardHeight, 20u);
    EXPECT_EQ(boardArea, 400u);
    EXPECT_EQ(LineDistance(0, 21), 1);
    EXPECT_THAT(ListUntilEnd(Neighbours(0)), ElementsAre(1, 20, 21));
}

TEST_F(GeometryTest, EveryPointNeedsThreeNeighbours) {
    for (auto [w, h] : {std::pair{1u, 5u}, {5u, 1u}, {1u, 1u}, {127u, 1u}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        try {
            SetBoardSize(w, h);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Every coord must have at least 3 neighbours.");
        }
    }
}

TEST_F(GeometryTest, SmallestAndLongestAcceptedBoards) {
    SetBoardSize(2, 2);
    for (std::uint32_t p = 0; p < 4; ++p) EXPECT_EQ(ListUntilEnd(Neighbours(p)).size(), 3u);

    // A side of exactly 127 is allowed; the farthest pair of a row is 126 apart.
    SetBoardSize(127, 2);
    EXPECT_EQ(boardArea, 254u);
    EXPECT_EQ(LineDistance(0, 126), 126);
    EXPECT_EQ(LineDistance(126, 0), -126);
    EXPECT_EQ(LineDirection(0, 126), Horizontal);
}

TEST_F(GeometryTest, BoardsWithoutPointsPassWithEmptyTables) {
    SetBoardSize(0, 7);
    EXPECT_EQ(boardArea, 0u);
    SetBoardSize(0, 0);
    EXPECT_EQ(boardArea, 0u);
    BuildZobristKeys();
}

TEST_F(GeometryTest, CoordinatesReportXBeforeY) {
    SetBoardSize(15, 10);
    EXPECT_EQ(CoordFromXY(14, 9), 149);
    EXPECT_EQ(CoordFromXY(3, 2), 33);
    ExpectError([] { CoordFromXY(15, 10); }, "X coord overflow.");
    ExpectError([] { CoordFromXY(15, 0); }, "X coord overflow.");
    ExpectError([] { CoordFromXY(0, 10); }, "Y coord overflow.");
}

TEST_F(GeometryTest, DirectionSteps) {
    SetBoardSize(15, 10);
    EXPECT_EQ(DirectionStep(Horizontal), 1);
    EXPECT_EQ(DirectionStep(Vertical), 15);
    EXPECT_EQ(DirectionStep(Diagonal), 16);
    EXPECT_EQ(DirectionStep(AntiDiagonal), 14);
    ExpectError([] { DirectionStep(4); }, "Invalid Direction");
    ExpectError([] { DirectionStep(-1); }, "Invalid Direction");
}

TEST_F(GeometryTest, PairsOnTheStandardBoard) {
    EXPECT_EQ(LineDirection(0, 21), Diagonal);
    EXPECT_EQ(LineDistance(0, 21), 1);
    EXPECT_EQ(LineDistance(21, 0), -1);
    EXPECT_EQ(LineDirection(19, 38), AntiDiagonal);
    EXPECT_EQ(LineDistance(19, 38), 1);
    // A knight's move apart.
    EXPECT_EQ(LineDirection(0, 22), NoCommonLine);
    EXPECT_EQ(LineDistance(0, 22), NoLineDistance);
    // The row does not wrap into the next one.
    EXPECT_EQ(LineDirection(19, 20), NoCommonLine);
    EXPECT_EQ(LineDistance(19, 20), NoLineDistance);
    EXPECT_EQ(LineDirection(7, 7), SamePoint);
    EXPECT_EQ(LineDistance(7, 7), 0);

    EXPECT_TRUE(IsWithinFour(0, 84));
    EXPECT_FALSE(IsWithinFour(0, 105));
    EXPECT_TRUE(IsWithinFour(5, 5));
    EXPECT_TRUE(IsWithinFour(84, 0));
    EXPECT_FALSE(IsWithinFour(0, 22));
}

// Every pair of a rectangle against a classification from coordinates.
TEST_F(GeometryTest, PairTablesAgreeWithCoordinatesOnARectangle) {
    const int w = 9, h = 6;
    SetBoardSize(w, h);
    for (int p = 0; p < w * h; ++p) {
        for (int q = 0; q < w * h; ++q) {
            const int dx = q % w - p % w, dy = q / w - p / w;
            int direction = NoCommonLine, steps = 0;
            if (p == q) direction = SamePoint;
            else if (dy == 0) direction = Horizontal, steps = dx;
            else if (dx == 0) direction = Vertical, steps = dy;
            else if (dx == dy) direction = Diagonal, steps = dx;
            else if (dx == -dy) direction = AntiDiagonal, steps = dy;
            SCOPED_TRACE(testing::Message() << "p " << p << " q " << q);
            ASSERT_EQ(LineDirection(p, q), direction);
            if (direction == NoCommonLine) {
                ASSERT_EQ(LineDistance(p, q), NoLineDistance);
                continue;
            }
            ASSERT_EQ(LineDistance(p, q), steps);
            if (direction != SamePoint) {
                ASSERT_EQ(q, p + steps * directionStep[direction]);
            }
        }
    }
}

TEST_F(GeometryTest, NeighbourListsInIndexOrder) {
    EXPECT_THAT(ListUntilEnd(Neighbours(0)), ElementsAre(1, 20, 21));
    EXPECT_THAT(ListUntilEnd(Neighbours(21)), ElementsAre(0, 1, 2, 20, 22, 40, 41, 42));
    // Right edge: nothing from the next row's start.
    EXPECT_THAT(ListUntilEnd(Neighbours(At(19, 5))), ElementsAre(At(18, 4), At(19, 4), At(18, 5), At(18, 6), At(19, 6)));
    EXPECT_EQ(Neighbours(399)[3], 400);
}

TEST_F(GeometryTest, LineNeighboursReachFourStepsEachWay) {
    EXPECT_THAT(ListUntilEnd(LineNeighbours(0, Horizontal)), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(ListUntilEnd(LineNeighbours(10, Horizontal)), ElementsAre(6, 7, 8, 9, 11, 12, 13, 14));
    EXPECT_THAT(ListUntilEnd(LineNeighbours(0, Diagonal)), ElementsAre(21, 42, 63, 84));
    EXPECT_THAT(ListUntilEnd(LineNeighbours(0, AntiDiagonal)), ElementsAre());
    EXPECT_THAT(ListUntilEnd(LineNeighbours(19, AntiDiagonal)), ElementsAre(38, 57, 76, 95));
    EXPECT_THAT(ListUntilEnd(LineNeighbours(At(2, 10), Vertical)),
                ElementsAre(At(2, 6), At(2, 7), At(2, 8), At(2, 9), At(2, 11), At(2, 12), At(2, 13), At(2, 14)));
    // Anti-diagonal through (2, 3): up-right first in index order, stopped by the top and left edges.
    EXPECT_THAT(ListUntilEnd(LineNeighbours(At(2, 3), AntiDiagonal)),
                ElementsAre(At(5, 0), At(4, 1), At(3, 2), At(1, 4), At(0, 5)));
}

TEST_F(GeometryTest, HashKeysAreTheSameInEveryRun) {
    BuildZobristKeys();
    EXPECT_EQ(zobristKey[0], 0xe5597a95cf319000ull);
    EXPECT_EQ(zobristKey[1], 0x034d83b5db2cbfd2ull);
    EXPECT_EQ(zobristKey[799], 0x23f7e3bdd3547dd8ull);
    const std::vector<std::uint64_t> first(zobristKey.get(), zobristKey.get() + 800);

    ReleaseZobristKeys();
    EXPECT_EQ(zobristKey, nullptr);
    SetBoardSize(15, 15);
    BuildZobristKeys();
    // A smaller board draws the same sequence, so its keys are a prefix.
    EXPECT_THAT(std::vector<std::uint64_t>(zobristKey.get(), zobristKey.get() + 450),
                ElementsAreArray(first.begin(), first.begin() + 450));
}

TEST_F(GeometryTest, HashKeyByteOfTheLargestDrawCarries) {
    // Key 4840 holds the first draw of 32767 as its fourth byte, which scales
    // to 256: that byte reads 0 and the fifth byte takes the carry.
    SetBoardSize(50, 49);
    BuildZobristKeys();
    EXPECT_EQ(zobristKey[4840], 0x034bd78900c88aa2ull);
}

}  // namespace
}  // namespace zomar

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "board/GameRecord.h"
#include "board/Geometry.h"
#include "support/ErrorOf.h"

namespace zomar {
namespace {

using test::ErrorOf;

const std::string TakeBackRefused =
    "Kernel doesn't allow to take moves back throw another way than the way it was proceeded in forward "
    "direction.";

class GameRecordTest : public ::testing::Test {
protected:
    // Before the fixture is constructed, so that the record is made on 15 x 15.
    static void SetUpTestSuite() { SetBoardSize(15, 15); }
    GameRecord record;
    Coord a = CoordFromXY(7, 7);
    Coord b = CoordFromXY(8, 7);
};

TEST_F(GameRecordTest, PlayingTheLastStoneAgainLiftsIt) {
    EXPECT_EQ(record.stone[a], EmptyCell);
    EXPECT_TRUE(record.PlayOrTakeBack(a));
    EXPECT_EQ(record.stone[a], Colour1);
    EXPECT_EQ(record.sideToMove, 0);
    EXPECT_EQ(record.moveCount, 1u);

    EXPECT_TRUE(record.PlayOrTakeBack(b));
    EXPECT_EQ(record.stone[b], Colour2);
    EXPECT_EQ(record.MoveAt(0), a);
    EXPECT_EQ(record.MoveAt(1), b);

    EXPECT_FALSE(record.PlayOrTakeBack(b));
    EXPECT_FALSE(record.PlayOrTakeBack(a));
    EXPECT_EQ(record.stone[a], EmptyCell);
    EXPECT_EQ(record.stone[b], EmptyCell);
    EXPECT_EQ(record.sideToMove, 1);
    EXPECT_EQ(record.moveCount, 0u);
}

TEST_F(GameRecordTest, OnlyTheLastStoneCanBeTakenBack) {
    record.PlayOrTakeBack(a);
    record.PlayOrTakeBack(b);
    EXPECT_EQ(ErrorOf([&] { record.PlayOrTakeBack(a); }), TakeBackRefused);
    EXPECT_EQ(record.moveCount, 2u);
    EXPECT_EQ(record.stone[a], Colour1);
    EXPECT_EQ(record.sideToMove, 1);
}

TEST_F(GameRecordTest, AnOccupiedPointWithoutMovesIsRefused) {
    // A stone that the record never placed cannot be lifted.
    record.stone[a] = Colour2;
    EXPECT_EQ(ErrorOf([&] { record.PlayOrTakeBack(a); }), TakeBackRefused);
    EXPECT_EQ(record.moveCount, 0u);
}

TEST_F(GameRecordTest, PassHandsOverTheTurnOnly) {
    const std::uint32_t made = madeMoveCount;
    EXPECT_FALSE(record.PlayOrTakeBack(PassCoord));
    EXPECT_EQ(record.sideToMove, 0);
    EXPECT_EQ(record.moveCount, 0u);
    EXPECT_TRUE(record.PlayOrTakeBack(a));
    EXPECT_EQ(record.stone[a], Colour2);
    // Lifting restores the side of the moment the stone was placed.
    record.PlayOrTakeBack(a);
    EXPECT_EQ(record.sideToMove, 0);
    EXPECT_EQ(madeMoveCount, made + 1);
}

TEST_F(GameRecordTest, PointsOutsideTheBoardAreRefused) {
    EXPECT_EQ(ErrorOf([&] { record.PlayOrTakeBack(static_cast<Coord>(boardArea)); }), "Invalid Coord");
    EXPECT_EQ(ErrorOf([&] { record.PlayOrTakeBack(0xFFFF); }), "Invalid Coord");
    EXPECT_EQ(record.sideToMove, 1);
    EXPECT_EQ(record.moveCount, 0u);
}

TEST_F(GameRecordTest, MoveAtStopsAtTheMoveCount) {
    auto moveAtError = [this](std::uint32_t i) -> std::string {
        try {
            record.MoveAt(i);
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(moveAtError(0), "Move number too big.");
    record.PlayOrTakeBack(a);
    record.PlayOrTakeBack(b);
    EXPECT_EQ(record.MoveAt(1), b);
    EXPECT_EQ(moveAtError(2), "Move number too big.");
    record.PlayOrTakeBack(b);
    EXPECT_EQ(moveAtError(1), "Move number too big.");
}

TEST_F(GameRecordTest, MadeMovesCountEveryPlacementAcrossRecords) {
    const std::uint32_t made = madeMoveCount;
    GameRecord other;
    record.PlayOrTakeBack(a);
    record.PlayOrTakeBack(a);
    record.PlayOrTakeBack(a);
    other.PlayOrTakeBack(b);
    other.PlayOrTakeBack(PassCoord);
    EXPECT_EQ(madeMoveCount, made + 3);
}

}  // namespace
}  // namespace zomar

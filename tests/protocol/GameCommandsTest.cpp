#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "analysis/ForbiddenPoint.h"
#include "support/EngineSession.h"

namespace zomar {
namespace {

using GameCommandsTest = EngineSession;

std::vector<BoardStone> OpenThreesPosition() {
    // Engine stones (field 1): an open three on row 5 and a lone stone.
    // Opponent stones (field 2): an open three on row 10.
    //   row  5:  . . . . . X X X . . .
    //   row 10:  . . . . . O O O . . .
    //   (15, 15): X
    return {{5, 5, 1}, {5, 10, 2}, {6, 5, 1}, {6, 10, 2}, {7, 5, 1}, {7, 10, 2}, {15, 15, 1}};
}

TEST_F(GameCommandsTest, TurnsAlternateWithoutPasses) {
    engine->OnStart(15, 15);
    TakeLines();
    engine->OnTurn(7, 7);
    std::vector<std::string> answers = TakeAnswers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(StoneAt(7, 7), 1);  // the opponent opened
    EXPECT_EQ(engine->gameBoard->moveCount, 2u);
    const Coord firstAnswer = engine->gameBoard->moveList[1];
    EXPECT_EQ(engine->gameBoard->stone[firstAnswer], 2);
    EXPECT_EQ(answers[0], MoveText(firstAnswer % 15, firstAnswer / 15));

    const std::uint32_t x = firstAnswer % 15 == 8 ? 6 : 8;
    engine->OnTurn(x, 8);
    EXPECT_EQ(TakeAnswers().size(), 1u);
    EXPECT_EQ(engine->gameBoard->moveCount, 4u);
    EXPECT_EQ(StoneAt(x, 8), 1);
    EXPECT_EQ(engine->gameBoard->stone[engine->gameBoard->moveList[3]], 2);
    EXPECT_EQ(engine->lastMover, 1);
    EXPECT_FALSE(engine->engineToMove);
}

TEST_F(GameCommandsTest, PlayEchoesTheImposedMove) {
    engine->OnPlay(3, 4);
    EXPECT_EQ(TakeAnswers(), std::vector<std::string>{"3,4"});
    EXPECT_EQ(StoneAt(3, 4), 1);
    EXPECT_FALSE(engine->engineToMove);

    // A second imposed move passes for the opponent first: same colour again.
    engine->OnPlay(5, 5);
    EXPECT_EQ(TakeAnswers(), std::vector<std::string>{"5,5"});
    EXPECT_EQ(StoneAt(5, 5), 1);
    EXPECT_EQ(engine->gameBoard->moveCount, 2u);
    EXPECT_FALSE(engine->engineToMove);
}

TEST_F(GameCommandsTest, MovesOffTheBoardEndTheCommand) {
    EXPECT_THROW(
        {
            try {
                engine->OnTurn(25, 3);
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "X coord overflow.");
                throw;
            }
        },
        std::runtime_error);
    // The imposed move is checked before it is echoed.
    EXPECT_THROW(engine->OnPlay(3, 20), std::runtime_error);
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(GameCommandsTest, BoardGivesEachSideOneColourInAnyOrder) {
    // Whoever is to move wins with its open three, so the answer shows for whom
    // the engine thought.
    const std::vector<BoardStone> moveOrder = OpenThreesPosition();
    std::vector<BoardStone> engineFirst = moveOrder;
    std::stable_sort(engineFirst.begin(), engineFirst.end(),
                     [](const BoardStone& a, const BoardStone& b) { return a[2] < b[2]; });
    std::vector<BoardStone> opponentFirst = moveOrder;
    std::stable_sort(opponentFirst.begin(), opponentFirst.end(),
                     [](const BoardStone& a, const BoardStone& b) { return a[2] > b[2]; });
    std::vector<BoardStone> byCoordinates = moveOrder;
    std::sort(byCoordinates.begin(), byCoordinates.end(), [](const BoardStone& a, const BoardStone& b) {
        return a[1] != b[1] ? a[1] < b[1] : a[0] < b[0];
    });
    ASSERT_EQ(moveOrder.back()[2], 1u);
    ASSERT_EQ(opponentFirst.back()[2], 1u);
    ASSERT_EQ(byCoordinates.back()[2], 1u);

    for (const auto& stones : {moveOrder, engineFirst, opponentFirst, byCoordinates}) {
        engine->OnBoard(stones);
        const std::vector<std::string> answers = TakeAnswers();
        ASSERT_EQ(answers.size(), 2u);
        EXPECT_EQ(answers[0], "MESSAGE :-))");
        EXPECT_TRUE(answers[1] == "4,5" || answers[1] == "8,5") << answers[1];
        for (const BoardStone& stone : stones) EXPECT_EQ(StoneAt(stone[0], stone[1]), stone[2] == 1 ? 1 : 2);
        EXPECT_EQ(engine->gameBoard->stone[engine->gameBoard->moveList[engine->gameBoard->moveCount - 1]], 1);
        EXPECT_EQ(engine->gameBoard->moveCount, stones.size() + 1);
        EXPECT_EQ(engine->lastMover, 1);
        EXPECT_FALSE(engine->engineToMove);
    }
}

TEST_F(GameCommandsTest, BoardStonesOfOneSideGetOneColour) {
    // Opponent stones only: the engine's colour is the first one's.
    engine->OnBoard({{7, 7, 2}});
    EXPECT_EQ(TakeAnswers().size(), 1u);
    EXPECT_EQ(StoneAt(7, 7), 2);
    EXPECT_EQ(engine->gameBoard->stone[engine->gameBoard->moveList[1]], 1);

    // Engine stones only, and a stone line that did not parse (field 0).
    engine->OnBoard({{7, 7, 1}, {8, 8, 1}, {0, 0, 0}});
    EXPECT_EQ(TakeAnswers().size(), 1u);
    EXPECT_EQ(StoneAt(7, 7), 1);
    EXPECT_EQ(StoneAt(8, 8), 1);
    EXPECT_EQ(StoneAt(0, 0), 1);
    EXPECT_EQ(engine->gameBoard->moveCount, 4u);
    EXPECT_EQ(engine->gameBoard->stone[engine->gameBoard->moveList[3]], 1);
}

TEST_F(GameCommandsTest, BoardRefusesContinualGameStonesOneByOne) {
    engine->OnBoard({{7, 7, 3}, {3, 3, 2}, {4, 4, 3}});
    const std::vector<std::string> answers = TakeAnswers();
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0], "ERROR Continual game not supported.");
    EXPECT_EQ(answers[1], "ERROR Continual game not supported.");
    EXPECT_EQ(StoneAt(7, 7), 0);
    EXPECT_EQ(StoneAt(4, 4), 0);
    EXPECT_EQ(StoneAt(3, 3), 2);
    EXPECT_EQ(engine->gameBoard->moveCount, 2u);
}

TEST_F(GameCommandsTest, FullBoardIsAnsweredWithAnError) {
    engine->OnStart(5, 5);
    TakeLines();
    // Columns filled in pairs so that no line of five forms: X X O O X per row,
    // shifted by two from row to row.
    std::vector<BoardStone> stones;
    for (std::uint32_t y = 0; y < 5; ++y) {
        for (std::uint32_t x = 0; x < 5; ++x) {
            const std::uint32_t field = ((x + 2 * y) / 2) % 2 == 0 ? 1 : 2;
            stones.push_back({x, y, field});
        }
    }
    engine->OnBoard(stones);
    const std::vector<std::string> answers = TakeAnswers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].rfind("ERROR ", 0), 0u) << answers[0];
    EXPECT_EQ(engine->gameBoard->moveCount, 25u);
}

TEST_F(GameCommandsTest, ManagerLimitsAreReadFromInfoKeys) {
    engine->OnOtherInfo("max_depth", "6");
    engine->OnOtherInfo("max_node", "250000");
    EXPECT_EQ(engine->limits.maxDepth, 6u);
    EXPECT_EQ(engine->limits.maxNodes, 250000u);
    engine->OnOtherInfo("max_depth", "0");
    engine->OnOtherInfo("max_node", "-5");
    EXPECT_EQ(engine->limits.maxDepth, 0u);
    EXPECT_EQ(engine->limits.maxNodes, 0u);
    engine->OnOtherInfo("colour", "abc");
    engine->OnOtherInfo("max_depth", "6");
    TakeLines();
    engine->OnOtherInfo("max_depth", "deep");
    engine->OnOtherInfo("max_node", "");
    EXPECT_EQ(TakeAnswers().size(), 2u);
    EXPECT_EQ(engine->limits.maxDepth, 6u);
}

// Black (x) to move, as many stones as white: (6, 4) makes two open threes.
const std::vector<std::string> RenjuDiagram = {
    ". . . . . . . . . .",
    ". . . . . . . . . .",
    ". . . . . . x . . .",
    ". . . . . . x . . .",
    ". . . . x x . . . .",
    ". . . . . . . . . .",
    ". . . . . . . . . o",
    ". . . . . . . . o o",
    ". . . . . . . . . o",
};

// The diagram as one YXBOARD line, x given the field xField (1: the side to
// move), `more` items first.
std::string RenjuPositionLine(std::uint32_t xField, const std::string& more = "") {
    std::string line = "yxboard " + more;
    for (std::size_t y = 0; y < RenjuDiagram.size(); ++y) {
        for (std::size_t i = 0; i < RenjuDiagram[y].size(); i += 2) {
            if (RenjuDiagram[y][i] == '.') continue;
            char item[48];
            std::snprintf(item, sizeof item, " %zu,%zu,%u", i / 2, y, RenjuDiagram[y][i] == 'x' ? xField : 3 - xField);
            line += item;
        }
    }
    return line + " done";
}

TEST_F(GameCommandsTest, ForbiddenPointsAreListedOnlyForBlackToMoveUnderRenju) {
    engine->HandleLine("info rule 4");
    engine->OnStart(15, 15);
    TakeLines();
    engine->HandleLine(RenjuPositionLine(1));
    EXPECT_TRUE(TakeLines().empty()) << "a position set by YXBOARD is not answered";
    engine->HandleLine("yxshowforbid");
    std::string expected = "FORBID ";
    for (Coord p = 0; p < boardArea; ++p) {
        if (engine->gameBoard->stone[p] != 0 || !IsForbiddenPoint(*engine->gameBoard, p, Colour1)) continue;
        char point[16];
        std::snprintf(point, sizeof point, "%02u%02u", p % 15u, p / 15u);
        expected += point;
    }
    EXPECT_EQ(TakeLines(), std::vector<std::string>{expected + "."});
    EXPECT_NE(expected.find("0604"), std::string::npos) << expected;

    // Black with a stone more, so white to move; then black to move under another rule.
    engine->HandleLine(RenjuPositionLine(2, "0,0,2"));
    engine->HandleLine("yxshowforbid");
    engine->HandleLine("info rule 0");
    engine->HandleLine(RenjuPositionLine(1));
    engine->HandleLine("yxshowforbid");
    EXPECT_EQ(TakeLines(), (std::vector<std::string>{"FORBID .", "FORBID ."}));
}

TEST_F(GameCommandsTest, StartUpSizeMustFitTheBoardImage) {
    TakeLines();
    test::UseTables(22, 22);
    ABPNSEngine fits("pbrain-test", input, output);
    EXPECT_TRUE(TakeLines().empty());

    test::UseTables(23, 23);
    ABPNSEngine tooLarge("pbrain-test", input, output);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"ERROR MAX_BOARD_SIZE_BYTES is too small"});
    EXPECT_EQ(tooLarge.gameBoard->moveCount, 0u);
}

}  // namespace
}  // namespace zomar

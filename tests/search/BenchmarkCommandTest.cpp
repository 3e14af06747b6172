#include <gtest/gtest.h>

#include "support/EngineSession.h"
#include "support/TemporaryDirectory.h"

namespace zomar {
namespace {

// Six stones of an opening, then the same game continued to fourteen stones.
const std::string OpeningFile = "opening\n10,10,0\n11,11,0\n11,10,0\n9,10,0\n10,11,0\n10,9,0\n";
const std::string LongGameFile = OpeningFile + "12,12,0\n9,9,0\n8,8,0\n12,9,0\n13,13,0\n12,10,0\n12,11,0\n14,14,0\n";
const std::string FirstTenStonesFile = OpeningFile + "12,12,0\n9,9,0\n8,8,0\n12,9,0\n";

class BenchmarkCommandTest : public EngineSession {
protected:
    // A table's size is the limit less the process's working set, which moves
    // between runs and between the engines of one process: a limit below any
    // working set gives every engine the smallest table, so the totals
    // compared below come from tables of one size.
    void SetUp() override {
        EngineSession::SetUp();
        engine->max_memory = 1;
    }

    std::vector<std::string> RunOver(ABPNSEngine& runner, const std::string& pattern) {
        runner.RunSearchTest(pattern);
        std::vector<std::string> lines;
        for (const std::string& line : TakeLines()) {
            if (line.rfind("DEBUG ", 0) != 0) lines.push_back(line);
        }
        return lines;
    }

    // The total of one file searched by a fresh engine.
    std::string TotalLineOf(const std::string& name, const std::string& content) {
        test::TemporaryDirectory single;
        single.WriteFile(name, content);
        ABPNSEngine fresh("pbrain-test", input, output);
        fresh.limits = engine->limits;
        fresh.max_memory = engine->max_memory;
        return RunOver(fresh, single / "*.txt").back();
    }

    static std::int32_t TotalOf(const std::string& line, const std::string& prefix) {
        return std::stoi(line.substr(prefix.size()));
    }

    test::TemporaryDirectory directory;
};

TEST_F(BenchmarkCommandTest, EveryFileIsNamedAndFailuresReportTheTotalSoFar) {
    directory.WriteFile("a.txt", OpeningFile);
    directory.WriteFile("b.txt", "broken\n10,10,0\n0,3,0\n");
    directory.WriteFile("c.txt", "header only\n");
    directory.WriteFile("d.txt", "repeated point\n10,10,0\n11,11,0\n10,10,0\n");
    directory.WriteFile("notes.md", "not a position\n");

    const std::vector<std::string> lines = RunOver(*engine, directory / "*.txt");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], directory / "a.txt");
    EXPECT_EQ(lines[1], directory / "b.txt");
    const std::string failedB = directory / "b.txtfailed";
    ASSERT_EQ(lines[2].rfind(failedB, 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], directory / "c.txt");
    EXPECT_EQ(lines[4], directory / "d.txt");
    EXPECT_EQ(lines[5].rfind(directory / "d.txtfailed", 0), 0u) << lines[5];
    ASSERT_EQ(lines[6].rfind("MESSAGE total moves = ", 0), 0u);

    // The failed file added nothing: the total after a.txt is that of a.txt alone.
    const std::int32_t afterA = TotalOf(lines[2], failedB);
    EXPECT_GT(afterA, 0);
    EXPECT_EQ(TotalLineOf("a.txt", OpeningFile), "MESSAGE total moves = " + std::to_string(afterA));
    EXPECT_GT(TotalOf(lines[6], "MESSAGE total moves = "), afterA);
}

TEST_F(BenchmarkCommandTest, PositionsKeepTheirFirstTenStones) {
    EXPECT_EQ(TotalLineOf("long.txt", LongGameFile), TotalLineOf("ten.txt", FirstTenStonesFile));
    EXPECT_NE(TotalLineOf("long.txt", LongGameFile), TotalLineOf("opening.txt", OpeningFile));
}

TEST_F(BenchmarkCommandTest, MissingDirectoryIsReported) {
    const std::string pattern = directory / "absent/*.txt";
    EXPECT_EQ(RunOver(*engine, pattern), std::vector<std::string>{"ERROR failed to list direcoty " + pattern});
}

TEST_F(BenchmarkCommandTest, GameInProgressIsUntouched) {
    directory.WriteFile("a.txt", OpeningFile);
    engine->OnTurn(3, 3);
    TakeLines();
    RunOver(*engine, directory / "*.txt");
    EXPECT_EQ(engine->gameBoard->moveCount, 2u);
    EXPECT_EQ(StoneAt(3, 3), 1);
    EXPECT_EQ(engine->lastMover, 1);
}

TEST_F(BenchmarkCommandTest, FirstMoveStillBuildsItsOwnTable) {
    directory.WriteFile("a.txt", OpeningFile);
    engine->max_memory = 1000;
    RunOver(*engine, directory / "*.txt");
    ASSERT_NE(engine->transpositionTable, nullptr);
    EXPECT_EQ(engine->transpositionTable->EntryCount(), MinTableEntries);
    EXPECT_FALSE(engine->firstThinkDone);

    engine->max_memory = 64 * 1048576;
    engine->ThinkMove();
    EXPECT_GT(engine->transpositionTable->EntryCount(), MinTableEntries);
}

}  // namespace
}  // namespace zomar

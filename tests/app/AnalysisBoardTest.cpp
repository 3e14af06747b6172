#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

bool Matches(const std::string& line, const std::string& pattern) { return std::regex_match(line, std::regex(pattern)); }

// The lines of one candidate's block after its "INFO PV i", in order.
const std::vector<std::string> BlockPatterns = {
    "INFO NUMPV 3",          "INFO DEPTH \\d+",        "INFO SELDEPTH \\d+",        "INFO NODES \\d+",
    "INFO TOTALNODES \\d+",  "INFO TOTALTIME \\d+",    "INFO SPEED \\d+",           "INFO EVAL (-?\\d+|[+-]M\\d+)",
    "INFO WINRATE [01]\\.\\d{4}", "INFO BESTLINE( \\d+,\\d+)+", "INFO PV DONE"};

// The session an analysis board runs when it starts, then three candidates of
// a position it sets; every line must be one the board reads. The depth limit
// makes every candidate complete its iterations however loaded the machine.
TEST(AnalysisBoardTest, StartUpSessionAndThreeBestMovesAnswerInTheBoardsFormats) {
    TemporaryDirectory directory;
    const EngineRun run = RunEngine(
        {"info show_detail 3", "yxshowinfo", "START 15", "INFO timeout_match 100000", "INFO timeout_turn 3000",
         "INFO time_left 100000", "INFO max_memory 0", "INFO game_type 1", "INFO rule 0", "INFO max_depth 8", "INFO thread_num 1",
         "INFO hash_size 16384", "INFO pondering 1", "INFO caution_factor 3", "INFO time_increment 0", "INFO vcthread 1",
         "INFO nbestsym 0", "INFO usedatabase 0", "INFO database_readonly 1", "INFO start_depth 2",
         "INFO thread_split_depth 5", "INFO checkmate 0", "YXBOARD 1,1,1 2,2,2 DONE", "YXBOARD", "7,7,2", "8,8,1",
         "8,7,2", "DONE", "YXHASHCLEAR", "YXNBEST 3", "end"},
        directory.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_GE(run.lines.size(), 3u);
    EXPECT_TRUE(Matches(run.lines[0], "MESSAGE INFO MAX_THREAD_NUM [1-9]\\d*")) << run.lines[0];
    EXPECT_TRUE(Matches(run.lines[1], "MESSAGE INFO MAX_HASH_SIZE \\d+")) << run.lines[1];
    EXPECT_EQ(run.lines[2], "OK");

    std::map<std::string, std::string> lastFirstMove;  // candidate index: its last block's first move
    int marks = 0;
    for (std::size_t i = 3; i + 1 < run.lines.size(); ++i) {
        const std::string& line = run.lines[i];
        std::smatch pv;
        if (std::regex_match(line, pv, std::regex("INFO PV (\\d+)"))) {
            ASSERT_LT(i + BlockPatterns.size(), run.lines.size());
            for (const std::string& pattern : BlockPatterns) {
                EXPECT_TRUE(Matches(run.lines[++i], pattern)) << run.lines[i] << " is not " << pattern;
            }
            const std::string& bestLine = run.lines[i - 1];
            lastFirstMove[pv[1]] = bestLine.substr(14, bestLine.find(' ', 14) - 14);
        } else {
            marks += line.rfind("MESSAGE REALTIME ", 0) == 0;
            EXPECT_TRUE(Matches(line, "MESSAGE REALTIME (REFRESH|(POS|DONE|LOST|BEST) \\d+,\\d+)|DEBUG .*")) << line;
        }
    }
    EXPECT_GT(marks, 0) << "the first mark of a think is never held back";
    ASSERT_EQ(lastFirstMove.size(), 3u);
    const std::set<std::string> distinct = {lastFirstMove["0"], lastFirstMove["1"], lastFirstMove["2"]};
    EXPECT_EQ(distinct.size(), 3u) << "each candidate excludes the earlier ones";
    EXPECT_EQ(run.lines.back(), lastFirstMove["0"]) << "the answer is the first candidate";
}

TEST(AnalysisBoardTest, ListOnTheCommandsLineIsReadAsLines) {
    TemporaryDirectory directory;
    const std::vector<std::string> settings = {"info max_depth 4", "info timeout_turn 100000", "start 15"};
    auto session = [&](std::vector<std::string> commands) {
        commands.insert(commands.begin(), settings.begin(), settings.end());
        commands.push_back("end");
        std::vector<std::string> lines;
        for (const std::string& line : RunEngine(commands, directory.Path().string()).lines) {
            if (line.rfind("DEBUG AB:", 0) != 0) lines.push_back(line);  // it shows the speed
        }
        return lines;
    };
    EXPECT_EQ(session({"board 7,7,2 8,8,1 7,8,2 done"}), session({"board", "7,7,2", "8,8,1", "7,8,2", "done"}));
    EXPECT_EQ(session({"yxboard 7,7,2 8,8,1", "7,8,2", "done", "about"}).size(), 2u) << "OK and the about line";
}

}  // namespace
}  // namespace zomar::test

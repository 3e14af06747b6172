#include <gtest/gtest.h>

#include <stdexcept>

#include "referee/CommandLine.h"
#include "referee/Schedule.h"

namespace zomar::referee {
namespace {

TEST(Schedule, PairsSwapColoursAndCoverSizesRulesAndOpenings) {
    ScheduleOptions options;
    options.games = 16;
    options.openings = {{"far", {{0, 0}, {-10, 0}}}, {"near", {{0, 0}, {1, 1}, {2, 2}}}};
    const std::vector<GameSetup> games = BuildSchedule(options);
    ASSERT_EQ(games.size(), 16u);
    for (std::size_t i = 0; i < games.size(); i += 2) {
        EXPECT_EQ(games[i].blackSeat, 0);
        EXPECT_EQ(games[i + 1].blackSeat, 1);
        EXPECT_EQ(games[i].width, games[i + 1].width);
        EXPECT_EQ(games[i].opening.has_value(), games[i + 1].opening.has_value());
    }
    // Round one: every size and rule from BEGIN; round two: the same from openings.
    const int expected[8][2] = {{15, 0}, {20, 0}, {15, 1}, {20, 1}, {15, 0}, {20, 0}, {15, 1}, {20, 1}};
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(games[2 * p].width, expected[p][0]) << p;
        EXPECT_EQ(games[2 * p].rule, expected[p][1]) << p;
        EXPECT_EQ(games[2 * p].opening.has_value(), p >= 4) << p;
    }
    // The opening that does not fit 15 x 15 is passed over there.
    EXPECT_EQ(games[8].opening->source, "near");
    EXPECT_EQ(games[10].opening->source, "far");
    EXPECT_EQ(games[12].opening->source, "near");
}

TEST(Schedule, NoFittingOpeningIsAnError) {
    ScheduleOptions options;
    options.beginEvery = 0;
    options.openings = {{"far", {{0, 0}, {-10, 0}}}};
    EXPECT_THROW(BuildSchedule(options), std::runtime_error);
}

TEST(CommandLine, ReadsOptionsAndBrains) {
    const RefereeSettings settings = ParseCommandLine({"--games", "4", "--sizes", "15,20x10", "--rules", "1",
                                                       "--turn", "500", "--no-memory-check", "--info-b", "thread_num 2",
                                                       "valgrind -q ./brain"});
    EXPECT_EQ(settings.schedule.games, 4);
    ASSERT_EQ(settings.schedule.sizes.size(), 2u);
    EXPECT_EQ(settings.schedule.sizes[1].width, 20);
    EXPECT_EQ(settings.schedule.sizes[1].height, 10);
    EXPECT_EQ(settings.schedule.rules, std::vector<int> {1});
    EXPECT_EQ(settings.match.turnMs, 500);
    EXPECT_FALSE(settings.match.checkMemory);
    EXPECT_EQ(settings.match.commands[0], (std::vector<std::string> {"valgrind", "-q", "./brain"}));
    EXPECT_EQ(settings.match.commands[1], settings.match.commands[0]);
    EXPECT_TRUE(settings.match.extraInfo[0].empty());
    EXPECT_EQ(settings.match.extraInfo[1], std::vector<std::string> {"thread_num 2"});
}

TEST(CommandLine, RefusesBadArguments) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>> {
             {}, {"a", "b", "c"}, {"--games", "x", "a"}, {"--rules", "2", "a"}, {"--sizes", "200", "a"},
             {"--turn"}, {"--bogus", "a"}, {"--openings", "/nonexistent/file", "a"}}) {
        EXPECT_THROW(ParseCommandLine(arguments), std::runtime_error);
    }
}

}  // namespace
}  // namespace zomar::referee

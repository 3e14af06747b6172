#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "../support/TemporaryDirectory.h"
#include "support/RecordingCommunicator.h"
#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

using test::RecordingCommunicator;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The stored timeout_match makes no deadline until the manager sends one.
TEST(Settings, StartWithTheManagersDefaultsAndNoMatchDeadline) {
    RecordingCommunicator engine;
    EXPECT_EQ(engine.matchClock.timeout_turn, 1000);
    EXPECT_EQ(engine.matchClock.timeout_match, 30000);
    EXPECT_EQ(engine.max_memory, 62914560);
    EXPECT_EQ(engine.game_type, 1);
    EXPECT_EQ(engine.rule, 0);
    EXPECT_EQ(engine.matchClock.RemainingMs(), INT32_MAX);
    engine.Interpret("info timeout_match 30000");
    std::int32_t untilDeadline = engine.matchClock.RemainingMs();
    EXPECT_GT(untilDeadline, 0);
    EXPECT_LE(untilDeadline, 30000);
}

TEST(Settings, NumericKeysStoreTheLeadingNumberOfTheirValue) {
    RecordingCommunicator engine;
    engine.Interpret("info timeout_turn 5000");
    EXPECT_EQ(engine.matchClock.timeout_turn, 5000);
    engine.Interpret("INFO TIMEOUT_TURN 250ms");
    EXPECT_EQ(engine.matchClock.timeout_turn, 250);
    engine.Interpret("info timeout_match  -7");
    EXPECT_EQ(engine.matchClock.timeout_match, -7);
    engine.Interpret("info game_type 0");
    EXPECT_EQ(engine.game_type, 0);
    engine.Interpret("info max_memory 83886080");
    EXPECT_EQ(engine.max_memory, 83886080);
    EXPECT_THAT(engine.calls, ElementsAre("max_memory 83886080"));
    EXPECT_THAT(engine.OutputLines(), IsEmpty());
}

TEST(Settings, TimeLeftSetsTheMatchDeadlineFromNow) {
    RecordingCommunicator engine;
    engine.Interpret("info time_left 100000");
    std::int32_t untilDeadline = -engine.matchClock.matchTimer.ElapsedMs();
    EXPECT_GT(untilDeadline, 30000);
    EXPECT_LE(untilDeadline, 100000);
    engine.Interpret("info time_left -5");
    EXPECT_GE(engine.matchClock.matchTimer.ElapsedMs(), 5);
}

TEST(Settings, RuleHookRunsOnlyWhenTheRuleChanges) {
    RecordingCommunicator engine;
    for (const char* line : {"info rule 0", "info rule 1", "info rule 1", "info rule 4", "info rule 0"}) {
        engine.Interpret(line);
    }
    EXPECT_THAT(engine.calls, ElementsAre("rule 1", "rule 4", "rule 0"));
    EXPECT_EQ(engine.rule, 0);
}

// Keeps the base class's reaction to a new rule, as the engine does.
class RuleTablesCommunicator : public RecordingCommunicator {
public:
    void OnRuleChanged(std::int32_t newRule) override { Communicator::OnRuleChanged(newRule); }
};

// Colour-1 stones at offsets -3 -2 -1 +1 +2 of the point: playing it makes six.
constexpr std::uint32_t SixThroughThePoint = (1u << 4) | (1u << 6) | (1u << 8) | (1u << 10) | (1u << 12);

TEST(Settings, RuleChangeRebuildsThePatternTablesForTheNewRule) {
    SetBoardSize(15, 15);
    InitAnalysisTables();
    ASSERT_EQ(LineCategory(1, SixThroughThePoint), Win);

    RuleTablesCommunicator engine;
    engine.Interpret("info rule 1");
    EXPECT_EQ(gameRule, 1);
    EXPECT_EQ(sequenceSize, 4u * 15 * 15);
    EXPECT_NE(LineCategory(1, SixThroughThePoint), Win);

    engine.Interpret("info rule 0");
    EXPECT_EQ(gameRule, 0);
    EXPECT_EQ(LineCategory(1, SixThroughThePoint), Win);

    ReleaseAnalysisTables();
    ReleaseGeometryTables();
}

TEST(Settings, ValueThatIsNotANumberRaises) {
    for (const char* key : {"timeout_turn", "timeout_match", "max_memory", "time_left", "game_type", "rule"}) {
        RecordingCommunicator engine;
        try {
            engine.Interpret(std::string("info ") + key + " abc");
            ADD_FAILURE() << key << " took a value without a number";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "StringToInt Conversion failed.");
        }
        EXPECT_THAT(engine.calls, IsEmpty());
    }
}

TEST(InfoLine, NeedsABlankBetweenKeyAndValue) {
    RecordingCommunicator engine;
    engine.Interpret("info timeout_turn");
    engine.Interpret("info");
    EXPECT_THAT(engine.OutputLines(), ElementsAre("ERROR uknown info format.", "ERROR uknown info format."));
    EXPECT_EQ(engine.matchClock.timeout_turn, 1000);
}

TEST(InfoLine, OtherKeysGoToTheEngineHookWithoutAnAnswer) {
    RecordingCommunicator engine;
    engine.Interpret("info  timeout_turn 5");
    engine.Interpret("info colour black and white");
    engine.Interpret("info max_depth 7");
    EXPECT_THAT(engine.calls, ElementsAre("info |timeout_turn 5", "info colour|black and white", "info max_depth|7"));
    EXPECT_EQ(engine.matchClock.timeout_turn, 1000);
    EXPECT_THAT(engine.OutputLines(), IsEmpty());
}

TEST(InfoLine, KeyAndValueAreCutTo255Characters) {
    RecordingCommunicator engine;
    std::string longKey(300, 'k');
    std::string longValue = std::string(255, 'v') + "tail";
    engine.Interpret("info " + longKey + " " + longValue);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0], "info " + std::string(255, 'k') + "|" + std::string(255, 'v'));

    engine.Interpret("info timeout_turn " + std::string(253, ' ') + "42");
    EXPECT_EQ(engine.matchClock.timeout_turn, 42);
    engine.Interpret("info timeout_turn " + std::string(254, ' ') + "42");
    EXPECT_EQ(engine.matchClock.timeout_turn, 4);
    EXPECT_THROW(engine.Interpret("info timeout_turn " + std::string(255, ' ') + "42"), std::runtime_error);
}

// A path written with '/' in the platform's own spelling.
std::string Native(const std::string& path) { return std::filesystem::path(path).make_preferred().string(); }

// Folder values are sent relative to a fresh working directory, in lowercase
// so that they read the same where the engine lowercases them.
class FolderTest : public ::testing::Test {
protected:
    test::TemporaryDirectory directory;
    test::CurrentDirectoryScope inside {directory.Path()};
};

TEST_F(FolderTest, CreatesTheProgramsSubfolderOfTheValue) {
    RecordingCommunicator engine("", Native("/opt/brains/MyBrain.exe"));
    EXPECT_EQ(engine.programName, "MyBrain");
    const std::string folder = Native("games/MyBrain");
    engine.Interpret("info folder games");
    EXPECT_THAT(engine.OutputLines(), ElementsAre("ERROR Failed to create directory " + folder));
    EXPECT_EQ(engine.folder, folder);

    std::filesystem::create_directory("games");
    engine.Interpret("info folder " + Native("games/"));
    EXPECT_EQ(engine.folder, folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    engine.Interpret("info folder games");
    EXPECT_EQ(engine.OutputLines().size(), 1u);
}

TEST_F(FolderTest, ReportsAPathTakenByAFileAndKeepsIt) {
    RecordingCommunicator engine("", Native("/opt/brains/zomar"));
    directory.WriteFile("zomar", "not a directory");
    engine.Interpret("info folder .");
    const std::string folder = Native("./zomar");
    EXPECT_THAT(engine.OutputLines(), ElementsAre("ERROR Failed to create directory " + folder));
    EXPECT_EQ(engine.folder, folder);
}

#ifndef _WIN32
TEST_F(FolderTest, KeepsTheCaseOfThePathAsItWasSent) {
    RecordingCommunicator engine("", "/opt/brains/zomar");
    std::filesystem::create_directory("MixedCase");
    engine.Interpret("INFO FOLDER " + (directory / "MixedCase"));
    EXPECT_EQ(engine.folder, directory / "MixedCase/zomar");
    EXPECT_TRUE(std::filesystem::is_directory("MixedCase/zomar"));
    EXPECT_THAT(engine.OutputLines(), IsEmpty());
}
#endif

TEST(ProgramName, IsTheFileNameOfTheProgramPathWithoutExtension) {
    EXPECT_EQ(RecordingCommunicator("", Native("/usr/games/pbrain-zomar")).programName, "pbrain-zomar");
    EXPECT_EQ(RecordingCommunicator("", Native("./pbrain-zomar")).programName, "pbrain-zomar");
    EXPECT_EQ(RecordingCommunicator("", Native("/home/u/zomar-3.2/brain")).programName, "brain");
    EXPECT_EQ(RecordingCommunicator("", Native("/home/u/brain.v2.exe")).programName, "brain.v2");
    EXPECT_EQ(RecordingCommunicator("", "pbrain-zomar").programName, "");
}

}  // namespace
}  // namespace zomar

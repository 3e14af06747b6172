#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "../support/TemporaryDirectory.h"
#include "support/RecordingCommunicator.h"

namespace zomar {
namespace {

using test::RecordingCommunicator;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

// Runs the command loop in an empty working directory (so no stray
// "input.txt" is picked up), optionally holding a script.
class CommandLoopTest : public ::testing::Test {
protected:
    void RunLoop(RecordingCommunicator& engine) {
        test::CurrentDirectoryScope inside(directory.Path());
        engine.CommandLoop();
    }

    test::TemporaryDirectory directory;
};

TEST_F(CommandLoopTest, GameCommandsReachTheEngineWithTheirNumbers) {
    RecordingCommunicator engine(
        "START 20\n"
        "rectstart 10,12\n"
        "turn 7,9\n"
        "turn  7,9\n"
        "play 3,4\n"
        "takeback 1,2\n"
        "begin\n"
        "restart\n"
        "end\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("start 20,20", "start 10,12", "turn 7,9", "turn 7,9", "play 3,4",
                                          "takeback 1,2", "begin", "restart"));
    EXPECT_THAT(engine.OutputLines(), IsEmpty());
}

// A move needs both numbers; a size that is missing is 0 and refused later.
TEST_F(CommandLoopTest, MalformedMovesAreRefusedAndAMinusSignWraps) {
    RecordingCommunicator engine;
    for (const char* line : {"turn x,y", "Turn 7 ,9", "turn 7,", "play -1,5", "start", "rectstart 9",
                             "turn 99999999999,1", "turn 7,9abc", "turn\t7,9"}) {
        engine.Interpret(line);
    }
    EXPECT_THAT(engine.calls, ElementsAre("play 4294967295,5", "start 0,0", "start 9,0", "turn 4294967295,1",
                                          "turn 7,9", "other turn\t7,9|"));
    EXPECT_THAT(engine.OutputLines(),
                ElementsAre("ERROR Ignored turn x,y: not a move x,y.", "ERROR Ignored Turn 7 ,9: not a move x,y.",
                            "ERROR Ignored turn 7,: not a move x,y.", "UNKNOWN"));
}

TEST_F(CommandLoopTest, BoardModeCollectsEveryLineOfThreeNumbersAsAStone) {
    RecordingCommunicator engine(
        "board\n"
        "10,10,1\n"
        "11, 11,2\n"
        "board\n"
        "letters\n"
        " 5,5,1\n"
        "\n"
        "DONE\n"
        "board\n"
        "3,4,2\n"
        "done\n"
        "board\n"
        "1,1,1\n"
        "end\n"
        "turn 1,2\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("board 10,10,1 11,11,2 5,5,1", "board 3,4,2"));
    EXPECT_TRUE(engine.boardStones.size() == 1 && !engine.running);
    EXPECT_THAT(engine.OutputLines(), ElementsAre("ERROR Ignored board: not a stone x,y,field.",
                                                  "ERROR Ignored letters: not a stone x,y,field."));
}

TEST_F(CommandLoopTest, UnknownWordsGoToTheEngineHookAndOtherwiseAnswerUnknown) {
    RecordingCommunicator engine;
    for (const char* line : {"done", "Foo Bar  Baz", "accepted x", "", "  ", "  board5"}) {
        engine.Interpret(line);
    }
    EXPECT_THAT(engine.calls, ElementsAre("other done|", "other foo|bar  baz", "other accepted|x", "other board5|"));
    EXPECT_THAT(engine.OutputLines(), ElementsAre("UNKNOWN", "UNKNOWN", "UNKNOWN"));
}

TEST_F(CommandLoopTest, AboutAnswersOneLineWithSixFieldsAndTheBuildDate) {
    RecordingCommunicator engine;
    engine.Interpret("about");
    Lines lines = engine.OutputLines();
    ASSERT_EQ(lines.size(), 1u);
    // std::regex: GoogleTest's own matcher knows only a small subset on Windows.
    const std::regex about("name=\"Zomar\", version=\"3\\.2\", author=\"[^\"]+\", email=\"[^\"]+@[^\"]+\", "
                           "country=\"[^\"]+\", builded=\"(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                           "[ 1-3][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]\"");
    EXPECT_TRUE(std::regex_match(lines[0], about)) << lines[0];
}

TEST_F(CommandLoopTest, EndStopsReadingAndCarriageReturnsAreNotPartOfTheLine) {
    RecordingCommunicator engine("turn 1,2\r\nfoo\rbar\r\r\nend\r\nturn 3,4\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("turn 1,2", "other foo|", "other bar|"));
    EXPECT_FALSE(engine.running);
}

TEST_F(CommandLoopTest, EndOfInputWithoutEndReturnsFromTheLoop) {
    RecordingCommunicator engine("turn 1,2\nbegin");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("turn 1,2", "begin"));

    RecordingCommunicator silent("");
    RunLoop(silent);
    EXPECT_THAT(silent.calls, IsEmpty());
    EXPECT_THAT(silent.OutputLines(), IsEmpty());
}

TEST_F(CommandLoopTest, ScriptRunsFirstAndEveryLineIsEchoedAsRead) {
    directory.WriteFile("input.txt", "START 15\r\nabout\n");
    RecordingCommunicator engine("Turn 7,7\nend\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("start 15,15", "turn 7,7"));
    Lines lines = engine.OutputLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "START 15");
    EXPECT_EQ(lines[1], "about");
    EXPECT_THAT(lines[2], ::testing::StartsWith("name=\"Zomar\""));
    EXPECT_EQ(lines[3], "");  // the read that meets the script's end
    EXPECT_EQ(lines[4], "Turn 7,7");
    EXPECT_EQ(lines[5], "end");
}

TEST_F(CommandLoopTest, ScriptEndingTheRunLeavesStandardInputUnread) {
    directory.WriteFile("input.txt", "begin\nend");
    RecordingCommunicator engine("turn 1,1\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("begin"));
    EXPECT_THAT(engine.OutputLines(), ElementsAre("begin", "end"));
}

TEST_F(CommandLoopTest, EmptyScriptEchoesOneEmptyLine) {
    directory.WriteFile("input.txt", "");
    RecordingCommunicator engine("begin\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("begin"));
    EXPECT_THAT(engine.OutputLines(), ElementsAre("", "begin"));
}

TEST_F(CommandLoopTest, UnreadableScriptFallsThroughToStandardInput) {
    std::filesystem::create_directory(directory.Path() / "input.txt");
    RecordingCommunicator engine("begin\nend\n");
    RunLoop(engine);
    EXPECT_THAT(engine.calls, ElementsAre("begin"));
}

// The line-at-a-time seam of the browser build must act exactly as the loop.
TEST_F(CommandLoopTest, HandleLineActsAsTheLoopReadingTheSameLines) {
    const Lines script = {"START 20\r", "info Folder Games", "board", "10,10,1", "done", "Turn 7,9", "info rule",
                          "about", "mystery word", " skipped", ""};
    std::string text;
    for (const std::string& line : script) text += line + "\n";
    RecordingCommunicator looped(text);
    RunLoop(looped);
    RecordingCommunicator handed;
    {
        test::CurrentDirectoryScope inside(directory.Path());
        for (const std::string& line : script) handed.HandleLine(line);
    }
    EXPECT_EQ(handed.calls, looped.calls);
    EXPECT_EQ(handed.OutputLines(), looped.OutputLines());
    EXPECT_EQ(handed.folder, looped.folder);
}

TEST(Answers, EachOperationWritesOneLine) {
    RecordingCommunicator engine;
    engine.SendLine("OK");
    engine.SendError("Continual game not supported.");
    engine.SendMessage(":-)");
    engine.SendMove(3, 14);
    engine.SendMove(-1, 0);
    EXPECT_THAT(engine.OutputLines(),
                ElementsAre("OK", "ERROR Continual game not supported.", "MESSAGE :-)", "3,14", "-1,0"));
}

TEST(Answers, PictureIsElevenMessageLines) {
    RecordingCommunicator engine;
    engine.SendPicture();
    Lines lines = engine.OutputLines();
    ASSERT_EQ(lines.size(), 11u);
    for (const std::string& line : lines) {
        EXPECT_THAT(line, ::testing::StartsWith("MESSAGE "));
    }
    EXPECT_EQ(lines.front(), "MESSAGE    .-. ");
    EXPECT_EQ(lines[5], "MESSAGE   \\_)          /");
    EXPECT_EQ(lines.back(), "MESSAGE .'.-/`-. `.  .\\| ");
}

}  // namespace
}  // namespace zomar

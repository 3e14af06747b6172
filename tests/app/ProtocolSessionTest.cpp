#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/EngineProcess.h"

namespace zomar {
namespace {

using test::EngineProcess;
using test::RunEngine;
using test::TemporaryDirectory;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::Optional;

constexpr const char* AboutPattern =
    "name=\"Zomar\", version=\"3\\.2\", author=\"[^\"]+\", email=\"[^\"]+\", country=\"[^\"]+\", "
    "builded=\"[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\"";

// Each test runs the engine in a directory of its own, so that no stray
// "input.txt" becomes its script.
class ProtocolSession : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    std::string Where() const { return directory.Path().string(); }
    // The engine names its folder after its own file name without extension.
    static std::string ProgramName() { return std::filesystem::path(EngineProcess::EnginePath()).stem().string(); }
};

TEST_F(ProtocolSession, EndAloneWritesNothingAndExitsWithZero) {
    test::EngineRun run = RunEngine({"end"}, Where());
    EXPECT_THAT(run.lines, IsEmpty());
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(ProtocolSession, EveryAnswerArrivesBeforeTheNextCommandIsSent) {
    EngineProcess engine(Where());
    engine.Send("ABOUT");
    EXPECT_THAT(engine.ReadLine(), Optional(MatchesRegex(AboutPattern)));
    engine.Send("frobnicate 1,2");
    EXPECT_THAT(engine.ReadLine(), Optional(std::string("UNKNOWN")));
    engine.Send("info timeout_turn");
    EXPECT_THAT(engine.ReadLine(), Optional(std::string("ERROR uknown info format.")));
    engine.Send("info timeout_turn 5000");
    engine.Send("info colour black");
    engine.Send("about");
    EXPECT_THAT(engine.ReadLine(), Optional(MatchesRegex(AboutPattern)));
    engine.Send("end");
    EXPECT_EQ(engine.ReadLine(), std::nullopt);
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(ProtocolSession, ValueWithoutNumberEndsTheRunWithOneErrorLine) {
    test::EngineRun run = RunEngine({"about", "info timeout_turn abc", "about", "end"}, Where());
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_THAT(run.lines[0], MatchesRegex(AboutPattern));
    EXPECT_EQ(run.lines[1], "ERROR std::exception: StringToInt Conversion failed.");
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(ProtocolSession, InputEndingWithoutEndExitsWithZero) {
    test::EngineRun run = RunEngine({"about", "unknown"}, Where());
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[1], "UNKNOWN");
    EXPECT_EQ(run.exitCode, 0);

    EXPECT_EQ(RunEngine({}, Where()).exitCode, 0);
}

TEST_F(ProtocolSession, LinesWithBareLineFeedsOrNoneAtTheEndWorkToo) {
    EngineProcess engine(Where());
    engine.SendRaw("nonsense\nabout\r\nend");
    engine.CloseInput();
    std::vector<std::string> lines = engine.ReadAllLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "UNKNOWN");
    EXPECT_THAT(lines[1], MatchesRegex(AboutPattern));
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(ProtocolSession, ScriptFileRunsFirstWithEveryLineEchoed) {
    directory.WriteFile("input.txt", "About\r\nend\r\n");
    EngineProcess engine(Where());  // standard input stays open: the script alone ends the run
    std::vector<std::string> lines = engine.ReadAllLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "About");
    EXPECT_THAT(lines[1], MatchesRegex(AboutPattern));
    EXPECT_EQ(lines[2], "end");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(ProtocolSession, AfterTheScriptStandardInputIsReadAndEchoed) {
    directory.WriteFile("input.txt", "");
    test::EngineRun run = RunEngine({"Bogus", "end"}, Where());
    EXPECT_THAT(run.lines, ElementsAre("", "Bogus", "UNKNOWN", "end"));
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(ProtocolSession, FolderSettingCreatesTheProgramsOwnFolder) {
    std::string value = directory / "Managed";
    std::filesystem::create_directory(value);
    test::EngineRun run = RunEngine({"INFO FOLDER " + value, "end"}, Where());
    EXPECT_THAT(run.lines, IsEmpty());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(value) / ProgramName()));
}

TEST_F(ProtocolSession, FolderThatCannotBeMadeIsReportedAndTheRunGoesOn) {
    if (test::EngineProcess::RunsThroughLauncher()) GTEST_SKIP() << "the path is the host's";
    std::string missing = directory / "missing/deeper";
    test::EngineRun run = RunEngine({"info folder " + missing, "unknown", "end"}, Where());
    EXPECT_THAT(run.lines,
                ElementsAre("ERROR Failed to create directory " + missing + "/" + ProgramName(), "UNKNOWN"));
    EXPECT_EQ(run.exitCode, 0);
}

}  // namespace
}  // namespace zomar

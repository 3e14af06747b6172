#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "referee/BrainProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::referee {
namespace {

// A brain that is a shell script.
BrainProcess Shell(const std::string& script, const std::string& folder = "") {
    return BrainProcess({"sh", "-c", script}, folder);
}

constexpr int Patience = 10000;

TEST(BrainProcess, LinesLoseTheirEndsAndAnUnendedLastLineStillCounts) {
    BrainProcess brain({"printf", "OK\\r\\nMESSAGE hi\\n\\n4,5"}, "");
    EXPECT_EQ(brain.ReadLine(Patience), "OK");
    EXPECT_EQ(brain.ReadLine(Patience), "MESSAGE hi");
    EXPECT_EQ(brain.ReadLine(Patience), "");
    EXPECT_FALSE(brain.OutputEnded());
    EXPECT_EQ(brain.ReadLine(Patience), "4,5");
    EXPECT_EQ(brain.ReadLine(Patience), std::nullopt);
    EXPECT_TRUE(brain.OutputEnded());
    EXPECT_EQ(brain.Finish(Patience), 0);
}

TEST(BrainProcess, ReadingAllLinesStopsAtTheTimeoutWhileTheOutputStaysOpen) {
    BrainProcess brain = Shell("printf 'a\\nb\\nc'; exec sleep 60");
    EXPECT_EQ(brain.ReadLine(Patience), "a");
    EXPECT_EQ(brain.ReadLine(Patience), "b");
    EXPECT_EQ(brain.ReadAllLines(20), std::vector<std::string> {});
    EXPECT_FALSE(brain.OutputEnded());
    brain.Kill();
    EXPECT_EQ(brain.ReadAllLines(Patience), std::vector<std::string> {"c"});
    EXPECT_TRUE(brain.OutputEnded());
}

TEST(BrainProcess, SendsCrLfAndReadsTheAnswer) {
    BrainProcess brain = Shell("IFS= read -r line; printf '[%s]\\n' \"$line\"; cat");
    EXPECT_EQ(brain.ReadWaitingLine(), std::nullopt);
    ASSERT_TRUE(brain.Send("START 15"));
    EXPECT_EQ(brain.ReadLine(Patience), "[START 15\r]");
    ASSERT_TRUE(brain.Send("BEGIN"));
    EXPECT_EQ(brain.ReadLine(Patience), "BEGIN");
    // Finish closes the input, so cat ends.
    EXPECT_EQ(brain.Finish(Patience), 0);
    EXPECT_FALSE(brain.Send("END"));
}

TEST(BrainProcess, ExitCodesSignalsAndKills) {
    EXPECT_EQ(Shell("exit 3").Finish(Patience), 3);
    EXPECT_EQ(Shell("kill -TERM $$").Finish(Patience), 128 + 15);
    EXPECT_EQ(BrainProcess({"/nonexistent/brain"}, "").Finish(Patience), 127);

    BrainProcess stuck = Shell("exec sleep 60");
    EXPECT_EQ(stuck.Finish(50), -1);
    EXPECT_TRUE(stuck.HasExited());
    EXPECT_EQ(stuck.ExitCode(), -1);

    BrainProcess killed = Shell("exec sleep 60");
    EXPECT_FALSE(killed.HasExited());
    killed.Kill();
    EXPECT_EQ(killed.ExitCode(), 128 + 9);
    EXPECT_GT(killed.PeakMemoryBytes(), 0u);
}

// With SIGCHLD ignored the system reaps the brain itself: it counts as ended
// at once, and its pid (perhaps another process's by then) is never signalled.
TEST(BrainProcess, ABrainReapedElsewhereHasEndedWithoutACode) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    sigaction(SIGCHLD, &ignore, &previous);
    {
        BrainProcess brain = Shell("exit 0");
        EXPECT_EQ(brain.ReadLine(Patience), std::nullopt);
        EXPECT_EQ(brain.Finish(Patience), -1);
        EXPECT_TRUE(brain.HasExited());
    }
    sigaction(SIGCHLD, &previous, nullptr);
}

TEST(BrainProcess, FinishReadsOnSoABrainWithAFullPipeCanEnd) {
    BrainProcess chatty = Shell("head -c 1000000 /dev/zero");
    EXPECT_EQ(chatty.Finish(Patience), 0);
}

TEST(BrainProcess, RunsInItsFolderAndItsOwnSessionWithoutTerminal) {
    test::TemporaryDirectory folder;
    BrainProcess brain = Shell("pwd -P; read -r pid comm state ppid group session tty rest < /proc/$$/stat; "
                               "[ \"$session\" = $$ ] && [ \"$tty\" = 0 ] && echo detached",
                               folder.Path().string());
    EXPECT_EQ(brain.ReadLine(Patience), std::filesystem::canonical(folder.Path()).string());
    EXPECT_EQ(brain.ReadLine(Patience), "detached");
    EXPECT_EQ(brain.Finish(Patience), 0);

    EXPECT_EQ(Shell("true", folder / "missing").Finish(Patience), 126);
}

TEST(BrainProcess, CommandsAreSplitAtBlanksAndMustNotBeEmpty) {
    EXPECT_THROW(BrainProcess({}, ""), std::runtime_error);
    EXPECT_EQ(SplitCommand("  wine  brain.exe "), (std::vector<std::string> {"wine", "brain.exe"}));
}

}  // namespace
}  // namespace zomar::referee

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
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

// Whether the process is gone (or a zombie nobody has reaped yet), waiting
// for it up to Patience.
bool Ends(pid_t pid) {
    for (int waited = 0; waited < Patience; waited += 10) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, state;
        if (!(stat >> id >> name >> state) || state == "Z") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// What a brain starts ends with it, whether it exits, is killed or loses the
// process that started it: nothing is left to hold the caller's output open.
TEST(BrainProcess, EndsWithWhatItStartedAndWithItsStarter) {
    BrainProcess exits = Shell("sleep 60 & echo $!");
    const std::optional<std::string> orphan = exits.ReadLine(Patience);
    ASSERT_TRUE(orphan);
    EXPECT_EQ(exits.Finish(Patience), 0);
    EXPECT_TRUE(Ends(std::stoi(*orphan)));

    BrainProcess killed = Shell("sleep 60 & echo $!; wait");
    const std::optional<std::string> job = killed.ReadLine(Patience);
    ASSERT_TRUE(job);
    killed.Kill();
    EXPECT_TRUE(Ends(std::stoi(*job)));

    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t starter = fork();
    if (starter == 0) {
        BrainProcess brain = Shell("echo $$; exec sleep 60");
        const std::string pid = brain.ReadLine(Patience).value_or("0") + "\n";
        if (write(report[1], pid.data(), pid.size()) < 0) _exit(1);
        // A harness killed on a timeout runs no destructor.
        raise(SIGKILL);
    }
    close(report[1]);
    char text[32] = {};
    EXPECT_GT(read(report[0], text, sizeof text - 1), 0);
    close(report[0]);
    waitpid(starter, nullptr, 0);
    EXPECT_TRUE(Ends(std::atoi(text)));
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

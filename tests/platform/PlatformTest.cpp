#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../support/TemporaryDirectory.h"
#include "platform/Platform.h"

namespace zomar::platform {
namespace {

using test::TemporaryDirectory;
using Names = std::vector<std::string>;

TEST(Directories, CreatesOneLevelAndTellsDirectoriesFromFiles) {
    TemporaryDirectory root;
    std::string made = root / "made";
    EXPECT_FALSE(DirectoryExists(made));
    EXPECT_TRUE(MakeDirectory(made));
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_FALSE(MakeDirectory(made));

    EXPECT_FALSE(MakeDirectory(root / "missing/child"));
    EXPECT_FALSE(DirectoryExists(root / "missing"));

    root.WriteFile("file", "x");
    EXPECT_FALSE(DirectoryExists(root / "file"));
    EXPECT_FALSE(MakeDirectory(root / "file"));
}

TEST(FindMatchingNames, ListsBareNamesInOrderWithOnlyStarAndQuestionMarkAsWildcards) {
    TemporaryDirectory root;
    for (const char* name : {"b2.txt", "a1.txt", "a[1].txt", ".hidden.txt", "notes"}) {
        root.WriteFile(name, "");
    }
    std::string prefix = root.Path().string() + PathSeparator;

    Names all;
    EXPECT_TRUE(FindMatchingNames(prefix + "*.txt", all));
    EXPECT_EQ(all, (Names {"a1.txt", "a[1].txt", "b2.txt"}));

    Names single;
    EXPECT_TRUE(FindMatchingNames(prefix + "?1.txt", single));
    EXPECT_EQ(single, (Names {"a1.txt"}));

    Names literal;
    EXPECT_TRUE(FindMatchingNames(prefix + "a[1].txt", literal));
    EXPECT_EQ(literal, (Names {"a[1].txt"}));

    Names exact;
    EXPECT_TRUE(FindMatchingNames(prefix + "notes", exact));
    EXPECT_EQ(exact, (Names {"notes"}));
}

TEST(FindMatchingNames, TakesTheDirectoryPartLiterally) {
    TemporaryDirectory root;
    std::filesystem::create_directory(root.Path() / "d*r");
    std::filesystem::create_directory(root.Path() / "dir");
    root.WriteFile("d*r/x.txt", "");
    root.WriteFile("dir/y.txt", "");

    Names names;
    EXPECT_TRUE(FindMatchingNames(root / "d*r" + PathSeparator + "*.txt", names));
    EXPECT_EQ(names, (Names {"x.txt"}));
}

TEST(FindMatchingNames, FailsWithoutTouchingTheListWhenNothingCanMatch) {
    TemporaryDirectory root;
    root.WriteFile("a.txt", "");
    std::string prefix = root.Path().string() + PathSeparator;
    Names names = {"kept"};
    EXPECT_FALSE(FindMatchingNames(prefix + "*.pos", names));
    EXPECT_FALSE(FindMatchingNames(prefix + "missing" + PathSeparator + "*", names));
    EXPECT_FALSE(FindMatchingNames(prefix, names));
    EXPECT_EQ(names, (Names {"kept"}));
}

TEST(WaitForKeyPress, ReturnsAtOnceWithoutATerminal) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setsid();  // a new session has no controlling terminal
        WaitForKeyPress();
        _exit(0);
    }
    int status = 0;
    pid_t done = 0;
    for (int waited = 0; waited < 10000 && done == 0; waited += 10) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "still waiting for a key after 10 s";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace zomar::platform

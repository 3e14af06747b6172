#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/Platform.h"

namespace zomar::platform {
namespace {

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

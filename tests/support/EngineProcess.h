#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.h"

namespace zomar::test {

// The real engine binary as a child process, driven over pipes like a manager
// drives it.
//
// The binary is ZOMAR_ENGINE_PATH (set by the build), or the environment
// variable ZOMAR_ENGINE when set. ZOMAR_ENGINE_LAUNCHER, when set, is a
// blank-separated command put in front of it (for example "wine").
//
// The child runs in its own session, so it has no controlling terminal (a
// key-press wait returns at once), in the given working directory (the
// test's current one when empty). Its standard error is the test's.
//
//     EngineProcess engine(directory.Path());
//     engine.Send("about");
//     std::optional<std::string> answer = engine.ReadLine();
//     engine.Send("end");
//     EXPECT_EQ(engine.WaitForExit(), 0);
class EngineProcess {
public:
    static constexpr int DefaultTimeoutMs = 10000;

    explicit EngineProcess(const std::string& workingDirectory = "");
    // Closes the engine's input, waits briefly for it to end, then kills it.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Writes `line` followed by CR LF, as managers do. False when the engine
    // no longer reads.
    bool Send(const std::string& line);
    // Writes the bytes unchanged.
    bool SendRaw(const std::string& bytes);
    // Ends the engine's standard input.
    void CloseInput();

    // The next output line without its line end (LF or CR LF); nothing when no
    // whole line arrives within the timeout or the output has ended.
    std::optional<std::string> ReadLine(int timeoutMs = DefaultTimeoutMs);
    // Every line until the engine closes its output (or the timeout passes).
    std::vector<std::string> ReadAllLines(int timeoutMs = DefaultTimeoutMs);

    // The exit code once the engine has ended; -1 when it is still running after
    // the timeout (it is then killed), 128 + n when signal n ended it.
    int WaitForExit(int timeoutMs = DefaultTimeoutMs);

    // The binary that the tests run.
    static std::string EnginePath();

private:
    bool ReadMore(int timeoutMs);

    pid_t child = -1;
    int toEngine = -1;
    int fromEngine = -1;
    std::string pending;
    bool outputEnded = false;
    std::optional<int> exitCode;
};

// Output and exit code of one whole run.
struct EngineRun {
    std::vector<std::string> lines;
    int exitCode = -1;
};

// Sends every line of `input` (each ended by CR LF), closes the input, and
// collects the output until the engine ends.
EngineRun RunEngine(const std::vector<std::string>& input, const std::string& workingDirectory = "",
                    int timeoutMs = EngineProcess::DefaultTimeoutMs);

}  // namespace zomar::test

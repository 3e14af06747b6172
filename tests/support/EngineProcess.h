#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {

// The real engine binary as a child process, driven over pipes like a manager
// drives it.
//
// The binary is ZOMAR_ENGINE_PATH (set by the build), or the environment
// variable ZOMAR_ENGINE when set. ZOMAR_ENGINE_LAUNCHER, when set, is a
// blank-separated command put in front of it (for example "wine").
//
// The engine runs in the given working directory (the test's current one when
// empty), in its own session and with the test's standard error, as every
// ChildProcess does.
//
//     EngineProcess engine(directory.Path());
//     engine.Send("about");
//     std::optional<std::string> answer = engine.ReadLine();
//     engine.Send("end");
//     EXPECT_EQ(engine.WaitForExit(), 0);
class EngineProcess : public ChildProcess {
public:
    explicit EngineProcess(const std::string& workingDirectory = "");
    // Closes the engine's input, waits briefly for it to end, then kills it.
    ~EngineProcess();

    // The binary that the tests run.
    static std::string EnginePath();
    // Whether the engine runs through ZOMAR_ENGINE_LAUNCHER (another system's
    // engine under an emulator): host paths and host memory figures mean
    // nothing to it.
    static bool RunsThroughLauncher();
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

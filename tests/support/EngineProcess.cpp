#include "support/EngineProcess.h"

#include <cstdlib>
#include <filesystem>

namespace zomar::test {

namespace {

// The launcher's words, then the engine.
std::vector<std::string> EngineCommand() {
    std::vector<std::string> command;
    if (const char* launcher = std::getenv("ZOMAR_ENGINE_LAUNCHER")) {
        command = SplitCommand(launcher);
    }
    command.push_back(EngineProcess::EnginePath());
    return command;
}

}  // namespace

bool EngineProcess::RunsThroughLauncher() { return std::getenv("ZOMAR_ENGINE_LAUNCHER") != nullptr; }

std::string EngineProcess::EnginePath() {
    const char* overridden = std::getenv("ZOMAR_ENGINE");
    std::string path = overridden != nullptr && *overridden != '\0' ? overridden : ZOMAR_ENGINE_PATH;
    std::error_code error;
    if (path.find('/') != std::string::npos) {
        std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (!error) {
            return absolute.string();
        }
    }
    return path;
}

EngineProcess::EngineProcess(const std::string& workingDirectory) : ChildProcess(EngineCommand(), workingDirectory) {}

EngineProcess::~EngineProcess() {
    CloseInput();
    WaitForExit(2000);
}

EngineRun RunEngine(const std::vector<std::string>& input, const std::string& workingDirectory,
                    int timeoutMs) {
    EngineProcess engine(workingDirectory);
    for (const std::string& line : input) {
        if (!engine.Send(line)) {
            break;
        }
    }
    engine.CloseInput();
    EngineRun run;
    run.lines = engine.ReadAllLines(timeoutMs);
    run.exitCode = engine.WaitForExit(timeoutMs);
    return run;
}

}  // namespace zomar::test

#include "referee/BrainProcess.h"

#include <stdexcept>

namespace zomar::referee {

namespace {

const std::vector<std::string>& NonEmpty(const std::vector<std::string>& command) {
    if (command.empty()) throw std::runtime_error("empty brain command");
    return command;
}

}  // namespace

BrainProcess::BrainProcess(const std::vector<std::string>& command, const std::string& workingDirectory)
    : ChildProcess(NonEmpty(command), workingDirectory) {}

int BrainProcess::Finish(int timeoutMs) {
    CloseInput();
    return WaitForExit(timeoutMs);
}

}  // namespace zomar::referee

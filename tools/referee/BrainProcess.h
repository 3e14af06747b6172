#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace zomar::referee {

using test::SplitCommand;

// One brain as a child process: its own session and working directory, pipes
// for its standard input and output, its standard error the referee's.
class BrainProcess : public test::ChildProcess {
public:
    // `command`: the program and its arguments.
    BrainProcess(const std::vector<std::string>& command, const std::string& workingDirectory);

    // Closes the input and waits up to `timeoutMs` for the exit, then kills.
    // The exit code, or 128 + signal; -1 when it had to be killed.
    int Finish(int timeoutMs);
};

}  // namespace zomar::referee

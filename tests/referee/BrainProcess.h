#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zomar::referee {

// One brain as a child process with pipes for its standard input and output,
// in its own session (no controlling terminal) and working directory. Its
// standard error stays the referee's, so sanitizer reports show.
class BrainProcess {
public:
    // `command`: the program and its arguments.
    BrainProcess(const std::vector<std::string>& command, const std::string& workingDirectory);
    // Kills the brain if it is still running.
    ~BrainProcess();
    BrainProcess(const BrainProcess&) = delete;
    BrainProcess& operator=(const BrainProcess&) = delete;

    // Writes `line` and CR LF. False when the brain no longer reads.
    bool Send(const std::string& line);

    // The next output line without its line end; nothing when no whole line
    // arrives within `timeoutMs` or the output has ended.
    std::optional<std::string> ReadLine(int timeoutMs);
    // A line that is already waiting, if any (no waiting).
    std::optional<std::string> ReadWaitingLine() { return ReadLine(0); }
    bool OutputEnded() const { return outputEnded && pending.empty(); }

    // Closes the input and waits up to `timeoutMs` for the exit, then kills.
    // The exit code, or 128 + signal; -1 when it had to be killed.
    int Finish(int timeoutMs);
    void Kill();
    bool HasExited();
    std::optional<int> ExitCode() const { return exitCode; }
    // Largest resident set of the brain in bytes, known once it has exited.
    std::uint64_t PeakMemoryBytes() const { return peakMemory; }

private:
    bool ReadMore(int timeoutMs);
    void Reap(int status, long maxRssKb);
    bool TryReap(bool block);

    pid_t child = -1;
    int toBrain = -1;
    int fromBrain = -1;
    std::string pending;
    bool outputEnded = false;
    std::optional<int> exitCode;
    std::uint64_t peakMemory = 0;
};

// Splits a command line at blanks (no quoting).
std::vector<std::string> SplitCommand(const std::string& text);

}  // namespace zomar::referee

#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zomar::test {

// A program run as a child process with pipes for its standard input and
// output, the way a manager runs a brain. The child has its own session, so
// no controlling terminal (a key-press wait returns at once), and the given
// working directory (ours when empty); its standard error is ours, so
// sanitizer reports show. It exits with 126 when it cannot enter the folder
// and 127 when the program cannot be started. Whatever it starts in its
// process group is killed when it ends or is killed, and the child itself
// dies with the process that started it.
class ChildProcess {
public:
    static constexpr int DefaultTimeoutMs = 10000;

    // `command`: the program (looked up on the PATH) and its arguments; not empty.
    ChildProcess(const std::vector<std::string>& command, const std::string& workingDirectory);
    // Kills the child if it is still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes `line` followed by CR LF, as managers do. False when the child
    // no longer reads.
    bool Send(const std::string& line);
    // Writes the bytes unchanged.
    bool SendRaw(const std::string& bytes);
    // Ends the child's standard input.
    void CloseInput();

    // The next output line without its line end (LF or CR LF); an unended
    // last line once the output has ended. Nothing when no whole line arrives
    // within `timeoutMs` or the output has ended.
    std::optional<std::string> ReadLine(int timeoutMs = DefaultTimeoutMs);
    // A line that is already waiting, if any (no waiting).
    std::optional<std::string> ReadWaitingLine() { return ReadLine(0); }
    // Every line until the child closes its output (or the timeout passes).
    std::vector<std::string> ReadAllLines(int timeoutMs = DefaultTimeoutMs);
    // True once the output has ended and every line of it was read.
    bool OutputEnded() const { return outputEnded && pending.empty(); }

    // Waits up to `timeoutMs` for the child to end, still reading its output
    // so that a child blocked on a full pipe can end. The exit code, or
    // 128 + n when signal n ended it; -1 when it was still running (it is
    // then killed) or cannot be waited for.
    int WaitForExit(int timeoutMs = DefaultTimeoutMs);
    void Kill();
    bool HasExited();
    std::optional<int> ExitCode() const { return exitCode; }
    // The child's process id (under a launcher, the launcher's).
    pid_t Pid() const { return child; }
    // Largest resident set of the child in bytes, known once it has exited.
    std::uint64_t PeakMemoryBytes() const { return peakMemory; }

private:
    bool ReadMore(int timeoutMs);
    bool TryReap(bool block);

    pid_t child = -1;
    int toChild = -1;
    int fromChild = -1;
    std::string pending;
    bool outputEnded = false;
    std::optional<int> exitCode;
    std::uint64_t peakMemory = 0;
};

// Splits a command line at blanks (no quoting).
std::vector<std::string> SplitCommand(const std::string& text);

}  // namespace zomar::test

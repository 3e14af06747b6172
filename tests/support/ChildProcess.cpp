#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zomar::test {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineIn(int timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

std::vector<std::string> SplitCommand(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& workingDirectory) {
    if (command.empty()) throw std::runtime_error("empty command");
    signal(SIGPIPE, SIG_IGN);  // a dead child shows as a failed Send, not a dead caller

    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        throw std::runtime_error("pipe failed");
    }
    const pid_t parent = getpid();
    child = fork();
    if (child == 0) {
        setsid();
        // A harness killed on a timeout runs no destructor: its child must not
        // go on searching and hold the harness's output open.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    if (child < 0) {
        close(input[1]);
        close(output[0]);
        throw std::runtime_error("fork failed");
    }
    toChild = input[1];
    fromChild = output[0];
}

ChildProcess::~ChildProcess() {
    Kill();
    CloseIfOpen(toChild);
    CloseIfOpen(fromChild);
}

bool ChildProcess::Send(const std::string& line) {
    return SendRaw(line + "\r\n");
}

bool ChildProcess::SendRaw(const std::string& bytes) {
    std::size_t written = 0;
    while (toChild >= 0 && written < bytes.size()) {
        const ssize_t n = write(toChild, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return toChild >= 0;
}

void ChildProcess::CloseInput() {
    CloseIfOpen(toChild);
}

bool ChildProcess::ReadMore(int timeoutMs) {
    if (outputEnded) return false;
    pollfd ready {fromChild, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(fromChild, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) {
        outputEnded = true;
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
    const Clock::time_point deadline = DeadlineIn(timeoutMs);
    for (;;) {
        const std::size_t end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        if (outputEnded) {
            if (pending.empty()) return std::nullopt;
            std::string rest;
            rest.swap(pending);
            return rest;
        }
        const int left = MillisecondsLeft(deadline);
        if (!ReadMore(left) && !outputEnded && left == 0) return std::nullopt;
    }
}

std::vector<std::string> ChildProcess::ReadAllLines(int timeoutMs) {
    const Clock::time_point deadline = DeadlineIn(timeoutMs);
    std::vector<std::string> lines;
    while (std::optional<std::string> line = ReadLine(MillisecondsLeft(deadline))) lines.push_back(*line);
    return lines;
}

bool ChildProcess::TryReap(bool block) {
    if (exitCode) return true;
    siginfo_t ended {};
    int waited;
    do {
        waited = waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT | (block ? 0 : WNOHANG));
    } while (waited < 0 && errno == EINTR);
    if (waited < 0) {
        // Reaped elsewhere: the pid may be another process's by now, so it is
        // never signalled again.
        exitCode = -1;
        return true;
    }
    if (ended.si_pid == 0) return false;
    // Until it is reaped the child's pid still names its group: what it
    // started (a launched engine, a shell's job) ends with it.
    kill(-child, SIGKILL);
    int status = 0;
    rusage usage {};
    pid_t done;
    do {
        done = wait4(child, &status, 0, &usage);
    } while (done < 0 && errno == EINTR);
    if (done < 0) {
        exitCode = -1;
        return true;
    }
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    peakMemory = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
    return true;
}

bool ChildProcess::HasExited() {
    return TryReap(false);
}

int ChildProcess::WaitForExit(int timeoutMs) {
    const Clock::time_point deadline = DeadlineIn(timeoutMs);
    while (!TryReap(false)) {
        if (MillisecondsLeft(deadline) == 0) {
            Kill();
            exitCode = -1;
            return -1;
        }
        if (!ReadMore(5)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return *exitCode;
}

void ChildProcess::Kill() {
    if (exitCode) return;
    kill(child, SIGKILL);
    TryReap(true);
}

}  // namespace zomar::test

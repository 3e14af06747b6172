#include "referee/BrainProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zomar::referee {

namespace {

using Clock = std::chrono::steady_clock;

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

BrainProcess::BrainProcess(const std::vector<std::string>& command, const std::string& workingDirectory) {
    if (command.empty()) throw std::runtime_error("empty brain command");
    signal(SIGPIPE, SIG_IGN);  // a dead brain shows as a failed Send

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
    child = fork();
    if (child == 0) {
        setsid();
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
    toBrain = input[1];
    fromBrain = output[0];
}

BrainProcess::~BrainProcess() {
    Kill();
    CloseIfOpen(toBrain);
    CloseIfOpen(fromBrain);
}

bool BrainProcess::Send(const std::string& line) {
    const std::string bytes = line + "\r\n";
    std::size_t written = 0;
    while (toBrain >= 0 && written < bytes.size()) {
        const ssize_t n = write(toBrain, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return toBrain >= 0;
}

bool BrainProcess::ReadMore(int timeoutMs) {
    if (outputEnded) return false;
    pollfd ready {fromBrain, POLLIN, 0};
    const int polled = poll(&ready, 1, timeoutMs);
    if (polled <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(fromBrain, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) {
        outputEnded = true;
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> BrainProcess::ReadLine(int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
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

void BrainProcess::Reap(int status, long maxRssKb) {
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    peakMemory = static_cast<std::uint64_t>(maxRssKb) * 1024;
}

bool BrainProcess::TryReap(bool block) {
    if (exitCode || child <= 0) return true;
    int status = 0;
    rusage usage {};
    pid_t done;
    do {
        done = wait4(child, &status, block ? 0 : WNOHANG, &usage);
    } while (done < 0 && errno == EINTR);
    if (done == child) {
        Reap(status, usage.ru_maxrss);
        return true;
    }
    return false;
}

bool BrainProcess::HasExited() {
    return TryReap(false);
}

int BrainProcess::Finish(int timeoutMs) {
    CloseIfOpen(toBrain);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!TryReap(false)) {
        if (MillisecondsLeft(deadline) == 0) {
            Kill();
            exitCode = -1;
            return -1;
        }
        // Keeps reading so that a brain blocked on a full pipe can still end.
        if (!ReadMore(5)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return *exitCode;
}

void BrainProcess::Kill() {
    if (exitCode || child <= 0) return;
    kill(child, SIGKILL);
    TryReap(true);
}

}  // namespace zomar::referee

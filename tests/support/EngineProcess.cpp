#include "support/EngineProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zomar::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

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

EngineProcess::EngineProcess(const std::string& workingDirectory) {
    signal(SIGPIPE, SIG_IGN);  // a dead engine shows as a failed Send, not a dead test

    std::vector<std::string> command;
    if (const char* launcher = std::getenv("ZOMAR_ENGINE_LAUNCHER")) {
        command = SplitWords(launcher);
    }
    command.push_back(EnginePath());
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
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
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) {
            _exit(126);
        }
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
    toEngine = input[1];
    fromEngine = output[0];
}

EngineProcess::~EngineProcess() {
    CloseInput();
    if (!exitCode) {
        WaitForExit(2000);
    }
    CloseIfOpen(fromEngine);
}

bool EngineProcess::Send(const std::string& line) {
    return SendRaw(line + "\r\n");
}

bool EngineProcess::SendRaw(const std::string& bytes) {
    std::size_t written = 0;
    while (toEngine >= 0 && written < bytes.size()) {
        ssize_t n = write(toEngine, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return toEngine >= 0;
}

void EngineProcess::CloseInput() {
    CloseIfOpen(toEngine);
}

bool EngineProcess::ReadMore(int timeoutMs) {
    if (outputEnded) {
        return false;
    }
    pollfd ready {fromEngine, POLLIN, 0};
    int polled = poll(&ready, 1, timeoutMs);
    if (polled <= 0) {
        return false;
    }
    char buffer[4096];
    ssize_t n = read(fromEngine, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
        return true;
    }
    if (n <= 0) {
        outputEnded = true;
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> EngineProcess::ReadLine(int timeoutMs) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::size_t end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        if (outputEnded) {
            if (pending.empty()) {
                return std::nullopt;
            }
            std::string rest;
            rest.swap(pending);
            return rest;
        }
        int left = MillisecondsLeft(deadline);
        if (!ReadMore(left) && left == 0) {
            return std::nullopt;
        }
    }
}

std::vector<std::string> EngineProcess::ReadAllLines(int timeoutMs) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<std::string> lines;
    while (std::optional<std::string> line = ReadLine(MillisecondsLeft(deadline))) {
        lines.push_back(*line);
    }
    return lines;
}

int EngineProcess::WaitForExit(int timeoutMs) {
    if (exitCode) {
        return *exitCode;
    }
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (MillisecondsLeft(deadline) == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            exitCode = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return *exitCode;
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

// The engine as a manager sees it: from starting the process to the "OK" of
// "start 20" (wall time), and the peak resident memory of a short game at the
// start-up memory limit.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>
#include <string>

namespace zomar {
namespace {

// One engine child on two pipes.
class EngineChild {
public:
    EngineChild() {
        int toChild[2];
        int fromChild[2];
        if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        mPid = fork();
        if (mPid < 0) throw std::runtime_error("fork failed");
        if (mPid == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            execl(ZOMAR_ENGINE_PATH, ZOMAR_ENGINE_PATH, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        mIn = toChild[1];
        mOut = fromChild[0];
    }
    EngineChild(const EngineChild&) = delete;
    EngineChild& operator=(const EngineChild&) = delete;
    ~EngineChild() {
        if (mIn >= 0) close(mIn);
        close(mOut);
        if (mPid > 0) waitpid(mPid, nullptr, 0);
    }

    void Send(const std::string& line) {
        const std::string text = line + "\n";
        if (write(mIn, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            throw std::runtime_error("write to the engine failed");
        }
    }

    // Reads lines until one that does not start with "DEBUG " or "MESSAGE ".
    std::string ReadAnswer() {
        for (;;) {
            std::string line;
            char c = 0;
            while (read(mOut, &c, 1) == 1 && c != '\n') line += c;
            if (c != '\n') throw std::runtime_error("the engine closed its output");
            if (line.rfind("DEBUG ", 0) != 0 && line.rfind("MESSAGE ", 0) != 0) return line;
        }
    }

    // Ends the engine and returns its peak resident memory in KiB.
    long Finish() {
        Send("end");
        close(mIn);
        mIn = -1;
        int status = 0;
        rusage usage{};
        wait4(mPid, &status, 0, &usage);
        mPid = -1;
        return usage.ru_maxrss;
    }

private:
    pid_t mPid = -1;
    int mIn = -1;
    int mOut = -1;
};

void BM_StartToFirstOk(benchmark::State& state) {
    try {
        for (auto _ : state) {
            EngineChild engine;
            engine.Send("start 20");
            const bool ok = engine.ReadAnswer() == "OK";
            state.PauseTiming();
            engine.Finish();
            state.ResumeTiming();
            if (!ok) {
                state.SkipWithError("start 20 was not answered OK");
                break;
            }
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}
BENCHMARK(BM_StartToFirstOk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// A few moves at the default memory limit: the first move sizes the table.
void BM_PeakMemoryOfAShortGame(benchmark::State& state) {
    long peakKiB = 0;
    try {
        for (auto _ : state) {
            EngineChild engine;
            engine.Send("info timeout_turn 300");
            engine.Send("start 20");
            engine.ReadAnswer();
            engine.Send("begin");
            engine.ReadAnswer();
            engine.Send("turn 9,9");
            engine.ReadAnswer();
            peakKiB = engine.Finish();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
}
BENCHMARK(BM_PeakMemoryOfAShortGame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace zomar

// The engine as a manager sees it: from starting the process to the "OK" of
// "start" (wall time), the first answer of a fresh process beside a later one,
// the peak resident memory of short games, and how fast a think ends on STOP
// or END.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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

    // Waits for the engine to end by itself, its input still open.
    void WaitForExit() {
        waitpid(mPid, nullptr, 0);
        mPid = -1;
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

// Argument: the board side.
void BM_StartToFirstOk(benchmark::State& state) {
    const std::string start = "start " + std::to_string(state.range(0));
    try {
        for (auto _ : state) {
            EngineChild engine;
            engine.Send(start);
            const bool ok = engine.ReadAnswer() == "OK";
            state.PauseTiming();
            engine.Finish();
            state.ResumeTiming();
            if (!ok) {
                state.SkipWithError("start was not answered OK");
                break;
            }
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}
BENCHMARK(BM_StartToFirstOk)->Arg(20)->Arg(127)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// From "begin" to the move line of a fresh process (the first answer sizes the
// search memory), beside the same answer after "restart" in that process.
// Argument: max_memory. The iteration time is the first answer.
void BM_FirstAnswer(benchmark::State& state) {
    const std::string memory = "info max_memory " + std::to_string(state.range(0));
    std::vector<double> first;
    std::vector<double> later;
    try {
        for (auto _ : state) {
            EngineChild engine;
            engine.Send(memory);
            engine.Send("info timeout_turn 100");
            engine.Send("start 20");
            engine.ReadAnswer();
            auto start = std::chrono::steady_clock::now();
            engine.Send("begin");
            engine.ReadAnswer();
            first.push_back(MillisecondsSince(start));
            state.SetIterationTime(first.back() / 1000);
            engine.Send("restart");
            engine.ReadAnswer();
            start = std::chrono::steady_clock::now();
            engine.Send("begin");
            engine.ReadAnswer();
            later.push_back(MillisecondsSince(start));
            engine.Finish();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    state.counters["first_median_ms"] = Median(first);
    state.counters["first_worst_ms"] = *std::max_element(first.begin(), first.end());
    state.counters["later_median_ms"] = Median(later);
}
BENCHMARK(BM_FirstAnswer)
    ->Arg(0)
    ->Arg(367001600)
    ->Arg(1073741824)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

// Peak resident memory of a game of three answers, two of them searched, on a
// board of the given side at the given max_memory (0: the default limit).
void BM_PeakMemoryBySize(benchmark::State& state) {
    long peakKiB = 0;
    try {
        for (auto _ : state) {
            EngineChild engine;
            engine.Send("info max_memory " + std::to_string(state.range(1)));
            engine.Send("info timeout_turn 300");
            engine.Send("start " + std::to_string(state.range(0)));
            engine.ReadAnswer();
            for (const char* line : {"begin", "turn 1,1", "turn 2,2"}) {
                engine.Send(line);
                engine.ReadAnswer();
            }
            peakKiB = engine.Finish();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakKiB) * 1024 / 1e6;
}
BENCHMARK(BM_PeakMemoryBySize)
    ->ArgsProduct({{15, 20, 30, 60, 127}, {10000000, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// A quiet 20 x 20 position whose search would take the whole (long) turn.
constexpr const char* LongThinkLines[] = {"board", "10,10,2", "10,11,1", "12,12,2", "8,9,1", "done"};
// How long the engine thinks before the manager interrupts it.
constexpr auto ThinkBeforeInterrupt = std::chrono::milliseconds(60);

void SetUpLongThinks(EngineChild& engine) {
    engine.Send("info timeout_turn 600000");
    engine.Send("info time_left 100000000");
    engine.Send("start 20");
    engine.ReadAnswer();
}

void StartLongThink(EngineChild& engine) {
    for (const char* line : LongThinkLines) engine.Send(line);
    std::this_thread::sleep_for(ThinkBeforeInterrupt);
}

void ReportLatencies(benchmark::State& state, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters["trials"] = static_cast<double>(ms.size());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["worst_ms"] = ms.back();
}

// From STOP to the move line, each trial a fresh search of the same position
// in one process. The iteration time is that latency.
void BM_StopToMove(benchmark::State& state) {
    std::vector<double> latencies;
    try {
        EngineChild engine;
        SetUpLongThinks(engine);
        for (auto _ : state) {
            StartLongThink(engine);
            const auto stopped = std::chrono::steady_clock::now();
            engine.Send("stop");
            engine.ReadAnswer();
            latencies.push_back(MillisecondsSince(stopped));
            state.SetIterationTime(latencies.back() / 1000);
        }
        engine.Finish();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    ReportLatencies(state, latencies);
}
BENCHMARK(BM_StopToMove)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1000);

// From END during a think to the end of the process, a fresh process each trial.
void BM_EndToExit(benchmark::State& state) {
    std::vector<double> latencies;
    try {
        for (auto _ : state) {
            EngineChild engine;
            SetUpLongThinks(engine);
            StartLongThink(engine);
            const auto ended = std::chrono::steady_clock::now();
            engine.Send("end");
            engine.WaitForExit();
            latencies.push_back(MillisecondsSince(ended));
            state.SetIterationTime(latencies.back() / 1000);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    ReportLatencies(state, latencies);
}
BENCHMARK(BM_EndToExit)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1000);

}  // namespace
}  // namespace zomar

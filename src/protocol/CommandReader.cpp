#include "protocol/CommandReader.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <istream>
#include <mutex>

#include "util/LineEnding.h"

namespace zomar {

namespace {

using Clock = std::chrono::steady_clock;

// A think waits at most this long for the reader to take in what was written
// before it began (well within the answers' safety margin).
constexpr std::chrono::milliseconds CatchUpLimit{20};

enum class LineKind { Other, Stop, End };

LineKind KindOf(const std::string& line) {
    const std::string command = CommandOf(line);
    if (command == "stop" || command == "yxstop") return LineKind::Stop;
    return command == "end" ? LineKind::End : LineKind::Other;
}

std::atomic<bool> leftBlocked{false};

std::int32_t MsSince(Clock::time_point then) {
    return static_cast<std::int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - then).count());
}

}  // namespace

struct CommandReader::Channel {
    struct Line {
        std::string text;
        LineKind kind = LineKind::Other;
        Clock::time_point readAt;
        bool endedPonder = false;
    };

    std::mutex mutex;
    std::condition_variable ready;
    std::deque<Line> lines;
    bool inputEnded = false;
    bool finished = false;  // the thread reads no more
    bool caughtUp = false;  // every byte written so far is read: the reader waits for more
    bool closed = false;    // the reader is gone: touch nothing of the engine
    bool thinking = false;
    ThinkKind kind = ThinkKind::Search;
    std::atomic<bool>* stop = nullptr;
    std::atomic<bool>* silenced = nullptr;

    // Called with the mutex held. A line arriving during a think may end it.
    bool Applies(const Line& line) {
        if (!thinking || closed) return false;
        if (kind == ThinkKind::Ponder) {
            stop->store(true);
            return true;
        }
        if (line.kind == LineKind::End) silenced->store(true);
        if (line.kind != LineKind::Other) stop->store(true);
        return false;
    }
};

namespace {

void ReadLines(const std::shared_ptr<CommandReader::Channel>& channel, std::istream& input) {
    LineReader lines(input);
    for (;;) {
        // Standard input reads through a buffer that also counts what waits in
        // the pipe, so that a session written at once is all taken in before a
        // think can hear any of it.
        const bool drained = input.rdbuf()->in_avail() <= 0;
        {
            const std::lock_guard<std::mutex> lock(channel->mutex);
            channel->caughtUp = drained;
            if (drained) channel->ready.notify_one();
        }
        CommandReader::Channel::Line line;
        const bool read = lines.Read(line.text);
        line.readAt = Clock::now();
        line.kind = KindOf(line.text);
        const std::lock_guard<std::mutex> lock(channel->mutex);
        channel->caughtUp = false;
        if (!read || channel->closed) {
            // A ponder search waits for the next line: there is none.
            if (channel->thinking && !channel->closed && channel->kind == ThinkKind::Ponder) channel->stop->store(true);
            channel->inputEnded = true;
            channel->finished = true;
            channel->ready.notify_one();
            return;
        }
        line.endedPonder = channel->Applies(line);
        const bool ends = line.kind == LineKind::End;
        channel->lines.push_back(std::move(line));
        channel->ready.notify_one();
        // END ends the process wherever it comes: nothing after it is read, and
        // the thread is not left waiting on the input.
        if (ends) {
            channel->finished = true;
            return;
        }
    }
}

}  // namespace

CommandReader::CommandReader(std::istream& input, std::atomic<bool>& stop, std::atomic<bool>& silenced,
                             bool inputMayBlock)
    : mChannel(std::make_shared<Channel>()), mMayBlock(inputMayBlock) {
    mChannel->stop = &stop;
    mChannel->silenced = &silenced;
    // A tied output stream would be flushed from the reading thread; every
    // answer is flushed as it is written anyway.
    input.tie(nullptr);
    mThread = std::thread(ReadLines, mChannel, std::ref(input));
}

CommandReader::~CommandReader() {
    bool finished = false;
    {
        const std::lock_guard<std::mutex> lock(mChannel->mutex);
        mChannel->closed = true;
        finished = mChannel->finished;
    }
    if (finished || !mMayBlock) {
        mThread.join();
    } else {
        leftBlocked.store(true);
        mThread.detach();
    }
}

bool CommandReader::LineWaiting() {
    const std::lock_guard<std::mutex> lock(mChannel->mutex);
    return !mChannel->lines.empty() || mChannel->inputEnded;
}

bool CommandReader::NextLine(std::string& line, std::int32_t& waitMs) {
    std::unique_lock<std::mutex> lock(mChannel->mutex);
    mChannel->ready.wait(lock, [this] { return !mChannel->lines.empty() || mChannel->inputEnded; });
    if (mChannel->lines.empty()) return false;
    Channel::Line& next = mChannel->lines.front();
    line = std::move(next.text);
    waitMs = next.endedPonder ? MsSince(next.readAt) : 0;
    mChannel->lines.pop_front();
    return true;
}

bool CommandReader::BeginThink(ThinkKind kind) {
    std::unique_lock<std::mutex> lock(mChannel->mutex);
    Channel& channel = *mChannel;
    if (kind == ThinkKind::Ponder) {
        if (!channel.caughtUp || !channel.lines.empty() || channel.inputEnded) return false;
    } else {
        // What was written before the think began waits its turn, as a whole
        // session written at once expects; only later lines can stop it.
        channel.ready.wait_for(lock, CatchUpLimit, [&channel] { return channel.caughtUp || channel.inputEnded; });
    }
    mChannel->thinking = true;
    mChannel->kind = kind;
    return true;
}

void CommandReader::EndThink() {
    const std::lock_guard<std::mutex> lock(mChannel->mutex);
    mChannel->thinking = false;
}

bool ReaderLeftBlocked() {
    return leftBlocked.load();
}

}  // namespace zomar

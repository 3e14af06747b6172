#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <thread>

#include "protocol/Communicator.h"

namespace zomar {

// Reads command lines on a thread of its own and keeps them, in order, for
// the command loop, so that a think hears what arrives meanwhile: STOP, YXSTOP
// and END end a search (END also silences the engine), any line ends a ponder
// search.
class CommandReader final : public ThinkWatch {
public:
    // stop and silenced are the engine's flags; the reader sets them only
    // between BeginThink and EndThink. A reader of input that may block
    // forever (standard input) is left behind when destroyed before the input
    // ends; any other is waited for, so such input must reach its end.
    CommandReader(std::istream& input, std::atomic<bool>& stop, std::atomic<bool>& silenced, bool inputMayBlock);
    ~CommandReader() override;
    CommandReader(const CommandReader&) = delete;
    CommandReader& operator=(const CommandReader&) = delete;

    // Whether a line, or the end of input, is there to take.
    bool LineWaiting();
    // Waits for the next line; false once the input has ended and every line
    // was taken. waitMs: how long the line waited for a ponder search to end.
    bool NextLine(std::string& line, std::int32_t& waitMs);

    bool BeginThink(ThinkKind kind) override;
    void EndThink() override;

    struct Channel;

private:
    std::shared_ptr<Channel> mChannel;
    std::thread mThread;
    bool mMayBlock;
};

// Whether a reader was left blocked on standard input: the process should
// then end without the C library's stream clean-up, which on some systems
// waits for the lock the reader holds.
bool ReaderLeftBlocked();

}  // namespace zomar

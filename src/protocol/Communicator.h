#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "protocol/MatchClock.h"

namespace zomar {

using BoardStone = std::array<std::uint32_t, 3>;  // x, y, field

// "info" keys and values are cut to this many characters.
constexpr std::size_t MaxInfoTextLength = 255;
// The memory limit used when the manager sets none (max_memory 0).
constexpr std::int32_t DefaultMaxMemory = 62914560;

// The command word of a line as the command loop reads it: lower case, after
// any leading blanks, up to the next blank, without the carriage return.
std::string CommandOf(std::string line);

// What lines that arrive during a think do to it: a search ends on STOP,
// YXSTOP or END, a ponder search on any line.
enum class ThinkKind { Search, Ponder };

// The reader of the command loop (protocol/CommandReader.h), as the engine's
// thinks see it.
class ThinkWatch {
public:
    virtual ~ThinkWatch() = default;
    // False when a ponder search should not start: a line already waits.
    virtual bool BeginThink(ThinkKind kind) = 0;
    virtual void EndThink() = 0;
};

// The protocol front end: settings, the command loop, the answer formats. Every
// game command becomes a virtual call that the engine implements.
class Communicator {
public:
    // Reads the protocol from std::cin and answers on std::cout.
    explicit Communicator(const std::string& programPath);
    // Reads the protocol from `input` and answers on `output` (both must outlive
    // the object). "input.txt" is still looked for in the current directory.
    Communicator(const std::string& programPath, std::istream& input, std::ostream& output);
    virtual ~Communicator() = default;

    Communicator(const Communicator&) = delete;
    Communicator& operator=(const Communicator&) = delete;

    // protocol/CommandLoop.cpp: reads the lines on a thread of its own, so that
    // a think hears STOP and END; interprets and answers them on this one.
    void CommandLoop();
    // Interprets one line as the loop would have read it; for hosts that hand
    // the engine its lines one at a time instead of through a stream.
    void HandleLine(const std::string& line);
    void Dispatch();

    // Every answer and diagnostic goes to this stream; write whole lines and flush.
    std::ostream& Output() { return *output; }

    void SendLine(const std::string& text);
    void SendError(const std::string& text);
    void SendMessage(const std::string& text);
    void SendMove(int x, int y);
    void SendPicture();
    // The one-line answer to "about".
    static std::string AboutLine();

    // The arguments of the current line for use as a file path or pattern: the
    // case of the line as read where file names are case-sensitive, lower case
    // where they are not. "info folder" takes its value from here.
    std::string PathArguments() const;

    void ParseInfo(const std::string& key, const std::string& value);
    void EnsureFolder(const std::string& value);

    virtual void OnTurn(std::uint32_t x, std::uint32_t y) = 0;
    virtual void OnBegin() = 0;
    virtual void OnBoard(std::vector<BoardStone> stones) = 0;
    // The list of YXBOARD: the position is set, nothing is answered.
    virtual void OnPosition(std::vector<BoardStone> stones);
    virtual void OnStart(std::uint32_t width, std::uint32_t height) = 0;
    virtual void OnRestart() = 0;
    virtual void OnTakeback(std::uint32_t x, std::uint32_t y) = 0;
    virtual void OnPlay(std::uint32_t x, std::uint32_t y) = 0;
    virtual void OnMaxMemory(std::int32_t bytes) = 0;
    virtual bool OnOtherCommand(const std::string& command, const std::string& arguments);
    virtual void OnRuleChanged(std::int32_t newRule);
    // Keys outside the settings table (for example "max_depth"); ignored by default.
    virtual void OnOtherInfo(const std::string& key, const std::string& value);
    // The command loop has no line to interpret and is about to wait for one.
    virtual void OnIdle();

    // Brackets a think. Until EndThink the lines the command loop's reader
    // reads set StopRequest as ThinkKind says, and END during a search
    // silences the engine for good. Without the reader (lines handed to
    // HandleLine) the flag stays clear.
    bool BeginThink(ThinkKind kind);
    void EndThink();
    const std::atomic<bool>& StopRequest() const { return stopRequest; }

    bool running = true;
    bool boardMode = false;
    // Whether the list being read is BOARD's, which asks for a move, or YXBOARD's.
    bool boardThinks = true;
    std::string currentLine;  // the line being interpreted, lowercased
    std::string lineAsRead;   // the same line before lowercasing
    std::int32_t max_memory = DefaultMaxMemory;
    std::int32_t game_type = 1;
    std::int32_t rule = 0;
    std::string folder;
    std::string programName;
    std::vector<BoardStone> boardStones;
    MatchClock matchClock;
    // How long the line being interpreted waited for a ponder search to end,
    // in milliseconds: its clock started when it was read.
    std::int32_t lineWaitMs = 0;

private:
    // The two numbers of a move; false, with an ERROR line, when it has none.
    bool ReadMove(const std::string& arguments, std::uint32_t (&xy)[2]);
    void DispatchInfo(const std::string& arguments);
    void DispatchListItems(const std::string& items);

    std::istream* input;
    std::ostream* output;
    // Standard input: its reader may be left blocked when the loop ends.
    bool inputMayBlock = false;
    // The command loop's reader while the loop runs.
    ThinkWatch* reader = nullptr;
    std::atomic<bool> stopRequest{false};
    std::atomic<bool> silenced{false};
};

// Brackets a think of the engine (see Communicator::BeginThink).
class ThinkWindow {
public:
    ThinkWindow(Communicator& communicator, ThinkKind kind)
        : mCommunicator(communicator), mOpen(communicator.BeginThink(kind)) {}
    ~ThinkWindow() {
        if (mOpen) mCommunicator.EndThink();
    }
    ThinkWindow(const ThinkWindow&) = delete;
    ThinkWindow& operator=(const ThinkWindow&) = delete;
    explicit operator bool() const { return mOpen; }

private:
    Communicator& mCommunicator;
    bool mOpen;
};

}  // namespace zomar

#pragma once

#include <array>
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

private:
    // The two numbers of a move; false, with an ERROR line, when it has none.
    bool ReadMove(const std::string& arguments, std::uint32_t (&xy)[2]);
    void DispatchInfo(const std::string& arguments);
    void DispatchListItems(const std::string& items);

    std::istream* input;
    std::ostream* output;
};

}  // namespace zomar

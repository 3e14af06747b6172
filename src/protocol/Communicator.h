#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/MsTimer.h"

namespace zomar {

struct MatchClock {
    std::int32_t timeout_turn = 1000;
    std::int32_t timeout_match = 30000;
    MsTimer matchTimer;  // its mark is the match deadline
};

using BoardStone = std::array<std::uint32_t, 3>;  // x, y, field

// The protocol front end: settings, the command loop, the answer formats. Every
// game command becomes a virtual call that the engine implements.
class Communicator {
public:
    explicit Communicator(const std::string& programPath);
    virtual ~Communicator() = default;

    void CommandLoop();
    void Dispatch();

    void SendLine(const std::string& text);
    void SendError(const std::string& text);
    void SendMessage(const std::string& text);
    void SendMove(int x, int y);
    void SendPicture();

    void ParseInfo(const std::string& key, const std::string& value);
    void EnsureFolder(const std::string& value);

    virtual void OnTurn(std::uint32_t x, std::uint32_t y) = 0;
    virtual void OnBegin() = 0;
    virtual void OnBoard(std::vector<BoardStone> stones) = 0;
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
    std::string currentLine;
    std::int32_t max_memory = 62914560;
    std::int32_t game_type = 1;
    std::int32_t rule = 0;
    std::string folder;
    std::string programName;
    std::vector<BoardStone> boardStones;
    MatchClock matchClock;
};

}  // namespace zomar

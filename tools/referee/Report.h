#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "referee/Referee.h"

namespace zomar::referee {

// One game's report: the setup, the result with its reason, the move count,
// the slowest answer against the turn limit, then one line per fault.
std::string DescribeGame(int number, int total, const GameReport& report, int turnMs);

// Totals over a run of games.
class Tally {
public:
    void Add(const GameReport& report);
    void AddFaults(const std::vector<Fault>& faults);

    // No crash, illegal move, overrun, ERROR or unexpected line, memory fault.
    bool Clean() const { return faultCount == 0; }
    int Faults(FaultKind kind) const { return byKind[static_cast<int>(kind)]; }

    // The closing lines: results by colour and by brain, faults by kind, the
    // slowest answer, and the brains' peak memory against max_memory.
    std::string Summary(const MatchOptions& options, std::uint64_t peakA, std::uint64_t peakB) const;

private:
    int games = 0;
    int blackWins = 0;
    int whiteWins = 0;
    int draws = 0;
    std::array<int, 2> seatWins {};
    std::array<int, FaultKindCount> byKind {};
    int faultCount = 0;
    int slowestMs = 0;
};

}  // namespace zomar::referee

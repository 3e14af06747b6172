#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "referee/BrainProcess.h"
#include "referee/GameRules.h"
#include "referee/Openings.h"

namespace zomar::referee {

// What managers send when a match has no time limit.
constexpr std::int32_t UnlimitedTimeLeft = 2147483647;

struct MatchOptions {
    std::array<std::vector<std::string>, 2> commands;  // brain A, brain B
    int turnMs = 200;
    int matchMs = 0;  // 0: no match limit
    int toleranceMs = 500;
    std::int64_t maxMemory = 67108864;
    bool checkMemory = true;  // a peak above max_memory is a fault
    int startTimeoutMs = 30000;
    bool freshProcess = false;  // one brain process per game, ended after it
    int gameType = 1;
    std::string folder;  // the "info folder" value
    std::array<std::vector<std::string>, 2> extraInfo;  // "key value" INFO lines per brain, sent last
};

// One game of the schedule.
struct GameSetup {
    int width = 15;
    int height = 15;
    int rule = 0;
    std::optional<Opening> opening;
    int blackSeat = 0;  // 0: brain A plays black, 1: brain B; with swap2 the proposer
    bool swap2 = false;  // opens with SWAP2BOARD instead of BEGIN or an opening
};

enum class FaultKind { Crash, IllegalMove, TimeOverrun, ErrorLine, UnexpectedLine, Memory, ForbiddenMove };
constexpr int FaultKindCount = 7;
const char* FaultKindName(FaultKind kind);

struct Fault {
    FaultKind kind;
    int seat;
    std::string detail;
};

struct GameReport {
    GameSetup setup;
    Stone winner = Stone::Empty;  // Empty: a draw
    std::string reason;
    int moves = 0;  // stones placed in the game, opening included
    int slowestMs = 0;
    int slowestSeat = -1;
    std::vector<Fault> faults;
    std::string swap2;  // the swap2 answers, "A three, B swap" and so on
    int swap2SlowestMs = 0;
};

// A move as brains write it, "x,y"; nothing when the text is not one.
std::optional<Point> ParseMove(const std::string& line);
std::string MoveText(Point point);
// The game ends lost by the seat, for `reason`.
void LoseGame(GameReport& report, int seat, const std::string& reason);

// Plays games between two brain processes the way tournament managers drive
// them and judges every move. The brains are started on demand, kept across
// games (RESTART, or START when the size changes) unless each game gets fresh
// processes, and restarted after a crash or an overrun.
class Referee {
public:
    // `transcript`, when given, receives every line sent and received.
    Referee(MatchOptions options, std::ostream* transcript = nullptr);
    ~Referee();

    GameReport PlayGame(const GameSetup& setup);
    // Sends END to the brains and collects their exit codes and peak memory;
    // the faults found then.
    std::vector<Fault> Finish();

    // Largest resident set of each seat's brain over all its processes.
    std::uint64_t PeakMemory(int seat) const { return seats[seat].peakMemory; }

private:
    struct Seat {
        std::unique_ptr<BrainProcess> process;
        int width = 0;
        int height = 0;
        int usedMs = 0;
        bool movedThisGame = false;
        std::uint64_t peakMemory = 0;
    };
    class Game;

    GameReport PlayMoves(const GameSetup& setup);
    // Asks the seat after sending it `lines` and a time_left line first; nothing,
    // with the game lost by the seat, on a crash or an overrun.
    std::optional<std::string> TimedAnswer(int seat, const std::vector<std::string>& lines, GameReport& report);
    // Swap2Opening.cpp: the swap2 opening as managers run it. The
    // stones placed go to board and history and the colours to
    // report.setup.blackSeat; false, with the game lost, on a wrong answer.
    bool PlaySwap2Opening(GameBoard& board, std::vector<Point>& history, GameReport& report);
    bool Prepare(int seat, const GameSetup& setup, std::vector<Fault>& faults);
    // Sends END to a running brain and records its exit code and peak memory.
    void EndBrain(int seat, std::vector<Fault>& faults);
    bool Send(int seat, const std::string& line);
    // The next line that is not MESSAGE or DEBUG; ERROR lines become faults.
    std::optional<std::string> ReadAnswer(int seat, int timeoutMs, std::vector<Fault>& faults);
    // Lines a brain wrote without being asked: faults unless diagnostics.
    void CheckUnaskedOutput(int seat, std::vector<Fault>& faults);
    void Retire(int seat, std::vector<Fault>* faults);

    MatchOptions options;
    std::ostream* transcript;
    std::array<Seat, 2> seats;
};

}  // namespace zomar::referee

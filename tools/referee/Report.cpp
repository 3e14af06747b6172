#include "referee/Report.h"

#include <cstdio>
#include <sstream>

namespace zomar::referee {

namespace {

std::string Mebibytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / 1048576.0);
    return text;
}

char SeatName(int seat) {
    return seat == 0 ? 'A' : 'B';
}

}  // namespace

std::string DescribeGame(int number, int total, const GameReport& report, int turnMs) {
    const GameSetup& setup = report.setup;
    std::ostringstream text;
    text << "game " << number << "/" << total << ": " << setup.width << "x" << setup.height << " rule " << setup.rule
         << ", "
         << (setup.opening ? "opening " + setup.opening->source
             : setup.swap2 ? "swap2 " + report.swap2 + " (slowest " + std::to_string(report.swap2SlowestMs) + " ms)"
                           : std::string("begin"))
         << ", black "
         << SeatName(setup.blackSeat) << ": ";
    if (report.winner == Stone::Empty) text << "draw";
    else text << ColourName(report.winner) << " (" << SeatName(report.winner == Stone::Black ? setup.blackSeat : 1 - setup.blackSeat) << ") wins";
    text << " by " << report.reason << ", " << report.moves << " moves, slowest answer " << report.slowestMs << " ms / "
         << turnMs << " ms";
    if (report.slowestSeat >= 0) text << " (" << SeatName(report.slowestSeat) << ")";
    text << '\n';
    for (const Fault& fault : report.faults) {
        text << "  fault: " << FaultKindName(fault.kind) << " by " << SeatName(fault.seat) << ": " << fault.detail
             << '\n';
    }
    return text.str();
}

void Tally::Add(const GameReport& report) {
    ++games;
    if (report.winner == Stone::Black) ++blackWins;
    if (report.winner == Stone::White) ++whiteWins;
    if (report.winner == Stone::Empty) ++draws;
    if (report.winner != Stone::Empty) {
        ++seatWins[report.winner == Stone::Black ? report.setup.blackSeat : 1 - report.setup.blackSeat];
    }
    if (report.slowestMs > slowestMs) slowestMs = report.slowestMs;
    AddFaults(report.faults);
}

void Tally::AddFaults(const std::vector<Fault>& faults) {
    for (const Fault& fault : faults) {
        ++byKind[static_cast<int>(fault.kind)];
        ++faultCount;
    }
}

std::string Tally::Summary(const MatchOptions& options, std::uint64_t peakA, std::uint64_t peakB) const {
    std::ostringstream text;
    text << "games " << games << ": black wins " << blackWins << ", white wins " << whiteWins << ", draws " << draws
         << "; A wins " << seatWins[0] << ", B wins " << seatWins[1] << '\n';
    text << "faults:";
    for (int kind = 0; kind < FaultKindCount; ++kind) {
        text << (kind == 0 ? " " : ", ") << FaultKindName(static_cast<FaultKind>(kind)) << " " << byKind[kind];
    }
    text << '\n';
    text << "slowest answer " << slowestMs << " ms / turn limit " << options.turnMs << " ms (tolerance "
         << options.toleranceMs << " ms)\n";
    text << "peak memory A " << Mebibytes(peakA) << ", B " << Mebibytes(peakB) << " / max_memory "
         << Mebibytes(static_cast<std::uint64_t>(options.maxMemory)) << '\n';
    return text.str();
}

}  // namespace zomar::referee

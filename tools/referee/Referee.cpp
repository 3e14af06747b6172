#include "referee/Referee.h"

#include <algorithm>
#include <chrono>
#include <ostream>
#include <stdexcept>

namespace zomar::referee {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ExitWaitMs = 5000;

char SeatName(int seat) {
    return seat == 0 ? 'A' : 'B';
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool IsDiagnostic(const std::string& line) {
    return StartsWith(line, "MESSAGE") || StartsWith(line, "DEBUG");
}

int ElapsedMs(Clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// A number of at most three digits with optional blanks around it.
std::optional<int> ParseCoordinate(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos || last - first >= 3) return std::nullopt;
    int value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<Point> ParseMove(const std::string& line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const std::optional<int> x = ParseCoordinate(line.substr(0, comma));
    const std::optional<int> y = ParseCoordinate(line.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return Point {*x, *y};
}

std::string MoveText(Point point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

namespace {

std::string StartCommand(const GameSetup& setup) {
    if (setup.width == setup.height) return "START " + std::to_string(setup.width);
    return "RECTSTART " + std::to_string(setup.width) + "," + std::to_string(setup.height);
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
    switch (kind) {
    case FaultKind::Crash: return "crash";
    case FaultKind::IllegalMove: return "illegal move";
    case FaultKind::TimeOverrun: return "time overrun";
    case FaultKind::ErrorLine: return "ERROR line";
    case FaultKind::UnexpectedLine: return "unexpected line";
    case FaultKind::Memory: return "memory over max_memory";
    case FaultKind::ForbiddenMove: return "forbidden move";
    }
    return "fault";
}

Referee::Referee(MatchOptions options, std::ostream* transcript)
    : options(std::move(options)), transcript(transcript) {}

Referee::~Referee() = default;

bool Referee::Send(int seat, const std::string& line) {
    if (transcript) *transcript << SeatName(seat) << " <- " << line << '\n';
    return seats[seat].process->Send(line);
}

std::optional<std::string> Referee::ReadAnswer(int seat, int timeoutMs, std::vector<Fault>& faults) {
    const Clock::time_point asked = Clock::now();
    for (;;) {
        const int left = std::max(0, timeoutMs - ElapsedMs(asked));
        std::optional<std::string> line = seats[seat].process->ReadLine(left);
        if (!line) return std::nullopt;
        if (transcript) *transcript << SeatName(seat) << " -> " << *line << '\n';
        if (IsDiagnostic(*line)) continue;
        if (StartsWith(*line, "ERROR")) {
            faults.push_back({FaultKind::ErrorLine, seat, *line});
            continue;
        }
        return line;
    }
}

void Referee::CheckUnaskedOutput(int seat, std::vector<Fault>& faults) {
    while (std::optional<std::string> line = seats[seat].process->ReadWaitingLine()) {
        if (transcript) *transcript << SeatName(seat) << " -> " << *line << '\n';
        if (IsDiagnostic(*line)) continue;
        const FaultKind kind = StartsWith(*line, "ERROR") ? FaultKind::ErrorLine : FaultKind::UnexpectedLine;
        faults.push_back({kind, seat, "unasked: " + *line});
    }
}

// Ends the seat's process (killing it if it still runs); a process that had
// already died is a crash when `faults` is given.
void Referee::Retire(int seat, std::vector<Fault>* faults) {
    Seat& s = seats[seat];
    if (!s.process) return;
    if (s.process->OutputEnded() || s.process->HasExited()) {
        const int code = s.process->Finish(ExitWaitMs);
        if (faults) faults->push_back({FaultKind::Crash, seat, "exited with code " + std::to_string(code)});
    } else {
        s.process->Kill();
    }
    s.peakMemory = std::max(s.peakMemory, s.process->PeakMemoryBytes());
    s.process.reset();
}

// Starts or restarts the seat's brain for a game and sends the settings;
// false when it does not answer OK.
bool Referee::Prepare(int seat, const GameSetup& setup, std::vector<Fault>& faults) {
    Seat& s = seats[seat];
    if (s.process && s.process->HasExited()) Retire(seat, &faults);
    const bool fresh = !s.process;
    if (fresh) s.process = std::make_unique<BrainProcess>(options.commands[seat], options.folder);
    else CheckUnaskedOutput(seat, faults);

    const bool sameSize = !fresh && s.width == setup.width && s.height == setup.height;
    Send(seat, sameSize ? "RESTART" : StartCommand(setup));
    const std::optional<std::string> answer = ReadAnswer(seat, options.startTimeoutMs, faults);
    if (answer != "OK") {
        if (answer) faults.push_back({FaultKind::UnexpectedLine, seat, "answer to start: " + *answer});
        else if (!s.process->OutputEnded()) faults.push_back({FaultKind::TimeOverrun, seat, "no answer to start"});
        Retire(seat, &faults);
        return false;
    }
    s.width = setup.width;
    s.height = setup.height;
    s.usedMs = 0;
    s.movedThisGame = false;
    Send(seat, "INFO timeout_turn " + std::to_string(options.turnMs));
    Send(seat, "INFO timeout_match " + std::to_string(options.matchMs));
    Send(seat, "INFO max_memory " + std::to_string(options.maxMemory));
    Send(seat, "INFO rule " + std::to_string(setup.rule));
    Send(seat, "INFO game_type " + std::to_string(options.gameType));
    Send(seat, "INFO folder " + options.folder);
    for (const std::string& line : options.extraInfo[seat]) Send(seat, "INFO " + line);
    return true;
}

GameReport Referee::PlayGame(const GameSetup& setup) {
    GameReport report = PlayMoves(setup);
    if (options.freshProcess) {
        for (int seat = 0; seat < 2; ++seat) EndBrain(seat, report.faults);
    }
    return report;
}

void LoseGame(GameReport& report, int seat, const std::string& reason) {
    report.winner = report.setup.blackSeat == seat ? Stone::White : Stone::Black;
    report.reason = reason + " of " + SeatName(seat);
}

std::optional<std::string> Referee::TimedAnswer(int seat, const std::vector<std::string>& lines, GameReport& report) {
    Seat& s = seats[seat];
    std::vector<Fault>& faults = report.faults;
    CheckUnaskedOutput(seat, faults);
    const int timeLeft = options.matchMs > 0 ? std::max(0, options.matchMs - s.usedMs) : UnlimitedTimeLeft;
    Send(seat, "INFO time_left " + std::to_string(timeLeft));
    for (const std::string& line : lines) Send(seat, line);

    const int limitMs = options.turnMs + options.toleranceMs;
    const Clock::time_point asked = Clock::now();
    std::optional<std::string> answer = ReadAnswer(seat, limitMs, faults);
    const int elapsed = ElapsedMs(asked);
    if (elapsed > report.slowestMs) {
        report.slowestMs = elapsed;
        report.slowestSeat = seat;
    }
    if (!answer) {
        if (s.process->OutputEnded()) {
            Retire(seat, &faults);
            LoseGame(report, seat, "crash");
        } else {
            faults.push_back({FaultKind::TimeOverrun, seat, "no answer within " + std::to_string(limitMs) + " ms"});
            Retire(seat, nullptr);
            LoseGame(report, seat, "time overrun");
        }
        return std::nullopt;
    }
    s.usedMs += elapsed;
    if (options.matchMs > 0 && s.usedMs > options.matchMs + options.toleranceMs) {
        faults.push_back({FaultKind::TimeOverrun, seat, "match time used: " + std::to_string(s.usedMs) + " ms"});
        LoseGame(report, seat, "match time overrun");
        return std::nullopt;
    }
    return answer;
}

GameReport Referee::PlayMoves(const GameSetup& setup) {
    GameReport report;
    report.setup = setup;
    std::vector<Fault>& faults = report.faults;
    const auto seatOf = [&](Stone colour) {
        return colour == Stone::Black ? report.setup.blackSeat : 1 - report.setup.blackSeat;
    };
    const auto lose = [&](int seat, const std::string& reason) { LoseGame(report, seat, reason); };

    const bool ready[2] = {Prepare(0, setup, faults), Prepare(1, setup, faults)};
    if (!ready[0] || !ready[1]) {
        if (ready[0] || ready[1]) lose(ready[0] ? 1 : 0, "no answer to start");
        else report.reason = "neither brain started";
        return report;
    }

    GameBoard board(setup.width, setup.height, setup.rule);
    std::vector<Point> history;
    if (setup.opening) {
        const std::optional<std::vector<Point>> stones = PlaceOpening(*setup.opening, setup.width, setup.height);
        if (!stones) throw std::runtime_error(setup.opening->source + ": opening does not fit the board");
        history = *stones;
        for (std::size_t i = 0; i < history.size(); ++i) board.Place(history[i], i % 2 == 0 ? Stone::Black : Stone::White);
    } else if (setup.swap2 && !PlaySwap2Opening(board, history, report)) {
        return report;
    }
    report.moves = static_cast<int>(history.size());
    Stone toMove = history.size() % 2 == 0 ? Stone::Black : Stone::White;

    for (;;) {
        if (board.IsFull()) {
            report.reason = "full board";
            return report;
        }
        const int seat = seatOf(toMove);
        Seat& s = seats[seat];
        std::vector<std::string> request;
        if (history.empty()) {
            request.push_back("BEGIN");
        } else if (!s.movedThisGame && (setup.opening || setup.swap2)) {
            request.push_back("BOARD");
            for (std::size_t i = 0; i < history.size(); ++i) {
                const Stone colour = i % 2 == 0 ? Stone::Black : Stone::White;
                request.push_back(MoveText(history[i]) + (colour == toMove ? ",1" : ",2"));
            }
            request.push_back("DONE");
        } else {
            request.push_back("TURN " + MoveText(history.back()));
        }
        const std::optional<std::string> answer = TimedAnswer(seat, request, report);
        if (!answer) return report;
        s.movedThisGame = true;

        const std::optional<Point> move = ParseMove(*answer);
        const Placement placement = move ? board.Place(*move, toMove) : Placement::OffBoard;
        if (!move || placement == Placement::OffBoard || placement == Placement::Occupied) {
            const char* what = !move ? "malformed" : placement == Placement::OffBoard ? "off the board" : "occupied";
            faults.push_back({FaultKind::IllegalMove, seat, std::string(what) + ": " + *answer});
            lose(seat, std::string("illegal move (") + what + ")");
            return report;
        }
        if (placement == Placement::Forbidden) {
            faults.push_back({FaultKind::ForbiddenMove, seat, *answer});
            lose(seat, "forbidden move");
            return report;
        }
        history.push_back(*move);
        ++report.moves;
        if (placement == Placement::Five) {
            report.winner = toMove;
            report.reason = "five";
            return report;
        }
        toMove = Opponent(toMove);
    }
}

void Referee::EndBrain(int seat, std::vector<Fault>& faults) {
    Seat& s = seats[seat];
    if (!s.process) return;
    CheckUnaskedOutput(seat, faults);
    Send(seat, "END");
    const int code = s.process->Finish(ExitWaitMs);
    if (code != 0) faults.push_back({FaultKind::Crash, seat, "exit code " + std::to_string(code) + " after END"});
    s.peakMemory = std::max(s.peakMemory, s.process->PeakMemoryBytes());
    s.process.reset();
}

std::vector<Fault> Referee::Finish() {
    std::vector<Fault> faults;
    for (int seat = 0; seat < 2; ++seat) {
        Seat& s = seats[seat];
        EndBrain(seat, faults);
        if (options.checkMemory && s.peakMemory > static_cast<std::uint64_t>(options.maxMemory)) {
            faults.push_back({FaultKind::Memory, seat, "peak " + std::to_string(s.peakMemory) + " bytes"});
        }
    }
    return faults;
}

}  // namespace zomar::referee

// The swap2 opening as managers run it. The first player (the game's black
// seat, until the answers decide) places three stones; the second answers
// SWAP (it takes black, the first plays white's fourth stone), one white
// stone (it stays white) or a white and a black stone, and then the first
// answers SWAP (it takes black) or white's sixth stone. Then BOARD, the stones
// seen from the side to move.
#include <algorithm>
#include <chrono>
#include <sstream>

#include "referee/Referee.h"

namespace zomar::referee {

namespace {

char SeatName(int seat) {
    return seat == 0 ? 'A' : 'B';
}

std::vector<std::string> Swap2Request(const std::vector<Point>& stones) {
    std::vector<std::string> lines = {"SWAP2BOARD"};
    for (const Point& stone : stones) lines.push_back(MoveText(stone));
    lines.push_back("DONE");
    return lines;
}

// "SWAP" (case aside) or blank-separated moves; nothing when malformed.
struct Swap2Answer {
    bool swap = false;
    std::vector<Point> stones;
};

std::optional<Swap2Answer> ParseSwap2Answer(const std::string& line) {
    std::istringstream words(line);
    Swap2Answer answer;
    for (std::string word; words >> word;) {
        std::string upper = word;
        for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (upper == "SWAP" && !answer.swap && answer.stones.empty()) {
            answer.swap = true;
            continue;
        }
        const std::optional<Point> point = ParseMove(word);
        if (!point || answer.swap) return std::nullopt;
        answer.stones.push_back(*point);
    }
    if (!answer.swap && answer.stones.empty()) return std::nullopt;
    return answer;
}

}  // namespace

bool Referee::PlaySwap2Opening(GameBoard& board, std::vector<Point>& history, GameReport& report) {
    const int first = report.setup.blackSeat;
    const int second = 1 - first;
    // Asks the seat; its answer must be SWAP when allowed or one of the stone
    // counts, each stone legal for its colour.
    const auto ask = [&](int seat, bool swapAllowed, std::vector<std::size_t> counts) -> std::optional<Swap2Answer> {
        const auto asked = std::chrono::steady_clock::now();
        const std::optional<std::string> line = TimedAnswer(seat, Swap2Request(history), report);
        if (!line) return std::nullopt;
        const auto elapsed = std::chrono::steady_clock::now() - asked;
        report.swap2SlowestMs = std::max(
            report.swap2SlowestMs, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
        std::optional<Swap2Answer> answer = ParseSwap2Answer(*line);
        bool legal =
            answer && (answer->swap ? swapAllowed
                                    : std::find(counts.begin(), counts.end(), answer->stones.size()) != counts.end());
        for (std::size_t i = 0; legal && i < answer->stones.size(); ++i) {
            const Stone colour = history.size() % 2 == 0 ? Stone::Black : Stone::White;
            legal = board.Place(answer->stones[i], colour) == Placement::Placed;
            if (legal) history.push_back(answer->stones[i]);
        }
        if (!legal) {
            report.faults.push_back({FaultKind::IllegalMove, seat, "swap2 answer: " + *line});
            LoseGame(report, seat, "illegal swap2 answer");
            return std::nullopt;
        }
        const std::size_t placed = answer->stones.size();
        if (!report.swap2.empty()) report.swap2 += ", ";
        report.swap2 += SeatName(seat);
        report.swap2 += answer->swap ? " swap" : placed == 3 ? " three" : placed == 2 ? " two" : " white";
        return answer;
    };

    if (!ask(first, false, {3})) return false;
    const std::optional<Swap2Answer> choice = ask(second, true, {1, 2});
    if (!choice) return false;
    if (choice->swap) {
        report.setup.blackSeat = second;
    } else if (choice->stones.size() == 2) {
        const std::optional<Swap2Answer> last = ask(first, true, {1});
        if (!last) return false;
        report.setup.blackSeat = last->swap ? first : second;
    }
    return true;
}

}  // namespace zomar::referee

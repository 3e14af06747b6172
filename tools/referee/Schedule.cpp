#include "referee/Schedule.h"

#include <stdexcept>

namespace zomar::referee {

namespace {

// The first opening from `next` on (cyclically) that fits the board.
const Opening& NextFittingOpening(const std::vector<Opening>& openings, std::size_t& next, BoardSize size) {
    for (std::size_t tried = 0; tried < openings.size(); ++tried) {
        const Opening& opening = openings[next++ % openings.size()];
        if (PlaceOpening(opening, size.width, size.height)) return opening;
    }
    throw std::runtime_error("no opening fits a " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                             " board");
}

}  // namespace

std::vector<GameSetup> BuildSchedule(const ScheduleOptions& options) {
    if (options.sizes.empty() || options.rules.empty()) throw std::runtime_error("no board sizes or rules");
    const std::size_t combinations = options.sizes.size() * options.rules.size();
    std::vector<GameSetup> games;
    std::size_t nextOpening = 0;
    GameSetup pair;
    for (int i = 0; i < options.games; ++i) {
        const std::size_t p = static_cast<std::size_t>(i / 2);
        if (i % 2 == 0) {
            const BoardSize size = options.sizes[p % options.sizes.size()];
            const std::size_t round = p / combinations;
            const bool begins = options.openings.empty() ||
                                (options.beginEvery > 0 && round % static_cast<std::size_t>(options.beginEvery) == 0);
            pair = GameSetup {};
            pair.width = size.width;
            pair.height = size.height;
            pair.rule = options.rules[(p / options.sizes.size()) % options.rules.size()];
            pair.swap2 = options.swap2;
            if (!begins && !options.swap2) pair.opening = NextFittingOpening(options.openings, nextOpening, size);
        }
        pair.blackSeat = i % 2;
        games.push_back(pair);
    }
    return games;
}

}  // namespace zomar::referee

#include "search/ABPNSEngine.h"

#include <algorithm>
#include <thread>

#include "board/Geometry.h"
#include "util/NumberParsing.h"

namespace zomar {

ABPNSEngine::ABPNSEngine(const std::string& programPath) : SearchEngine(programPath) {
    NewBoard();
    CheckBoardImageSize();
}

ABPNSEngine::ABPNSEngine(const std::string& programPath, std::istream& input, std::ostream& output)
    : SearchEngine(programPath, input, output) {
    NewBoard();
    CheckBoardImageSize();
}

ABPNSEngine::~ABPNSEngine() = default;

// Search boards are copied as one flat image into a fixed area; the start-up
// size must fit it.
void ABPNSEngine::CheckBoardImageSize() {
    const ListBoard probe(BoardKind::Search);
    if (BoardImageOffset + probe.FlatImageSize() > MAX_BOARD_SIZE_BYTES) {
        SendError("MAX_BOARD_SIZE_BYTES is too small");
    }
}

void ABPNSEngine::PlayMove(Coord point, bool /*byOpponent*/) {
    gameBoard->MakeMove(point);
}

void ABPNSEngine::NewBoard() {
    gameBoard.reset();
    gameBoard = std::make_unique<ListBoard>(BoardKind::Game);
}

void ABPNSEngine::OnMaxMemory(std::int32_t /*bytes*/) {}

bool ABPNSEngine::OnOtherCommand(const std::string& command, const std::string& /*arguments*/) {
    if (command != "testab") return false;
    RunSearchTest(PathArguments());
    return true;
}

// The managers' per-move limits (zero or a negative number lifts a limit) and
// the number of search threads.
void ABPNSEngine::OnOtherInfo(const std::string& key, const std::string& value) {
    if (key == "max_depth") {
        const std::int32_t depth = StringToInt(value);
        limits.maxDepth = depth > 0 ? static_cast<std::uint32_t>(depth) : 0;
    } else if (key == "max_node") {
        const std::int32_t nodes = StringToInt(value);
        limits.maxNodes = nodes > 0 ? static_cast<std::uint32_t>(nodes) : 0;
    } else if (key == "thread_num") {
        // More threads than cores would only share them.
        const std::int64_t cores = std::max(1u, std::thread::hardware_concurrency());
        searchThreads = static_cast<std::uint32_t>(std::clamp<std::int64_t>(StringToInt(value), 1, cores));
    }
}

}  // namespace zomar

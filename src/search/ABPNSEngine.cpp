#include "search/ABPNSEngine.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "board/Geometry.h"
#include "protocol/ThreatMap.h"
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
    // A new position drops a swap2 list left unfinished.
    swap2Stones.reset();
    gameBoard.reset();
    gameBoard = std::make_unique<ListBoard>(BoardKind::Game);
}

void ABPNSEngine::OnMaxMemory(std::int32_t /*bytes*/) {}

bool ABPNSEngine::OnOtherCommand(const std::string& command, const std::string& /*arguments*/) {
    if (TakesSwap2Line(command)) return true;
    if (command == "threats") {
        // The engine's colour is the one to move exactly when it is the engine's turn.
        const int toMove = gameBoard->ToMoveColour();
        SendLine(ThreatMapLine(*gameBoard, engineToMove ? toMove : 3 - toMove));
        return true;
    }
    if (command != "testab") return false;
    RunSearchTest(PathArguments());
    return true;
}

// The managers' per-move limits (zero or a negative number lifts a limit) and
// the number of search threads. They are an extension: a value that is not a
// number is reported and ignored.
void ABPNSEngine::OnOtherInfo(const std::string& key, const std::string& value) {
    if (key != "max_depth" && key != "max_node" && key != "thread_num") return;
    const std::optional<std::int32_t> number = ReadInt(value);
    if (!number) {
        SendError("Ignored " + key + " " + value + ": not a number.");
        return;
    }
    if (key == "thread_num") {
        // More threads than cores would only share them.
        const std::int64_t cores = std::max(1u, std::thread::hardware_concurrency());
        searchThreads = static_cast<std::uint32_t>(std::clamp<std::int64_t>(*number, 1, cores));
        return;
    }
    std::uint32_t& limit = key == "max_depth" ? limits.maxDepth : limits.maxNodes;
    limit = *number > 0 ? static_cast<std::uint32_t>(*number) : 0;
}

}  // namespace zomar

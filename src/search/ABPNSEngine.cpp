#include "search/ABPNSEngine.h"

#include <optional>

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

// The managers' per-move limits; zero or a negative number lifts the limit.
// They are an extension: a value that is not a number is reported and ignored.
void ABPNSEngine::OnOtherInfo(const std::string& key, const std::string& value) {
    std::uint32_t* limit = key == "max_depth" ? &limits.maxDepth : key == "max_node" ? &limits.maxNodes : nullptr;
    if (limit == nullptr) return;
    const std::optional<std::int32_t> number = ReadInt(value);
    if (!number) {
        SendError("Ignored " + key + " " + value + ": not a number.");
        return;
    }
    *limit = *number > 0 ? static_cast<std::uint32_t>(*number) : 0;
}

}  // namespace zomar

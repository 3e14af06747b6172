#include "search/ABPNSEngine.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <thread>

#include "board/Geometry.h"
#include "platform/Platform.h"
#include "protocol/ThreatMap.h"
#include "util/NumberParsing.h"

namespace zomar {

namespace {

// "info hash_size" is read as a 32-bit number of kilobytes: no table is
// larger than 2^30 kilobytes.
constexpr int MaxHashSizeLog2Kb = 30;

std::uint32_t UsableCores() { return std::max(1u, std::thread::hardware_concurrency()); }

// The largest table the process can build, as the power of two of its
// kilobytes: the memory it can reach, or the default limit when that is unknown.
int LargestTableLog2Kb() {
    std::uint64_t reachable = DefaultMaxMemory;
    std::uint64_t headroom = 0;
    std::uint64_t workingSet = 0;
    if (platform::QueryMemoryHeadroom(headroom) && platform::QueryWorkingSetSize(workingSet)) {
        reachable = workingSet + headroom;
    }
    const int log2Kb = static_cast<int>(std::bit_width(std::max<std::uint64_t>(reachable / 1024, 1))) - 1;
    return std::min(log2Kb, MaxHashSizeLog2Kb);
}

}  // namespace

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

// A table sized for another limit goes at once; the next think sizes the new
// one.
void ABPNSEngine::OnMaxMemory(std::int32_t bytes) {
    maxMemorySent = bytes != 0;
    if (TableMemoryLimit() != tableSizing.memoryLimit) transpositionTable.reset();
}

void ABPNSEngine::DropTable() {
    transpositionTable.reset();
    firstThinkDone = false;
}

bool ABPNSEngine::OnOtherCommand(const std::string& command, const std::string& arguments) {
    if (OnAnalysisCommand(command, arguments)) return true;
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

bool ABPNSEngine::OnAnalysisCommand(const std::string& command, const std::string& arguments) {
    if (command == "yxshowforbid") {
        SendLine(ForbiddenPointsLine(*gameBoard));
    } else if (command == "yxshowinfo") {
        SendMessage("INFO MAX_THREAD_NUM " + std::to_string(UsableCores()));
        SendMessage("INFO MAX_HASH_SIZE " + std::to_string(LargestTableLog2Kb()));
    } else if (command == "yxhashclear") {
        DropTable();
    } else if (command == "yxnbest") {
        std::uint32_t wanted = 1;
        ScanUnsigneds(arguments, &wanted, 1);
        candidatesWanted = std::max(wanted, 1u);
        ThinkAndAnswer();
        candidatesWanted = 1;
    } else {
        return false;
    }
    return true;
}

// The managers' per-move limits (zero or a negative number lifts a limit) and
// the number of search threads. They are an extension: a value that is not a
// number is reported and ignored.
void ABPNSEngine::OnOtherInfo(const std::string& key, const std::string& value) {
    if (key != "max_depth" && key != "max_node" && key != "thread_num" && key != "hash_size" &&
        key != "show_detail" && key != "pondering") {
        return;
    }
    const std::optional<std::int32_t> number = ReadInt(value);
    if (!number) {
        SendError("Ignored " + key + " " + value + ": not a number.");
        return;
    }
    if (key == "pondering") {
        pondering = *number != 0;
        return;
    }
    if (key == "thread_num") {
        // More threads than cores would only share them.
        searchThreads = static_cast<std::uint32_t>(std::clamp<std::int64_t>(*number, 1, UsableCores()));
        return;
    }
    if (key == "show_detail") {
        detail.SetDetail(static_cast<std::uint32_t>(std::max(*number, 0)));
        return;
    }
    if (key == "hash_size") {
        hashSizeKb = std::max(*number, 0);
        if (TableMemoryLimit() != tableSizing.memoryLimit) transpositionTable.reset();
        return;
    }
    std::uint32_t& limit = key == "max_depth" ? limits.maxDepth : limits.maxNodes;
    limit = *number > 0 ? static_cast<std::uint32_t>(*number) : 0;
}

}  // namespace zomar

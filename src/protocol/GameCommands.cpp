#include "analysis/PatternTables.h"
#include "analysis/ProcessTables.h"
#include "analysis/RenjuRestriction.h"
#include "board/Geometry.h"
#include "search/ABPNSEngine.h"

namespace zomar {

namespace {

// Who placed the last stone (lastMover); the first two are also the fields of
// a BOARD line, where 3 marks a continual game.
enum Mover : std::int32_t { EngineMover = 1, OpponentMover = 2, NobodyMoved = 4 };
constexpr std::uint32_t ContinualGameField = 3;

// Under renju the rules follow the colours, and the colours follow the stone
// counts: black has as many stones as white with black to move, or one more.
// The engine moves next, so the opponent is black exactly when it has one
// stone more. Counts that fit neither leave the engine black.
bool OpponentIsBlack(const std::vector<BoardStone>& stones) {
    if (!IsRenjuRule()) return false;
    std::vector<bool> taken(boardArea);
    std::int64_t opponentLead = 0;
    for (const auto& [x, y, field] : stones) {
        // Such stones are refused, or end the game, when they are placed.
        if (field == ContinualGameField || x >= boardWidth || y >= boardHeight) continue;
        if (taken[y * boardWidth + x]) continue;
        taken[y * boardWidth + x] = true;
        opponentLead += field == OpponentMover ? 1 : -1;
    }
    return opponentLead == 1;
}

}  // namespace

// Asks the search for the engine's move, answers it and plays it; a pass keeps
// the two sides alternating.
void ABPNSEngine::ThinkAndAnswer() {
    if (!engineToMove) {
        engineToMove = true;
        PlayMove(PassCoord, false);
    }
    SearchResult result;
    {
        const ThinkWindow think(*this, ThinkKind::Search);
        result = ThinkMove();
    }
    if (result.move >= boardArea) {
        SendError("No move to play: the board is full.");
        return;
    }
    const std::uint32_t x = result.move % boardWidth;
    const std::uint32_t y = result.move / boardWidth;
    SendMove(static_cast<int>(x), static_cast<int>(y));
    PlayFor(EngineMover, x, y);
    engineToMove = !engineToMove;
}

// With pondering on, the time between the engine's answer and the opponent's
// move goes to a search of the position the engine expects next.
void ABPNSEngine::OnIdle() {
    if (!pondering || engineToMove || lastMover != EngineMover || !transpositionTable) return;
    const ThinkWindow think(*this, ThinkKind::Ponder);
    if (think) Ponder();
}

// A side that moves twice in a row passed in between: the pass keeps each side
// on its colour.
void ABPNSEngine::PlayFor(std::int32_t mover, std::uint32_t x, std::uint32_t y) {
    if (lastMover == mover) PlayMove(PassCoord, false);
    lastMover = mover;
    PlayMove(CoordFromXY(x, y), mover == OpponentMover);
}

// A manager move onto a stone is refused: the position stays as it was rather
// than lose that stone.
bool ABPNSEngine::RefusesOccupiedPoint(std::uint32_t x, std::uint32_t y) {
    if (gameBoard->stone[CoordFromXY(x, y)] == EmptyCell) return false;
    SendError("Occupied point " + std::to_string(x) + "," + std::to_string(y));
    return true;
}

void ABPNSEngine::OnTurn(std::uint32_t x, std::uint32_t y) {
    if (RefusesOccupiedPoint(x, y)) return;
    PlayFor(OpponentMover, x, y);
    engineToMove = !engineToMove;
    ThinkAndAnswer();
}

void ABPNSEngine::OnBegin() {
    NewBoard();
    engineToMove = true;
    lastMover = NobodyMoved;
    ThinkAndAnswer();
}

// Every field other than the opponent's (2) is taken as the engine's stone, so
// that each side keeps one colour whatever the order of the list.
void ABPNSEngine::PlaceBoardStone(std::uint32_t field, std::uint32_t x, std::uint32_t y) {
    if (field == ContinualGameField) {
        SendError("Continual game not supported.");
        return;
    }
    if (RefusesOccupiedPoint(x, y)) return;
    PlayFor(field == OpponentMover ? OpponentMover : EngineMover, x, y);
    engineToMove = !engineToMove;
}

void ABPNSEngine::OnBoard(std::vector<BoardStone> stones) {
    SetPosition(stones);
    ThinkAndAnswer();
}

void ABPNSEngine::OnPosition(std::vector<BoardStone> stones) { SetPosition(stones); }

void ABPNSEngine::SetPosition(const std::vector<BoardStone>& stones) {
    NewBoard();
    // Black's first stone goes on without a pass: black takes the first colour.
    lastMover = OpponentIsBlack(stones) ? EngineMover : OpponentMover;
    for (const BoardStone& stone : stones) PlaceBoardStone(stone[2], stone[0], stone[1]);
    // The list may end with an engine stone; the engine's colour must be the one
    // to move when it thinks.
    if (lastMover == EngineMover) {
        PlayMove(PassCoord, false);
        lastMover = OpponentMover;
    }
    engineToMove = true;
}

void ABPNSEngine::OnStart(std::uint32_t width, std::uint32_t height) {
    // Boards hold arrays sized by the old tables: drop the board first.
    gameBoard.reset();
    // A table sized for another board goes before the new size's tables come,
    // so that the two never add up; the next think sizes the new one.
    if (width != tableSizing.width || height != tableSizing.height) transpositionTable.reset();
    BuildProcessTables(width, height, gameRule);
    engineToMove = false;
    lastMover = NobodyMoved;
    NewBoard();
    SendLine("OK");
}

void ABPNSEngine::OnRestart() {
    engineToMove = false;
    lastMover = NobodyMoved;
    NewBoard();
    SendLine("OK");
}

void ABPNSEngine::OnTakeback(std::uint32_t /*x*/, std::uint32_t /*y*/) {
    SendError("TAKEBACK not supported, use BOARD instead.");
}

// The engine has just moved, whichever side it was on before.
void ABPNSEngine::OnPlay(std::uint32_t x, std::uint32_t y) {
    if (RefusesOccupiedPoint(x, y)) return;
    PlayFor(EngineMover, x, y);
    engineToMove = false;
    SendMove(static_cast<int>(x), static_cast<int>(y));
}

}  // namespace zomar

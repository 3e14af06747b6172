#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "board/BoardAnalysis.h"
#include "board/Coord.h"
#include "board/GameRecord.h"
#include "board/RankingWorkArea.h"
#include "board/UndoLog.h"
#include "board/Geometry.h"

namespace zomar {

enum class BoardKind { Game, Search };

// The largest board area a board accepts; sides of at most 127 points stay far
// below it.
constexpr std::uint32_t MaxBoardArea = 65536;

// No owner in the border owner arrays.
constexpr std::uint16_t NoOwner = 0x7FFF;

// borderState values.
constexpr std::int32_t BorderExpanded = 0;  // a stone or a covered point, neighbours expanded
constexpr std::int32_t BorderListed = 1;    // on borderList
constexpr std::int32_t BorderOutside = 2;

// Candidate mark bits.
constexpr std::uint8_t MarkListed = 1;
// Set on candidates that the counter-four scan added without weight.
constexpr std::uint8_t MarkUnweightedBit = 4;
constexpr std::uint8_t MarkUnweightedCounterFour = MarkListed | MarkUnweightedBit;
constexpr std::uint8_t MarkExtension = 17;
constexpr std::uint8_t PlyThreatFlag = 8;

// The board the engine thinks on: the game record, the incrementally kept line
// words, categories and category lists, the evaluation work area and, on a
// search board, the border lists.
class ListBoard : public GameRecord, public BoardAnalysis {
public:
    // An empty board of the current size, on the current pattern tables; the
    // last undoDepth placements can be lifted without re-rating their lines.
    explicit ListBoard(BoardKind kind, std::uint32_t undoDepth = UndoLog::DefaultDepth);
    ListBoard(const ListBoard&) = delete;
    ListBoard& operator=(const ListBoard&) = delete;

    // A search board in the position of source, built by replaying its moves;
    // the first stone becomes colour 1 (under renju every stone keeps its
    // colour), and passes are replayed where the source's history needs them.
    static std::unique_ptr<ListBoard> CopySearchBoard(const ListBoard& source);

    // Places a stone for the side to move, lifts the last stone when c holds
    // it, or passes on PassCoord; true when a stone was placed.
    bool MakeMove(Coord c);
    // MakeMove plus the border update; raises on a game board. PassCoord only
    // hands the turn over and leaves the border as it is.
    bool MakeSearchMove(Coord c);

    // Packs the arrays one after another into buffer; returns the end.
    std::uint8_t* FlatCopy(std::uint8_t* buffer) const;
    // The number of bytes FlatCopy writes.
    std::size_t FlatImageSize() const;

    // The hash key of the position after the side to move places a stone on
    // the empty point c.
    std::uint64_t KeyAfterPlacing(Coord c) const {
        return hashKey ^ zobristKey[ToMoveColour() == Colour1 ? c : area + c];
    }

    BoardKind Kind() const { return kind; }
    // The number of points of the geometry the board was built on.
    std::uint32_t Area() const { return area; }

    std::uint64_t hashKey = 0;

    // Evaluation work area.
    std::uint8_t neighbourCandidates = 1;
    std::int32_t evalPointCount = 0;
    std::unique_ptr<Coord[]> candidateList;
    std::unique_ptr<std::uint8_t[]> candidateMark;
    std::uint32_t candidateCount = 0;
    const std::int32_t* borderStateRef = nullptr;  // null on a game board
    std::uint32_t evalFlags = 0;
    std::int32_t counterFourCount = -1;
    std::uint8_t listFinal = 1;
    RankingWorkArea ranking;

    // Border lists (search board only).
    std::unique_ptr<std::int32_t[]> borderState;
    std::unique_ptr<std::uint16_t[]> coverOwner;
    std::unique_ptr<std::uint16_t[]> borderOwner;
    std::unique_ptr<std::uint16_t[]> borderList;
    std::uint32_t borderCount = 0;
    // Where each point stands in borderList while it is listed: removal finds
    // its slot at once instead of searching the list.
    std::unique_ptr<std::uint16_t[]> borderSlot;

private:
    void MoveOwnPoint(Coord c, bool placed);
    void UpdateAround(Coord c, std::uint32_t colour, bool placed, UndoFrame& frame);
    void UpdateLinesThrough(Coord c, std::uint32_t colour, bool placed, UndoFrame& frame);
    void UpdateDistanceSix(Coord c, UndoFrame& frame);
    void Restore(const UndoFrame& frame);
    struct LineUpdater;
    void CorrectDistanceSix(std::uint32_t h, int direction, std::uint32_t sequenceWord,
                            std::uint32_t (&newLine)[3]) const;

    void AllocateBorder();
    void CoverPoint(std::uint32_t p, Coord owner);
    void UncoverPoint(std::uint32_t p);
    void ExpandBorder(std::uint32_t p);
    void RetractBorder(std::uint32_t p);
    void AppendToBorder(std::uint32_t p);
    bool RemoveFromBorder(std::uint32_t p);

    BoardKind kind;
    std::uint32_t area;
    UndoLog undoLog;
};

}  // namespace zomar

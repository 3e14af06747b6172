#pragma once

#include <cstdint>
#include <memory>

#include "board/BoardAnalysis.h"
#include "board/Coord.h"
#include "board/GameRecord.h"

namespace zomar {

enum class BoardKind { Game, Search };

// No owner in the border owner arrays.
constexpr std::uint16_t NoOwner = 0x7FFF;

// Candidate mark bits.
constexpr std::uint8_t MarkListed = 1;
constexpr std::uint8_t MarkUnweightedCounterFour = 5;
constexpr std::uint8_t MarkExtension = 17;
constexpr std::uint8_t PlyThreatFlag = 8;

// The board the engine thinks on: the game record, the incrementally kept line
// words, categories and category lists, the evaluation work area and, on a
// search board, the border lists.
class ListBoard : public GameRecord, public BoardAnalysis {
public:
    explicit ListBoard(BoardKind kind);
    ListBoard(const ListBoard&) = delete;
    ListBoard& operator=(const ListBoard&) = delete;

    // A search board in the position of source, built by replaying its moves.
    static std::unique_ptr<ListBoard> CopySearchBoard(const ListBoard& source);

    bool MakeMove(Coord c);
    bool MakeSearchMove(Coord c);  // search boards only

    // Packs the arrays one after another into buffer; returns the end.
    std::uint8_t* FlatCopy(std::uint8_t* buffer) const;
    std::size_t FlatImageSize() const;

    BoardKind Kind() const { return kind; }

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

    // Border lists (search board only).
    std::unique_ptr<std::int32_t[]> borderState;
    std::unique_ptr<std::uint16_t[]> coverOwner;
    std::unique_ptr<std::uint16_t[]> borderOwner;
    std::unique_ptr<std::uint16_t[]> borderList;
    std::uint32_t borderCount = 0;

private:
    BoardKind kind;
};

}  // namespace zomar

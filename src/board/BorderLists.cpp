#include <algorithm>
#include <stdexcept>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"

// The search board's border: the empty points next to a stone or next to a gap
// covered between two stones. Every placement records who expanded what, so
// lifting the last stone undoes exactly its own additions.

namespace zomar {

void ListBoard::AllocateBorder() {
    borderState.reset(new std::int32_t[area]);
    coverOwner.reset(new std::uint16_t[area]);
    borderOwner.reset(new std::uint16_t[area]);
    borderList.reset(new std::uint16_t[area]);
    borderSlot.reset(new std::uint16_t[area]());
    std::fill_n(borderState.get(), area, BorderOutside);
    std::fill_n(coverOwner.get(), area, NoOwner);
    std::fill_n(borderOwner.get(), area, NoOwner);
    borderCount = 0;
    borderStateRef = borderState.get();
}

bool ListBoard::MakeSearchMove(Coord c) {
    if (kind != BoardKind::Search) throw std::runtime_error("Board has no border lists.");
    if (c == PassCoord) return MakeMove(c);
    const bool placed = MakeMove(c);
    if (placed) {
        if (borderState[c] != BorderExpanded) CoverPoint(c, c);
        // Gaps of up to two points between c and a stone at most three steps
        // away along a row or column, nearest to that stone first.
        for (int ray = 0; ray < RayCount; ++ray) {
            const std::size_t slot = static_cast<std::size_t>(ray) * area + c;
            const std::uint32_t length = rayLength[slot];
            const std::uint16_t* points = &rayPoints[slot * maxRay];
            for (std::uint32_t i = 1; i < length; ++i) {
                if (stone[points[i]] == EmptyCell) continue;
                for (std::uint32_t j = i; j-- > 0;) {
                    if (coverOwner[points[j]] == NoOwner) CoverPoint(points[j], c);
                }
            }
        }
    } else {
        for (int ray = RayCount - 1; ray >= 0; --ray) {
            const std::size_t slot = static_cast<std::size_t>(ray) * area + c;
            const std::uint32_t length = rayLength[slot];
            const std::uint16_t* points = &rayPoints[slot * maxRay];
            for (std::uint32_t i = 0; i < length; ++i) {
                if (coverOwner[points[i]] == c) UncoverPoint(points[i]);
            }
        }
        // A stone placed on a point that was covered already leaves the cover
        // to its owner.
        if (coverOwner[c] == c) UncoverPoint(c);
    }
    return placed;
}

void ListBoard::CoverPoint(std::uint32_t p, Coord owner) {
    ExpandBorder(p);
    borderState[p] = BorderExpanded;
    coverOwner[p] = owner;
}

void ListBoard::UncoverPoint(std::uint32_t p) {
    borderState[p] = BorderOutside;
    coverOwner[p] = NoOwner;
    RetractBorder(p);
}

void ListBoard::ExpandBorder(std::uint32_t p) {
    for (const std::uint16_t* n = Neighbours(p); *n != area; ++n) {
        if (borderState[*n] == BorderOutside && borderOwner[*n] == NoOwner) {
            borderState[*n] = BorderListed;
            AppendToBorder(*n);
            borderOwner[*n] = static_cast<std::uint16_t>(p);
        }
    }
    if (borderState[p] == BorderListed && !RemoveFromBorder(p)) {
        throw std::runtime_error("Border list inconsintency(3).");
    }
}

void ListBoard::RetractBorder(std::uint32_t p) {
    for (const std::uint16_t* n = Neighbours(p); *n != area; ++n) {
        if (borderOwner[*n] != p) continue;
        borderState[*n] = BorderOutside;
        borderOwner[*n] = NoOwner;
        if (!RemoveFromBorder(*n)) throw std::runtime_error("Border list inconsintency(4).");
    }
    // Back on the border where it was before it was expanded.
    if (borderOwner[p] != NoOwner) {
        borderState[p] = BorderListed;
        AppendToBorder(p);
    }
}

void ListBoard::AppendToBorder(std::uint32_t p) {
    borderSlot[p] = static_cast<std::uint16_t>(borderCount);
    borderList[borderCount++] = static_cast<std::uint16_t>(p);
}

// The list is unordered: the last entry fills the hole. A point is listed at
// most once, so its recorded slot is the one a search from the start finds.
bool ListBoard::RemoveFromBorder(std::uint32_t p) {
    const std::uint32_t i = borderSlot[p];
    if (i >= borderCount || borderList[i] != p) return false;
    const std::uint16_t last = borderList[--borderCount];
    borderList[i] = last;
    borderSlot[last] = static_cast<std::uint16_t>(i);
    return true;
}

std::unique_ptr<ListBoard> ListBoard::CopySearchBoard(const ListBoard& source) {
    auto copy = std::make_unique<ListBoard>(BoardKind::Search);
    copy->neighbourCandidates = 1;
    if (source.moveCount == 0) return copy;

    // The replay gives the first stone colour 1, except under renju, where
    // colour 1 plays black's rules and every stone keeps its colour. Where the
    // source's history held passes, the replay passes too, so that every stone
    // keeps its side and the same side is to move.
    const StoneCode firstColour =
        (gameRule & RenjuRuleBit) != 0 ? StoneCode{Colour1} : source.stone[source.moveList[0]];
    auto replayColour = [firstColour](int sourceColour) { return sourceColour == firstColour ? 1 : 2; };
    for (std::uint32_t i = 0; i < source.moveCount; ++i) {
        const Coord c = source.moveList[i];
        if (copy->ToMoveColour() != replayColour(source.stone[c])) copy->MakeMove(PassCoord);
        copy->MakeSearchMove(c);
    }
    if (copy->ToMoveColour() != replayColour(source.ToMoveColour())) copy->MakeMove(PassCoord);
    return copy;
}

}  // namespace zomar

#include "board/ListBoard.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/CategoryLinks.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

// The five cells on the negative side of a line word; OR-ing it into a word
// turns them off-board.
constexpr std::uint32_t LowSideMask = 0x3FF;
constexpr std::uint32_t HighSideMask = LowSideMask << (2 * HalfLength);
constexpr int SplitReach = HalfLength + 1;
// At most one far point per side of each of the four lines.
constexpr int MaxFarPoints = 2 * DirectionCount;

// A line category that the distance-six correction may still lower.
constexpr bool IsCorrectable(std::uint32_t line) { return line > FourThree; }
constexpr bool IsFourLike(ThreatCategory line) { return line >= FourDevelopFour && line <= Four; }

// Calls visit(data, bytes) for every array of the flat image, in image order.
template <typename Visit>
void VisitImageArrays(const ListBoard& board, Visit&& visit) {
    const std::size_t n = board.Area();
    const std::size_t links = (n + CategoryCount) * sizeof(BoardAnalysis::LinkNode);
    const std::size_t counts = sizeof(board.categoryCount[1]);
    if (board.Kind() == BoardKind::Search) {
        visit(board.coverOwner.get(), n * sizeof(std::uint16_t));
        visit(board.borderOwner.get(), n * sizeof(std::uint16_t));
        visit(board.borderList.get(), n * sizeof(std::uint16_t));
        visit(board.borderState.get(), n * sizeof(std::int32_t));
    }
    visit(board.candidateMark.get(), n);
    visit(board.candidateList.get(), n * sizeof(Coord));
    visit(board.sequence.get(), n * DirectionCount * sizeof(std::uint32_t));
    visit(board.packedCategories.get(), n * sizeof(std::uint64_t));
    visit(board.categoryLinks.get(), links);
    visit(board.categoryCount[1], counts);
    visit(board.categoryCount[2], counts);
    visit(board.stone.get(), n);
    visit(board.moveList.get(), n * sizeof(Coord));
}

}  // namespace

ListBoard::ListBoard(BoardKind kind, std::uint32_t undoDepth)
    : ranking(boardArea), kind(kind), area(boardArea), undoLog(undoDepth) {
    if (area > MaxBoardArea) {
        throw std::runtime_error("Playing board too big, max area is " + std::to_string(MaxBoardArea));
    }
    InitBoardAnalysis(*this);

    evalPointCount = static_cast<std::int32_t>(area);
    candidateList.reset(new Coord[area]);
    candidateMark.reset(new std::uint8_t[area]());
    if (kind == BoardKind::Search) {
        // Only copies of a game board fill quiet positions with points near stones.
        neighbourCandidates = 0;
        AllocateBorder();
    }
}

bool ListBoard::MakeMove(Coord c) {
    if (c == PassCoord) return PlayOrTakeBack(c);
    if (c >= area) throw std::runtime_error("Invalid Coord");
    const StoneCode before = stone[c];
    const bool placed = PlayOrTakeBack(c);
    const std::uint32_t colour = placed ? stone[c] : before;

    hashKey ^= zobristKey[colour == Colour1 ? c : area + c];
    MoveOwnPoint(c, placed);
    if (placed) {
        UpdateAround(c, colour, placed, undoLog.Begin(moveCount));
    } else if (const UndoFrame* frame = undoLog.Find(moveCount + 1)) {
        Restore(*frame);
    } else {
        UpdateAround(c, colour, placed, undoLog.Spare());
    }
    return placed;
}

void ListBoard::UpdateAround(Coord c, std::uint32_t colour, bool placed, UndoFrame& frame) {
    UpdateLinesThrough(c, colour, placed, frame);
    UpdateDistanceSix(c, frame);
}

namespace {

// One colour's category lists, held in locals.
struct CategoryLists {
    ColourLinks links;
    std::int16_t* count;
    std::uint32_t firstHead;  // node firstHead + c heads the list of category c

    CategoryLists(BoardAnalysis& board, int colour, std::uint32_t area)
        : links(board, colour), count(board.categoryCount[colour]), firstHead(area) {}

    void Leave(std::uint32_t h, ThreatCategory category) const {
        --count[category];
        links.Unlink(h);
    }
    void Join(std::uint32_t h, ThreatCategory category) const {
        ++count[category];
        links.InsertAfter(firstHead + category, h);
    }
    void Refile(std::uint32_t h, ThreatCategory from, ThreatCategory to) const {
        if (from == to) return;
        Leave(h, from);
        Join(h, to);
    }
};

// Both colours' lists, and the table that reads point categories off packed ones.
struct PointLists {
    CategoryLists lists1;
    CategoryLists lists2;
    const std::uint8_t* pointTable;

    PointLists(BoardAnalysis& board, std::uint32_t area)
        : lists1(board, Colour1, area), lists2(board, Colour2, area), pointTable(pointCategory.get()) {}

    // Moves h as its packed categories go from `from` to `to`.
    void Refile(std::uint32_t h, std::uint64_t from, std::uint64_t to) const {
        lists1.Refile(h, pointTable[static_cast<std::uint32_t>(from)], pointTable[static_cast<std::uint32_t>(to)]);
        lists2.Refile(h, pointTable[from >> 32], pointTable[to >> 32]);
    }
};

}  // namespace

// The point itself leaves its lists when it takes a stone and returns to them,
// with its frozen categories, when the stone is lifted.
void ListBoard::MoveOwnPoint(Coord c, bool placed) {
    for (int colour = 1; colour <= 2; ++colour) {
        const CategoryLists lists(*this, colour, area);
        const ThreatCategory category = PointCategoryOf(colour, c);
        if (placed) {
            lists.Leave(c, category);
        } else {
            lists.Join(c, category);
        }
    }
}

// The arrays a line update touches, copied into locals: the compiler then keeps
// them in registers instead of reloading them after every store into the lists.
struct ListBoard::LineUpdater {
    const ListBoard& board;
    std::uint64_t* packed;
    PointLists lists;
    UndoRecorder recorder;

    LineUpdater(ListBoard& board, UndoFrame& frame)
        : board(board), packed(board.packedCategories.get()), lists(board, board.area), recorder(frame) {}

    // Re-rates the line of empty point h whose category field starts at bit
    // `shift`, for both colours at once, and moves h between lists where its
    // point category changes.
    void Update(std::uint32_t h, std::uint32_t shift, std::uint32_t sequenceWord) {
        const LineCategoryPair lines = LineCategories(sequenceWord);
        std::uint32_t line1 = lines.colour1;
        std::uint32_t line2 = lines.colour2;
        if (lines.splitSide && (IsCorrectable(line1) || IsCorrectable(line2))) [[unlikely]] {
            std::uint32_t corrected[3] = {0, line1, line2};
            board.CorrectDistanceSix(h, static_cast<int>(shift / CategoryBits), sequenceWord, corrected);
            line1 = corrected[1];
            line2 = corrected[2];
        }
        constexpr std::uint64_t BothFields = CategoryMask | static_cast<std::uint64_t>(CategoryMask) << 32;
        const std::uint64_t both = line1 | static_cast<std::uint64_t>(line2) << 32;
        const std::uint64_t old = packed[h];
        const std::uint64_t updated = (old & ~(BothFields << shift)) | both << shift;
        if (old == updated) return;
        packed[h] = updated;
        recorder.Packed(h, old);
        lists.Refile(h, old, updated);
    }
};

// Adds or removes the stone's cell in every line word of the empty points up
// to five steps away, and re-rates those lines.
void ListBoard::UpdateLinesThrough(Coord c, std::uint32_t colour, bool placed, UndoFrame& frame) {
    LineUpdater updater(*this, frame);
    std::uint32_t* words = sequence.get();
    const std::uint8_t* stones = stone.get();
    // Lifting adds the negated delta (unsigned wrap-around).
    const std::uint32_t signedColour = placed ? colour : 0u - colour;
    const std::uint32_t base = c * DirectionCount;
    for (const LineUpdate* entry = LineUpdatesOf(c); entry->sequenceOffset != UpdateListEnd; ++entry) {
        const std::uint32_t index = base + static_cast<std::uint32_t>(entry->sequenceOffset);
        if (stones[index / DirectionCount] != EmptyCell) continue;
        const std::uint32_t old = words[index];
        const std::uint32_t word = old + (1u << entry->cellBit) * signedColour;
        words[index] = word;
        updater.recorder.Word(index, old);
        updater.Update(index / DirectionCount, entry->shift, word);
    }
    updater.recorder.Finish(frame);
}

// A stone six steps from an empty point can change that point's split-shape
// correction; c's own line words show where that can happen.
void ListBoard::UpdateDistanceSix(Coord c, UndoFrame& frame) {
    const std::uint32_t* own = &sequence[static_cast<std::size_t>(c) * DirectionCount];
    if (!HasSplitHalf(own[0]) && !HasSplitHalf(own[1]) && !HasSplitHalf(own[2]) && !HasSplitHalf(own[3])) return;
    std::uint32_t farPoint[MaxFarPoints];
    int farDirection[MaxFarPoints];
    int farCount = 0;
    auto consider = [&](std::int64_t far, int direction) {
        if (far < 0 || far >= static_cast<std::int64_t>(area)) return;
        const auto p = static_cast<std::uint32_t>(far);
        if (LineDirection(c, p) != direction || stone[p] != EmptyCell) return;
        farPoint[farCount] = p;
        farDirection[farCount] = direction;
        ++farCount;
    };
    for (int d = 0; d < DirectionCount; ++d) {
        const std::uint32_t q = own[d];
        const std::uint32_t low = q & LowSideMask;
        const std::uint32_t high = (q >> (2 * HalfLength)) & LowSideMask;
        const std::int64_t reach = static_cast<std::int64_t>(SplitReach) * directionStep[d];
        if (IsSplitShape(low)) consider(c - reach, d);
        if (IsSplitShape(high)) consider(c + reach, d);
    }
    if (farCount == 0) return;
    LineUpdater updater(*this, frame);
    for (int i = 0; i < farCount; ++i) {
        const std::uint32_t h = farPoint[i];
        updater.Update(h, static_cast<std::uint32_t>(CategoryBits * farDirection[i]),
                       sequence[static_cast<std::size_t>(h) * DirectionCount + farDirection[i]]);
    }
    updater.recorder.Finish(frame);
}

// Puts back the words and categories a placement changed and refiles the
// points in the order it re-rated them, as re-rating would.
void ListBoard::Restore(const UndoFrame& frame) {
    std::uint32_t* words = sequence.get();
    for (const std::uint64_t* w = frame.word; w != frame.word + frame.wordCount; ++w) {
        words[*w >> 32] = static_cast<std::uint32_t>(*w);
    }
    std::uint64_t* packed = packedCategories.get();
    const PointLists lists(*this, area);
    for (const UndoFrame::PointRecord* r = frame.points; r != frame.points + frame.pointCount; ++r) {
        const std::uint64_t placed = packed[r->point];
        packed[r->point] = r->oldPacked;
        lists.Refile(r->point, placed, r->oldPacked);
    }
}

// Empty, own, empty, own, empty on one side and a sixth own stone beyond: the
// point's line is worth at least a FourThree when that side walled off still
// rates as a four, and at least a Three otherwise; two such sides make at least
// a TwoThree.
void ListBoard::CorrectDistanceSix(std::uint32_t h, int direction, std::uint32_t sequenceWord,
                                   std::uint32_t (&newLine)[3]) const {
    const std::uint32_t low = sequenceWord & LowSideMask;
    const std::uint32_t high = (sequenceWord >> (2 * HalfLength)) & LowSideMask;
    const std::int64_t reach = static_cast<std::int64_t>(SplitReach) * directionStep[direction];
    auto stoneSixAway = [&](std::int64_t far) -> std::uint32_t {
        if (far < 0 || far >= static_cast<std::int64_t>(area)) return EmptyCell;
        const auto p = static_cast<std::uint32_t>(far);
        return LineDirection(h, p) == direction ? stone[p] : EmptyCell;
    };
    for (std::uint32_t colour = 1; colour <= 2; ++colour) {
        const std::uint32_t shape = SplitShape[colour];
        if (low != shape && high != shape) continue;
        const bool lowSplit = low == shape && stoneSixAway(h - reach) == colour;
        const bool highSplit = high == shape && stoneSixAway(h + reach) == colour;
        if (!lowSplit && !highSplit) continue;
        auto sideValue = [&](std::uint32_t walledOff) -> std::uint32_t {
            return IsFourLike(LineCategory(colour, walledOff)) ? FourThree : Three;
        };
        std::uint32_t value;
        if (lowSplit && highSplit) {
            const bool bothThree = sideValue(sequenceWord | LowSideMask) == Three &&
                                   sideValue(sequenceWord | HighSideMask) == Three;
            value = bothThree ? TwoThree : FourThree;
        } else {
            value = sideValue(sequenceWord | (lowSplit ? LowSideMask : HighSideMask));
        }
        if (value < newLine[colour]) newLine[colour] = value;
    }
}

std::uint8_t* ListBoard::FlatCopy(std::uint8_t* buffer) const {
    VisitImageArrays(*this, [&buffer](const void* data, std::size_t bytes) {
        std::memcpy(buffer, data, bytes);
        buffer += bytes;
    });
    return buffer;
}

std::size_t ListBoard::FlatImageSize() const {
    std::size_t total = 0;
    VisitImageArrays(*this, [&total](const void*, std::size_t bytes) { total += bytes; });
    return total;
}

}  // namespace zomar

#include "support/BoardOracle.h"

#include <algorithm>
#include <sstream>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar::oracle {

namespace {

constexpr int StepX[DirectionCount] = {1, 0, 1, -1};
constexpr int StepY[DirectionCount] = {0, 1, 1, 1};
// Rows and columns only, in the order right, down, left, up.
constexpr int RayX[4] = {1, 0, -1, 0};
constexpr int RayY[4] = {0, 1, 0, -1};

bool OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < static_cast<int>(boardWidth) && y < static_cast<int>(boardHeight);
}
std::uint32_t Index(int x, int y) { return static_cast<std::uint32_t>(x + y * static_cast<int>(boardWidth)); }

int CellBit(int k) { return k > 0 ? 8 + 2 * k : 10 + 2 * k; }

StoneCode CellAt(const std::vector<StoneCode>& stone, int x, int y) {
    return OnBoard(x, y) ? stone[Index(x, y)] : OffBoard;
}

bool IsFourLike(ThreatCategory line) { return line == FourDevelopFour || line == FourDevelopThree || line == Four; }

// Empty, own, empty, own, empty on steps 1 .. 5 towards `side` and an own stone
// on step 6.
bool HasSplitShape(const std::vector<StoneCode>& stone, int x, int y, int d, int side, StoneCode colour) {
    static constexpr bool own[7] = {false, false, true, false, true, false, true};
    for (int k = 1; k <= 6; ++k) {
        const StoneCode cell = CellAt(stone, x + side * k * StepX[d], y + side * k * StepY[d]);
        if (cell != (own[k] ? colour : EmptyCell)) return false;
    }
    return true;
}

// The five cells of one side turned off-board.
std::uint32_t WalledOff(std::uint32_t word, int side) {
    for (int k = 1; k <= HalfLength; ++k) word |= 3u << CellBit(side * k);
    return word;
}

std::uint32_t CorrectedLine(const std::vector<StoneCode>& stone, int x, int y, int d, std::uint32_t word,
                            StoneCode colour, int& corrections) {
    const std::uint32_t raw = LineCategory(colour, word);
    int found = 0;
    bool fourLike[2] = {false, false};
    for (int s = 0; s < 2; ++s) {
        const int side = s == 0 ? -1 : 1;
        if (!HasSplitShape(stone, x, y, d, side, colour)) continue;
        ++found;
        fourLike[s] = IsFourLike(LineCategory(colour, WalledOff(word, side)));
    }
    if (found == 0) return raw;
    std::uint32_t value;
    if (found == 2) {
        value = (!fourLike[0] && !fourLike[1]) ? TwoThree : FourThree;
    } else {
        value = (fourLike[0] || fourLike[1]) ? FourThree : Three;
    }
    if (value >= raw) return raw;
    ++corrections;
    return value;
}

void ReplayBorder(const std::vector<Stone>& stones, ExpectedBoard& expected) {
    const std::uint32_t n = expected.area;
    std::vector<bool> expanded(n, false);
    std::vector<StoneCode> placed(n, EmptyCell);
    expected.coverOwner.assign(n, NoOwner);
    expected.borderOwner.assign(n, NoOwner);

    auto expand = [&](std::uint32_t p) {
        const int x = static_cast<int>(p % boardWidth), y = static_cast<int>(p / boardWidth);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || !OnBoard(x + dx, y + dy)) continue;
                const std::uint32_t q = Index(x + dx, y + dy);
                if (!expanded[q] && expected.borderOwner[q] == NoOwner) expected.borderOwner[q] = static_cast<std::uint16_t>(p);
            }
        }
        expanded[p] = true;
    };
    for (const Stone& s : stones) {
        placed[s.point] = s.colour;
        if (!expanded[s.point]) {
            expand(s.point);
            expected.coverOwner[s.point] = s.point;
        }
        const int x = s.point % boardWidth, y = s.point / boardWidth;
        for (int r = 0; r < 4; ++r) {
            for (int i = 2; i <= 3; ++i) {
                if (CellAt(placed, x + i * RayX[r], y + i * RayY[r]) != Colour1 &&
                    CellAt(placed, x + i * RayX[r], y + i * RayY[r]) != Colour2) {
                    continue;
                }
                for (int j = i - 1; j >= 1; --j) {
                    const std::uint32_t gap = Index(x + j * RayX[r], y + j * RayY[r]);
                    if (expanded[gap]) continue;
                    expand(gap);
                    expected.coverOwner[gap] = s.point;
                }
            }
        }
    }
    expected.borderState.assign(n, BorderOutside);
    for (std::uint32_t p = 0; p < n; ++p) {
        if (expanded[p]) {
            expected.borderState[p] = BorderExpanded;
        } else if (expected.borderOwner[p] != NoOwner) {
            expected.borderState[p] = BorderListed;
        }
    }
}

std::string PointName(std::uint32_t p) {
    std::ostringstream out;
    out << p << " (" << p % boardWidth << "," << p / boardWidth << ")";
    return out.str();
}

}  // namespace

std::uint32_t SequenceAt(const std::vector<StoneCode>& stone, int x, int y, int d) {
    std::uint32_t word = 0;
    for (int k = 1; k <= HalfLength; ++k) {
        word |= static_cast<std::uint32_t>(CellAt(stone, x + k * StepX[d], y + k * StepY[d])) << CellBit(k);
        word |= static_cast<std::uint32_t>(CellAt(stone, x - k * StepX[d], y - k * StepY[d])) << CellBit(-k);
    }
    return word;
}

ExpectedBoard Recompute(const std::vector<Stone>& stones) {
    ExpectedBoard e;
    e.width = boardWidth;
    e.height = boardHeight;
    e.area = boardArea;
    e.stone.assign(e.area, EmptyCell);
    for (const Stone& s : stones) {
        e.stone[s.point] = s.colour;
        e.hashKey ^= zobristKey[s.colour == Colour1 ? s.point : e.area + s.point];
    }
    e.sequence.assign(static_cast<std::size_t>(e.area) * DirectionCount, 0);
    for (int colour = 1; colour <= 2; ++colour) {
        e.packed[colour].assign(e.area, 0);
        e.members[colour].assign(CategoryCount, {});
    }
    for (std::uint32_t p = 0; p < e.area; ++p) {
        if (e.stone[p] != EmptyCell) continue;
        const int x = static_cast<int>(p % e.width), y = static_cast<int>(p / e.width);
        for (int d = 0; d < DirectionCount; ++d) {
            const std::uint32_t word = SequenceAt(e.stone, x, y, d);
            e.sequence[p * DirectionCount + d] = word;
            for (StoneCode colour : {Colour1, Colour2}) {
                e.packed[colour][p] |= CorrectedLine(e.stone, x, y, d, word, colour, e.corrections) << (CategoryBits * d);
            }
        }
        for (int colour = 1; colour <= 2; ++colour) {
            e.members[colour][pointCategory[e.packed[colour][p]]].push_back(static_cast<Coord>(p));
        }
    }
    ReplayBorder(stones, e);
    return e;
}

std::vector<Coord> ListInOrder(const ListBoard& board, int colour, ThreatCategory category) {
    std::vector<Coord> points;
    const std::uint32_t head = board.Area() + category;
    for (std::uint32_t p = board.Next(colour, head); p != head && points.size() <= board.Area();
         p = board.Next(colour, p)) {
        points.push_back(static_cast<Coord>(p));
    }
    return points;
}

::testing::AssertionResult MatchesCore(const ListBoard& board, const ExpectedBoard& e) {
    const std::uint32_t n = e.area;
    if (board.Area() != n) return ::testing::AssertionFailure() << "area " << board.Area() << " != " << n;
    for (std::uint32_t p = 0; p < n; ++p) {
        if (board.stone[p] != e.stone[p]) {
            return ::testing::AssertionFailure() << "stone of " << PointName(p) << ": " << int{board.stone[p]}
                                                 << " != " << int{e.stone[p]};
        }
    }
    if (board.hashKey != e.hashKey) return ::testing::AssertionFailure() << "hashKey differs";
    for (std::uint32_t p = 0; p < n; ++p) {
        if (e.stone[p] != EmptyCell) continue;
        for (int d = 0; d < DirectionCount; ++d) {
            if (board.sequence[p * DirectionCount + d] != e.sequence[p * DirectionCount + d]) {
                return ::testing::AssertionFailure() << "sequence of " << PointName(p) << " direction " << d << ": "
                                                     << std::hex << board.sequence[p * DirectionCount + d]
                                                     << " != " << e.sequence[p * DirectionCount + d];
            }
        }
        for (int colour = 1; colour <= 2; ++colour) {
            if (board.PackedOf(colour, p) != e.packed[colour][p]) {
                return ::testing::AssertionFailure() << "packed categories of " << PointName(p) << " colour "
                                                     << colour << ": " << std::hex
                                                     << board.PackedOf(colour, p) << " != "
                                                     << e.packed[colour][p];
            }
        }
    }
    for (int colour = 1; colour <= 2; ++colour) {
        for (int c = 0; c < CategoryCount; ++c) {
            const auto category = static_cast<ThreatCategory>(c);
            std::vector<Coord> points = ListInOrder(board, colour, category);
            std::uint32_t previous = n + c;
            for (Coord p : points) {
                if (board.Prev(colour, p) != previous) {
                    return ::testing::AssertionFailure() << "colour " << colour << " list " << c
                                                         << ": broken prev link at " << PointName(p);
                }
                previous = p;
            }
            if (board.Prev(colour, n + c) != previous) {
                return ::testing::AssertionFailure() << "colour " << colour << " list " << c << ": head prev link";
            }
            std::sort(points.begin(), points.end());
            if (points != e.members[colour][c]) {
                return ::testing::AssertionFailure() << "colour " << colour << " list " << c << " holds "
                                                     << points.size() << " points, expected "
                                                     << e.members[colour][c].size() << " or other points";
            }
            if (board.categoryCount[colour][c] != static_cast<std::int16_t>(points.size())) {
                return ::testing::AssertionFailure() << "colour " << colour << " count " << c << ": "
                                                     << board.categoryCount[colour][c] << " != " << points.size();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Matches(const ListBoard& board, const ExpectedBoard& e) {
    if (auto core = MatchesCore(board, e); !core) return core;
    if (board.Kind() != BoardKind::Search) return ::testing::AssertionSuccess();
    const std::uint32_t n = e.area;
    if (board.borderStateRef != board.borderState.get()) {
        return ::testing::AssertionFailure() << "borderStateRef does not name borderState";
    }
    for (std::uint32_t p = 0; p < n; ++p) {
        if (board.borderState[p] != e.borderState[p] || board.coverOwner[p] != e.coverOwner[p] ||
            board.borderOwner[p] != e.borderOwner[p]) {
            return ::testing::AssertionFailure()
                   << "border of " << PointName(p) << ": state " << board.borderState[p] << "/" << e.borderState[p]
                   << ", cover owner " << board.coverOwner[p] << "/" << e.coverOwner[p] << ", border owner "
                   << board.borderOwner[p] << "/" << e.borderOwner[p];
        }
    }
    std::vector<Coord> listed(board.borderList.get(), board.borderList.get() + board.borderCount);
    std::sort(listed.begin(), listed.end());
    std::vector<Coord> expectedListed;
    for (std::uint32_t p = 0; p < n; ++p) {
        if (e.borderState[p] == BorderListed) expectedListed.push_back(static_cast<Coord>(p));
    }
    if (listed != expectedListed) {
        return ::testing::AssertionFailure() << "borderList holds " << listed.size() << " entries, expected "
                                             << expectedListed.size() << " or other points";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BorderFollowsStones(const ExpectedBoard& e) {
    auto isStone = [&e](int x, int y) { return OnBoard(x, y) && e.stone[Index(x, y)] != EmptyCell; };
    std::vector<bool> expanded(e.area, false);
    for (std::uint32_t p = 0; p < e.area; ++p) {
        const int x = static_cast<int>(p % e.width), y = static_cast<int>(p / e.width);
        expanded[p] = isStone(x, y);
        for (int r = 0; r < 2 && !expanded[p]; ++r) {
            // Stones at -a and +b steps with a + b <= 3.
            for (int a = 1; a <= 2; ++a) {
                for (int b = 1; a + b <= 3; ++b) {
                    if (isStone(x - a * RayX[r], y - a * RayY[r]) && isStone(x + b * RayX[r], y + b * RayY[r])) {
                        expanded[p] = true;
                    }
                }
            }
        }
    }
    for (std::uint32_t p = 0; p < e.area; ++p) {
        const int x = static_cast<int>(p % e.width), y = static_cast<int>(p / e.width);
        bool nextToExpanded = false;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx || dy) && OnBoard(x + dx, y + dy) && expanded[Index(x + dx, y + dy)]) nextToExpanded = true;
            }
        }
        const std::int32_t state = expanded[p] ? BorderExpanded : nextToExpanded ? BorderListed : BorderOutside;
        if (state != e.borderState[p]) {
            return ::testing::AssertionFailure() << "border state of " << PointName(p) << ": replay "
                                                 << e.borderState[p] << ", definition " << state;
        }
    }
    return ::testing::AssertionSuccess();
}

Snapshot TakeSnapshot(const ListBoard& board) {
    const std::uint32_t n = board.Area();
    Snapshot s;
    s.stone.assign(board.stone.get(), board.stone.get() + n);
    s.sideToMove = board.sideToMove;
    s.moves.assign(board.moveList.get(), board.moveList.get() + board.moveCount);
    s.hashKey = board.hashKey;
    s.sequence.assign(board.sequence.get(), board.sequence.get() + n * DirectionCount);
    for (int colour = 1; colour <= 2; ++colour) {
        s.packed[colour].resize(n);
        for (std::uint32_t p = 0; p < n; ++p) s.packed[colour][p] = board.PackedOf(colour, p);
        s.counts[colour].assign(board.categoryCount[colour], board.categoryCount[colour] + CategoryCount);
        for (int c = 0; c < CategoryCount; ++c) {
            std::vector<Coord> points = ListInOrder(board, colour, static_cast<ThreatCategory>(c));
            std::sort(points.begin(), points.end());
            s.members[colour].push_back(points);
        }
    }
    if (board.Kind() == BoardKind::Search) {
        s.borderState.assign(board.borderState.get(), board.borderState.get() + n);
        s.coverOwner.assign(board.coverOwner.get(), board.coverOwner.get() + n);
        s.borderOwner.assign(board.borderOwner.get(), board.borderOwner.get() + n);
        s.border.assign(board.borderList.get(), board.borderList.get() + board.borderCount);
        std::sort(s.border.begin(), s.border.end());
    }
    return s;
}

FrozenPoint FrozenAt(const ExpectedBoard& before, Coord p) {
    FrozenPoint frozen{};
    for (int d = 0; d < DirectionCount; ++d) frozen.sequence[d] = before.sequence[p * DirectionCount + d];
    frozen.packed[1] = before.packed[1][p];
    frozen.packed[2] = before.packed[2][p];
    return frozen;
}

::testing::AssertionResult KeepsFrozen(const ListBoard& board, Coord p, const FrozenPoint& frozen) {
    for (int d = 0; d < DirectionCount; ++d) {
        if (board.sequence[p * DirectionCount + d] != frozen.sequence[d]) {
            return ::testing::AssertionFailure() << "occupied " << PointName(p) << " changed its sequence " << d;
        }
    }
    for (int colour = 1; colour <= 2; ++colour) {
        if (board.PackedOf(colour, p) != frozen.packed[colour]) {
            return ::testing::AssertionFailure() << "occupied " << PointName(p) << " changed its categories";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace zomar::oracle

// The distance tables checked against a classifier that knows nothing of group
// code tricks: it plays stones into a run of cells and looks for fives.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

enum Cell { Empty, Own, Blocked };
using Cells = std::vector<Cell>;

constexpr int NeverFive = 6;

// Which empty cell of a run the straight-four judgement does not try as a
// block: none (the plain game meaning), or the far end of the run.
enum class Untried { None, First, Last };

Cells CellsOf(std::uint32_t code) {
    Cells cells;
    const int length = code == 0 ? 0 : std::bit_width(code) - 1;
    for (int k = 0; k < length; ++k) cells.push_back((code >> k) & 1 ? Own : Empty);
    return cells;
}

std::string Diagram(const Cells& cells) {
    std::string text;
    for (Cell c : cells) text += c == Own ? 'X' : c == Empty ? '.' : 'O';
    return text;
}

struct Rules {
    bool exactFive;

    bool IsFive(const Cells& cells) const {
        int run = 0;
        for (std::size_t k = 0; k <= cells.size(); ++k) {
            if (k < cells.size() && cells[k] == Own) {
                ++run;
                continue;
            }
            if (exactFive ? run == 5 : run >= 5) return true;
            run = 0;
        }
        return false;
    }

    bool IsFourOrFive(Cells cells) const {
        if (IsFive(cells)) return true;
        for (Cell& c : cells) {
            if (c != Empty) continue;
            c = Own;
            if (IsFive(cells)) return true;
            c = Empty;
        }
        return false;
    }

    // No single opponent stone on a tried cell stops the five.
    bool IsStraightFour(Cells cells, Untried untried) const {
        if (IsFive(cells)) return true;
        const std::size_t skip = untried == Untried::First ? 0 : untried == Untried::Last ? cells.size() - 1 : cells.size();
        bool tried = false;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (cells[k] != Empty || k == skip) continue;
            cells[k] = Blocked;
            if (!IsFourOrFive(cells)) return false;
            cells[k] = Empty;
            tried = true;
        }
        return tried;
    }

    // Fewest own stones to add for a five (or, when sure, a straight four).
    int Distance(const Cells& cells, bool sure, Untried untried) const {
        std::vector<std::size_t> empties;
        for (std::size_t k = 0; k < cells.size(); ++k)
            if (cells[k] == Empty) empties.push_back(k);
        int best = NeverFive;
        for (std::uint32_t added = 0; added < (1u << empties.size()); ++added) {
            const int count = std::popcount(added);
            if (count >= best) continue;
            Cells played = cells;
            for (std::size_t e = 0; e < empties.size(); ++e)
                if (added >> e & 1) played[empties[e]] = Own;
            if (IsFive(played) || (sure && IsStraightFour(played, untried))) best = count;
        }
        return best;
    }
};

struct Expected {
    int win;
    int sure;
    int defendedWin;
    int defendedSure;
    std::vector<int> winGains;
    std::vector<int> sureGains;
};

Expected Classify(const Rules& rules, const Cells& cells, Untried untried) {
    Expected e{rules.Distance(cells, false, untried), rules.Distance(cells, true, untried), 0, 0, {}, {}};
    // An opponent stone splits the run; each part is judged on its own, with its
    // far end untried when the whole run's far end is.
    for (std::size_t k = 0; k < cells.size(); ++k) {
        int w = e.win, s = e.sure;
        if (cells[k] == Empty) {
            const Cells lower(cells.begin(), cells.begin() + k);
            const Cells upper(cells.begin() + k + 1, cells.end());
            const Untried lowerUntried = untried == Untried::None ? Untried::None : Untried::First;
            w = std::min(rules.Distance(lower, false, lowerUntried), rules.Distance(upper, false, untried));
            s = std::min(rules.Distance(lower, true, lowerUntried), rules.Distance(upper, true, untried));
            e.defendedWin = std::max(e.defendedWin, w);
            e.defendedSure = std::max(e.defendedSure, s);
        }
        // A block never brings the five closer; it raises the distance or keeps it.
        e.winGains.push_back(std::max(0, w - e.win));
        e.sureGains.push_back(std::max(0, s - e.sure));
    }
    return e;
}

Expected FromTables(std::uint32_t code) {
    Expected e{winDistance[code], sureWinDistance[code], defendedWinDistance[code], defendedSureWinDistance[code], {}, {}};
    const std::size_t length = CellsOf(code).size();
    for (std::size_t k = 0; k < length; ++k) {
        e.winGains.push_back(winGain[code * GainStride + k]);
        e.sureGains.push_back(sureGain[code * GainStride + k]);
    }
    for (std::size_t k = length; k < GainStride; ++k) {
        EXPECT_EQ(winGain[code * GainStride + k], NoSlot);
        EXPECT_EQ(sureGain[code * GainStride + k], NoSlot);
    }
    return e;
}

bool operator==(const Expected& a, const Expected& b) {
    return a.win == b.win && a.sure == b.sure && a.defendedWin == b.defendedWin && a.defendedSure == b.defendedSure &&
           a.winGains == b.winGains && a.sureGains == b.sureGains;
}

std::string Describe(const Expected& e) {
    auto list = [](const std::vector<int>& values) {
        std::string text;
        for (int v : values) text += std::to_string(v);
        return text;
    };
    return "win " + std::to_string(e.win) + " sure " + std::to_string(e.sure) + " defended " +
           std::to_string(e.defendedWin) + "/" + std::to_string(e.defendedSure) + " gains " + list(e.winGains) + "/" +
           list(e.sureGains);
}

// The cells worth blocking, costliest first, ties in cell order.
std::vector<int> DefenceOrderFrom(const Expected& e) {
    std::vector<int> order;
    if (e.sure > 2) return order;
    for (int gain = NeverFive; gain > 0; --gain)
        for (std::size_t k = 0; k < e.sureGains.size(); ++k)
            if (e.sureGains[k] == gain) order.push_back(static_cast<int>(k));
    return order;
}

std::vector<int> DefenceOrderOf(std::uint32_t code) {
    std::vector<int> order;
    const std::uint16_t* slot = &defenceOrder[code * DefenceStride];
    for (int k = 0; k < DefenceStride; ++k)
        if (slot[k] != NoSlot) order.push_back(slot[k]);
    return order;
}

class BruteForceTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        SetBoardSize(15, 15);
        InitAnalysisTables();
        ReleaseAnalysisTables();
        gameRule = GetParam();
        InitAnalysisTables();
    }
    void TearDown() override {
        ReleaseAnalysisTables();
        gameRule = 0;
        InitAnalysisTables();
    }
    Rules rules() const { return Rules{GetParam() == 1 || GetParam() == 3}; }
};

// Five or more wins: every table is the plain game meaning.
using FiveOrMoreTest = BruteForceTest;
INSTANTIATE_TEST_SUITE_P(Rules, FiveOrMoreTest, ::testing::Values(0, 2));

TEST_P(FiveOrMoreTest, EveryCodeMatchesThePlainGame) {
    for (std::uint32_t code = 0; code < GroupCodeCount; ++code) {
        const Expected expected = Classify(rules(), CellsOf(code), Untried::None);
        const Expected built = FromTables(code);
        EXPECT_EQ(built, expected) << Diagram(CellsOf(code)) << ": " << Describe(built) << " vs " << Describe(expected);
        EXPECT_EQ(DefenceOrderOf(code), DefenceOrderFrom(expected)) << Diagram(CellsOf(code));
    }
}

// Only exactly five wins.
using ExactFiveTest = BruteForceTest;
INSTANTIATE_TEST_SUITE_P(Rules, ExactFiveTest, ::testing::Values(1, 3));

// The straight-four test never tries a block on the highest cell of the run, so
// a stone, a gap, four stones and a free highest cell count as a straight four
// although filling the gap only makes six: the highest cell is the one win.
TEST_P(ExactFiveTest, StraightFoursDifferFromThePlainGameOnlyOnTheKnownShapes) {
    const std::vector<std::string> knownExceptions = {
        "X.XXXX.",     ".X.XXXX.",    "XX.XXXX.",    "..X.XXXX.",   "X.X.XXXX.",   ".XX.XXXX.",  "XXX.XXXX.",
        "...X.XXXX.",  "X..X.XXXX.",  ".X.X.XXXX.",  "XX.X.XXXX.",  "..XX.XXXX.",  "X.XX.XXXX.", ".XXX.XXXX.",
        "XXXX.XXXX.",  "....X.XXXX.", "X...X.XXXX.", ".X..X.XXXX.", "XX..X.XXXX.", "..X.X.XXXX.", "X.X.X.XXXX.",
        ".XX.X.XXXX.", "...XX.XXXX.", "X..XX.XXXX.", ".X.XX.XXXX.", "..XXX.XXXX.",
    };
    std::vector<std::string> differing;
    for (std::uint32_t code = 0; code < GroupCodeCount; ++code) {
        const Cells cells = CellsOf(code);
        const bool built = winDistance[code] == 1 && sureWinDistance[code] == 0;
        const bool plain = !rules().IsFive(cells) && rules().IsStraightFour(cells, Untried::None);
        if (built == plain) continue;
        differing.push_back(Diagram(cells));
        EXPECT_TRUE(built) << Diagram(cells) << " is a straight four in the game but not in the tables";
    }
    EXPECT_EQ(differing, knownExceptions);
}

TEST_P(ExactFiveTest, EveryCodeMatchesWhenTheFarEndIsNeverTriedAsABlock) {
    for (std::uint32_t code = 0; code < GroupCodeCount; ++code) {
        const Expected expected = Classify(rules(), CellsOf(code), Untried::Last);
        const Expected built = FromTables(code);
        EXPECT_EQ(built, expected) << Diagram(CellsOf(code)) << ": " << Describe(built) << " vs " << Describe(expected);
        EXPECT_EQ(DefenceOrderOf(code), DefenceOrderFrom(expected)) << Diagram(CellsOf(code));
    }
}

TEST_P(ExactFiveTest, DistancesToFiveAreThePlainGame) {
    for (std::uint32_t code = 0; code < GroupCodeCount; ++code) {
        const Expected expected = Classify(rules(), CellsOf(code), Untried::None);
        EXPECT_EQ(winDistance[code], expected.win) << Diagram(CellsOf(code));
        EXPECT_EQ(defendedWinDistance[code], expected.defendedWin) << Diagram(CellsOf(code));
        EXPECT_EQ(FromTables(code).winGains, expected.winGains) << Diagram(CellsOf(code));
    }
}

}  // namespace
}  // namespace zomar

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <set>
#include <string_view>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

// The ten cells around a point P along a line, drawn from offset -5 to +5 with
// P as '+': '.' empty, 'X' colour 1, 'O' colour 2, '#' off the board.
std::uint32_t Line(std::string_view cells) {
    EXPECT_EQ(cells.size(), 11u);
    EXPECT_EQ(cells[5], '+');
    std::uint32_t sequence = 0;
    for (int k = -5; k <= 5; ++k) {
        if (k == 0) continue;
        const char c = cells[static_cast<std::size_t>(k + 5)];
        const std::uint32_t code = c == 'X' ? Colour1 : c == 'O' ? Colour2 : c == '#' ? OffBoard : EmptyCell;
        sequence |= code << (k < 0 ? 10 + 2 * k : 8 + 2 * k);
    }
    return sequence;
}

// A group code drawn from its lowest cell up: 'X' own stone, '.' empty.
std::uint32_t Code(std::string_view run) {
    std::uint32_t code = 1u << run.size();
    for (std::size_t k = 0; k < run.size(); ++k)
        if (run[k] == 'X') code |= 1u << k;
    return code;
}

std::vector<int> DefenceSlots(std::uint32_t code) {
    std::vector<int> slots;
    for (int k = 0; k < DefenceStride && defenceOrder[code * DefenceStride + k] != NoSlot; ++k)
        slots.push_back(defenceOrder[code * DefenceStride + k]);
    return slots;
}

std::uint32_t Pack(ThreatCategory d0, ThreatCategory d1, ThreatCategory d2, ThreatCategory d3) {
    return d0 | d1 << CategoryBits | d2 << (2 * CategoryBits) | d3 << (3 * CategoryBits);
}

class PatternTablesTest : public ::testing::Test {
protected:
    void SetUp() override { BuildWithRule(0); }
    void TearDown() override {
        if (gameRule != 0 || sequenceSize == 0) BuildWithRule(0);
    }
    static void BuildWithRule(int rule) {
        SetBoardSize(15, 15);
        if (sequenceSize == 0) InitAnalysisTables();
        ReleaseAnalysisTables();
        gameRule = rule;
        InitAnalysisTables();
    }
    static ThreatCategory CategoryOf(std::uint32_t code) {
        return ClassifyGroup(winDistance[code], sureWinDistance[code], defendedWinDistance[code],
                             defendedSureWinDistance[code]);
    }
};

TEST_F(PatternTablesTest, GroupCodeHoldsTheFreeRunThroughThePoint) {
    const std::uint32_t line = Line(".O.XX+X.#..");
    // Colour 1 runs from the gap after O to the gap before the edge.
    const GroupCode played = MakeGroupCode(Colour1, line, true);
    EXPECT_EQ(played.code, Code(".XXXX."));
    EXPECT_EQ(played.negativeCount, 3);
    EXPECT_EQ(played.positiveCount, 2);
    EXPECT_EQ(MakeGroupCode(Colour1, line, false).code, Code(".XX.X."));
    // Colour 2 is walled in by colour 1 on both sides.
    const GroupCode walled = MakeGroupCode(Colour2, line, true);
    EXPECT_EQ(walled.code, Code("X"));
    EXPECT_EQ(walled.negativeCount + walled.positiveCount, 0);
    EXPECT_EQ(MakeGroupCode(Colour2, line, false).code, Code("."));
}

// Walks the cells outwards from the point, one at a time, as a player reads
// a line.
GroupCode GroupCodeByHand(int colour, std::uint32_t sequence, bool centreOwn) {
    auto cell = [sequence](int offset) {
        const int bit = offset < 0 ? 10 + 2 * offset : 8 + 2 * offset;
        return static_cast<int>((sequence >> bit) & 3);
    };
    auto free = [colour](int c) { return c == EmptyCell || c == colour; };
    int i = 0;
    while (i < 5 && free(cell(-(i + 1)))) ++i;
    int j = 0;
    while (j < 5 && free(cell(j + 1))) ++j;
    std::uint32_t code = 1u << (i + j + 1);
    for (int k = -i; k <= j; ++k) {
        const bool own = k == 0 ? centreOwn : cell(k) == colour;
        if (own) code |= 1u << (k + i);
    }
    return {code, i, j};
}

TEST_F(PatternTablesTest, GroupCodesMatchACellByCellReadingOfEveryWord) {
    for (int colour : {Colour1, Colour2}) {
        for (std::uint32_t sequence = 0; sequence <= SequenceMask; ++sequence) {
            const GroupCode fast = MakeGroupCode(colour, sequence, sequence & 1);
            const GroupCode slow = GroupCodeByHand(colour, sequence, sequence & 1);
            if (fast.code != slow.code || fast.negativeCount != slow.negativeCount ||
                fast.positiveCount != slow.positiveCount) {
                FAIL() << "colour " << colour << " sequence 0x" << std::hex << sequence;
            }
        }
    }
}

TEST_F(PatternTablesTest, GroupCodeReachesFiveCellsEachWay) {
    EXPECT_EQ(MakeGroupCode(Colour1, Line("XXXXX+XXXXX"), true).code, 4095u);
    EXPECT_EQ(MakeGroupCode(Colour2, Line("....#+....."), true).code, Code("X....."));
    const GroupCode empty = MakeGroupCode(Colour2, Line(".....+....."), false);
    EXPECT_EQ(empty.code, Code("..........."));
    EXPECT_EQ(empty.negativeCount, 5);
    EXPECT_EQ(empty.positiveCount, 5);
    EXPECT_EQ(MakeGroupCode(Colour2, Line("OO.O.+O#OOO"), true).code, Code("XX.X.XX"));
}

TEST_F(PatternTablesTest, ShortGroupCodeReadsFourCellsEachWay) {
    // The four-cell word keeps cells -4..-1 in bits 0-7 and +1..+4 in bits 8-15.
    const std::uint32_t line = Line("X.X.X+..O.X");
    const GroupCode shortCode = MakeGroupCode(Colour1, (line >> 2) & 0xFFFF, true, HalfLength - 1);
    EXPECT_EQ(shortCode.code, Code(".X.XX.."));
    EXPECT_EQ(shortCode.negativeCount, 4);
    EXPECT_EQ(shortCode.positiveCount, 2);
    EXPECT_EQ(MakeGroupCode(Colour1, line, true).code, Code("X.X.XX.."));
}

TEST_F(PatternTablesTest, DistancesOfTheNamedShapes) {
    struct Shape {
        const char* run;
        int win;
        int sure;
        ThreatCategory category;
    };
    const Shape shapes[] = {
        {"XXXXX", 0, 0, Win},           {"..XXXXXX", 0, 0, Win},       {".XXXX.", 1, 0, StraightFour},
        {"X.XXX.X", 1, 0, StraightFour}, {"XXXX.", 1, 1, Four},         {"..XX.XX", 1, 1, Four},
        {"..XXX..", 2, 1, Three},       {".XX.X.", 2, 1, Three},       {".XXX.", 2, 2, ThreeDef},
        {"XXX..", 2, 2, ThreeDef},      {"..XX...", 3, 2, Two},        {"XX...", 3, 3, TwoDef},
        {"...X...", 4, 3, Other},       {"XXXX", 6, 6, Impossible},    {"....", 6, 6, Impossible},
    };
    for (const Shape& shape : shapes) {
        const std::uint32_t code = Code(shape.run);
        EXPECT_EQ(winDistance[code], shape.win) << shape.run;
        EXPECT_EQ(sureWinDistance[code], shape.sure) << shape.run;
        EXPECT_EQ(CategoryOf(code), shape.category) << shape.run;
    }
}

TEST_F(PatternTablesTest, FoursAreGradedByWhatTheBlockLeaves) {
    // Blocking the gap leaves three stones against it: a closed three.
    EXPECT_EQ(LineCategory(Colour1, Line(".X.XX+.....")), FourDevelopFour);
    EXPECT_EQ(LineCategory(Colour1, Line(".#X.X+X..O.")), FourDevelopFour);
    // Blocking the gap leaves nothing that can still grow into a three.
    EXPECT_EQ(LineCategory(Colour1, Line("..XX.+X#...")), Four);
    EXPECT_EQ(LineCategory(Colour1, Line("OXXX.+.....")), Four);
}

TEST_F(PatternTablesTest, LineCategoriesSeeTheBoardFromEachColour) {
    const std::uint32_t openFour = Line("...XX+X....");
    EXPECT_EQ(LineCategory(Colour1, openFour), StraightFour);
    EXPECT_EQ(LineCategory(Colour2, openFour), Impossible);  // X on both sides of P
    EXPECT_EQ(LineCategory(Colour1, Line("#XXX.+.....")), Four);
    EXPECT_EQ(LineCategory(Colour2, Line("#OOO.+.....")), Four);
    EXPECT_EQ(LineCategory(Colour1, Line("OXXXX+.....")), Win);
    EXPECT_EQ(LineCategory(Colour2, Line("OXXXX+O....")), TwoDef);
    // Nothing around: the eleven-cell run holds only the played point.
    EXPECT_EQ(LineCategory(Colour1, 0), Other);
    EXPECT_EQ(LineCategory(Colour2, 0), Other);
    EXPECT_EQ(LineCategory(Colour1, Line("#####+####.")), Impossible);
}

TEST_F(PatternTablesTest, LineCategoriesAgreeWithGroupCodesForEverySequence) {
    for (int colour : {Colour1, Colour2}) {
        std::set<int> seen;
        for (std::uint32_t sequence = 0; sequence <= SequenceMask; ++sequence) {
            const std::uint32_t code = MakeGroupCode(colour, sequence, true).code;
            if (LineCategory(colour, sequence) != CategoryOf(code)) {
                ADD_FAILURE() << "colour " << colour << " sequence " << std::hex << sequence;
                return;
            }
            seen.insert(LineCategory(colour, sequence));
        }
        // FourDevelopThree and ThreeDevelop need an eleven-cell run with an empty
        // middle, which a played point never has: they arise only at points.
        EXPECT_EQ(seen, (std::set<int>{Win, StraightFour, FourDevelopFour, Four, Three, ThreeDef, Two, TwoDef, Other,
                                        Impossible}));
    }
}

TEST_F(PatternTablesTest, OverlinesCountOnlyWhenFiveOrMoreWin) {
    const std::uint32_t six = Code("XXXXXX");
    const std::uint32_t sixPlayed = Line("..XXX+XX...");
    for (int rule : {1, 3}) {
        BuildWithRule(rule);
        EXPECT_EQ(winDistance[six], 6) << rule;
        EXPECT_EQ(sureWinDistance[six], 6) << rule;
        EXPECT_EQ(LineCategory(Colour1, sixPlayed), Impossible) << rule;
        EXPECT_EQ(LineCategory(Colour1, Line("..XXX+X....")), Win) << rule;
        // Filling the gap overshoots: only the far end wins.
        EXPECT_EQ(LineCategory(Colour1, Line("O.XXX+.X...")), Four) << rule;
    }
    for (int rule : {0, 2}) {
        BuildWithRule(rule);
        EXPECT_EQ(winDistance[six], 0) << rule;
        EXPECT_EQ(LineCategory(Colour1, sixPlayed), Win) << rule;
        EXPECT_EQ(LineCategory(Colour1, Line("O.XXX+.X...")), StraightFour) << rule;
    }
}

TEST_F(PatternTablesTest, HighestCellIsNeverTriedAsABlockUnderExactFive) {
    // Filling the gap makes six, so only the highest cell wins; the straight-four
    // test never tries a block there and calls it a straight four all the same.
    BuildWithRule(1);
    const std::uint32_t code = Code("X.XXXX.");
    EXPECT_EQ(winDistance[code], 1);
    EXPECT_EQ(sureWinDistance[code], 0);
    EXPECT_EQ(CategoryOf(code), StraightFour);
    // The mirror image has its only winning cell lowest, where blocks are tried.
    EXPECT_EQ(CategoryOf(Code(".XXXX.X")), Four);
}

TEST_F(PatternTablesTest, GainsMeasureWhatABlockCosts) {
    const std::uint32_t openFour = Code(".XXXX.");
    const std::uint16_t expectedSure[GainStride] = {1, 0, 0, 0, 0, 1, NoSlot, NoSlot, NoSlot, NoSlot, NoSlot};
    for (int k = 0; k < GainStride; ++k) EXPECT_EQ(sureGain[openFour * GainStride + k], expectedSure[k]) << k;
    EXPECT_EQ(winGain[openFour * GainStride + 0], 0);  // still a four after either block
    EXPECT_EQ(defendedSureWinDistance[openFour], 1);
    EXPECT_EQ(defendedWinDistance[openFour], 1);

    const std::uint32_t closedFour = Code("XXXX.");
    EXPECT_EQ(sureGain[closedFour * GainStride + 4], 5);
    EXPECT_EQ(winGain[closedFour * GainStride + 4], 5);
    EXPECT_EQ(defendedWinDistance[closedFour], 6);

    // No empty cell: nothing to block.
    EXPECT_EQ(defendedWinDistance[Code("XXXX")], 0);
    EXPECT_EQ(defendedSureWinDistance[Code("XXXXX")], 0);
}

TEST_F(PatternTablesTest, BlocksNeverLookHelpfulUnderExactFive) {
    // Blocking the highest cell leaves the shape whose far end is never tried;
    // the rise is 0, not a wrapped -1 that would read as the end of the run.
    BuildWithRule(1);
    const std::uint32_t code = Code(".XXXX.X.");
    EXPECT_EQ(sureWinDistance[code], 1);
    EXPECT_EQ(sureGain[code * GainStride + 7], 0);
    EXPECT_EQ(DefenceSlots(code), std::vector<int>{0});
    for (std::uint32_t c = 0; c < GroupCodeCount; ++c) {
        const int length = c < 2 ? 0 : std::bit_width(c) - 1;
        for (int k = 0; k < length; ++k) {
            ASSERT_LE(sureGain[c * GainStride + k], 6) << c;
            ASSERT_LE(winGain[c * GainStride + k], 6) << c;
        }
    }
}

TEST_F(PatternTablesTest, DefenceOrderListsTheCostliestBlocksFirst) {
    EXPECT_EQ(DefenceSlots(Code(".XXXX.")), (std::vector<int>{0, 5}));
    EXPECT_EQ(DefenceSlots(Code("X.XXX.X")), (std::vector<int>{1, 5}));
    // Gains 1, 5, 1: the middle gap first, then the ends in cell order.
    EXPECT_EQ(DefenceSlots(Code(".XX.X.")), (std::vector<int>{3, 0, 5}));
    EXPECT_EQ(DefenceSlots(Code("..XX...")), (std::vector<int>{4, 1, 5}));
    // Three stones from a sure win: nothing listed; a five: nothing to block.
    EXPECT_TRUE(DefenceSlots(Code("...X...")).empty());
    EXPECT_TRUE(DefenceSlots(Code("XXXXX")).empty());
    EXPECT_EQ(defenceOrder[Code("...X...") * DefenceStride], NoSlot);
}

TEST_F(PatternTablesTest, PointCategoryIgnoresTheOrderOfTheLines) {
    for (ThreatCategory a = 0; a < CategoryCount; ++a)
        for (ThreatCategory b = 0; b < CategoryCount; ++b)
            for (ThreatCategory c = 0; c < CategoryCount; ++c)
                for (ThreatCategory d = 0; d < CategoryCount; ++d) {
                    ThreatCategory sorted[4] = {a, b, c, d};
                    std::sort(sorted, sorted + 4);
                    ASSERT_EQ(pointCategory[Pack(a, b, c, d)], CombineCategories(sorted[0], sorted[1]))
                        << int(a) << " " << int(b) << " " << int(c) << " " << int(d);
                }
    EXPECT_EQ(pointCategory[Pack(Impossible, Four, Impossible, Other)], Four);
    EXPECT_EQ(pointCategory[Pack(Three, Impossible, ThreeDevelop, Other)], TwoThree);
    EXPECT_EQ(pointCategory[Pack(Impossible, Impossible, Impossible, Impossible)], Impossible);
}

TEST_F(PatternTablesTest, PointEntriesOutsideTheCategoriesAreNoCategory) {
    // A packed word with a field of 18..31 never comes from a board; its entry
    // must not pass for a category.
    EXPECT_EQ(pointCategory[Pack(Impossible + 1, Win, Win, Win)], NoPointCategory);
    EXPECT_EQ(pointCategory[Pack(Win, Win, Win, 31)], NoPointCategory);
    EXPECT_EQ(pointCategory[PointTableSize - 1], NoPointCategory);
}

TEST_F(PatternTablesTest, ReleaseAndRebuild) {
    EXPECT_EQ(sequenceSize, 4u * 15 * 15);
    FreePatternTables();
    EXPECT_EQ(sequenceSize, 0u);
    EXPECT_EQ(pointCategory, nullptr);
    EXPECT_EQ(winDistance, nullptr);
    EXPECT_EQ(sureGain, nullptr);
    EXPECT_EQ(defenceOrder, nullptr);
    EXPECT_EQ(lineUpdateList, nullptr);

    SetBoardSize(20, 7);
    groupClassifier = nullptr;
    pointCombiner = nullptr;
    InitAnalysisTables();
    EXPECT_EQ(sequenceSize, 4u * 20 * 7);
    EXPECT_EQ(groupClassifier, &ClassifyGroup);
    EXPECT_EQ(pointCombiner, &CombineOrderedCategories);
    EXPECT_EQ(LineCategory(Colour1, Line(".XXXX+.....")), Win);
}

TEST_F(PatternTablesTest, RuleSurvivesRebuildsAndRuleChangesLeaveNoTrace) {
    const auto everyLine = [] {
        std::vector<ThreatCategory> lines;
        for (std::uint32_t word = 0; word <= SequenceMask; ++word) lines.push_back(LineCategory(Colour2, word));
        return lines;
    };
    const std::vector<ThreatCategory> before = everyLine();
    BuildWithRule(3);
    ReleaseAnalysisTables();
    InitAnalysisTables();
    EXPECT_EQ(gameRule, 3);
    EXPECT_EQ(winDistance[Code("XXXXXX")], 6);
    BuildWithRule(0);
    EXPECT_TRUE(everyLine() == before);
}

}  // namespace
}  // namespace zomar

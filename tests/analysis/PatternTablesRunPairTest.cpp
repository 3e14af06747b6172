// The board reads line categories from the small run-pair tables; they must
// rate every word as its free run's group code rates, under every rule, and
// flag exactly the words with a split-shape half.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

class RunPairTablesTest : public ::testing::TestWithParam<std::int32_t> {
public:
    // The first build of a process starts from rule 0 whatever gameRule holds,
    // so build once before choosing the rule.
    void SetUp() override {
        Rebuild(0);
        Rebuild(GetParam());
    }
    void TearDown() override { Rebuild(0); }

    static void Rebuild(std::int32_t rule) {
        ReleaseAnalysisTables();
        SetBoardSize(20, 20);
        gameRule = rule;
        InitAnalysisTables();
    }
};

// The word's free run through the point, rated by the distance tables.
ThreatCategory SlowCategory(int colour, std::uint32_t word) {
    const std::uint32_t code = MakeGroupCode(colour, word, true).code;
    return ClassifyGroup(winDistance[code], sureWinDistance[code], defendedWinDistance[code],
                         defendedSureWinDistance[code]);
}

TEST_P(RunPairTablesTest, EveryWordRatesAsItsGroupCode) {
    std::uint32_t mismatches = 0;
    std::uint32_t firstMismatch = 0;
    // Renju rates white on the freestyle tables, checked below.
    const bool whiteOnOtherTables = (GetParam() & 4) != 0;
    for (std::uint32_t word = 0; word < LineTableSize; ++word) {
        const LineCategoryPair pair = LineCategories(word);
        const bool splitSide = IsSplitShape(word & 0x3FF) || IsSplitShape(word >> 10);
        if (pair.colour1 != SlowCategory(Colour1, word) ||
            (!whiteOnOtherTables && pair.colour2 != SlowCategory(Colour2, word)) || pair.splitSide != splitSide) {
            if (mismatches++ == 0) firstMismatch = word;
        }
    }
    EXPECT_EQ(mismatches, 0u) << "first at word 0x" << std::hex << firstMismatch;
}

// Rule 1 turns overlines into nothing: a rebuild must replace the small
// tables too, not keep the previous rule's values.
TEST_P(RunPairTablesTest, RebuildForTheOtherRuleFollowsIt) {
    // X X X X + X: five with P under rule 0, an overline of six under rule 1.
    const std::uint32_t sixInARow = (1u << 2) | (1u << 4) | (1u << 6) | (1u << 8) | (1u << 10);
    const ThreatCategory before = LineCategories(sixInARow).colour1;
    Rebuild(GetParam() == 0 ? 1 : 0);
    EXPECT_NE(LineCategories(sixInARow).colour1, before);
    EXPECT_EQ(LineCategories(sixInARow).colour1, SlowCategory(Colour1, sixInARow));
}

INSTANTIATE_TEST_SUITE_P(Rules, RunPairTablesTest, ::testing::Values(0, 1, 3, 4));

// Renju rates black (colour 1) as rule 1 does and white as rule 0 does.
TEST(RenjuLineTables, BlackAsExactlyFiveWhiteAsFreestyle) {
    const auto linesOf = [](std::int32_t rule, int colour) {
        RunPairTablesTest::Rebuild(rule);
        std::vector<ThreatCategory> lines;
        for (std::uint32_t word = 0; word < LineTableSize; ++word) lines.push_back(LineCategory(colour, word));
        return lines;
    };
    const std::vector<ThreatCategory> white = linesOf(0, Colour2);
    const std::vector<ThreatCategory> black = linesOf(1, Colour1);
    EXPECT_TRUE(linesOf(4, Colour1) == black);
    EXPECT_TRUE(linesOf(4, Colour2) == white);
    RunPairTablesTest::Rebuild(0);
}

}  // namespace
}  // namespace zomar

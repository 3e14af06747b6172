#include <gtest/gtest.h>

#include <string>

#include "analysis/ThreatCategory.h"

namespace zomar {
namespace {

TEST(ClassifyGroupTest, ImpossibleAndWinOverrideEverything) {
    for (std::uint8_t s = 0; s <= 6; ++s)
        for (std::uint8_t dw = 0; dw <= 6; ++dw)
            for (std::uint8_t ds = 0; ds <= 6; ++ds) {
                EXPECT_EQ(ClassifyGroup(6, s, dw, ds), Impossible);
                EXPECT_EQ(ClassifyGroup(0, s, dw, ds), Win);
            }
}

TEST(ClassifyGroupTest, SureWinAtOnceIsAStraightFourOnlyOneStoneFromFive) {
    EXPECT_EQ(ClassifyGroup(1, 0, 3, 4), StraightFour);
    EXPECT_EQ(ClassifyGroup(2, 0, 3, 4), Other);
    EXPECT_EQ(ClassifyGroup(5, 0, 0, 0), Other);
}

TEST(ClassifyGroupTest, FoursAreGradedByWhatABlockLeaves) {
    EXPECT_EQ(ClassifyGroup(1, 1, 2, 2), FourDevelopFour);
    EXPECT_EQ(ClassifyGroup(1, 1, 3, 2), FourDevelopThree);
    EXPECT_EQ(ClassifyGroup(1, 1, 2, 3), Four);  // the defended sure distance must be exactly 2
    EXPECT_EQ(ClassifyGroup(1, 1, 4, 2), Four);
    EXPECT_EQ(ClassifyGroup(1, 1, 6, 6), Four);
}

TEST(ClassifyGroupTest, ThreesAndTwos) {
    EXPECT_EQ(ClassifyGroup(2, 1, 3, 2), ThreeDevelop);
    EXPECT_EQ(ClassifyGroup(2, 1, 2, 2), Three);
    EXPECT_EQ(ClassifyGroup(2, 1, 3, 3), Three);
    EXPECT_EQ(ClassifyGroup(3, 1, 3, 2), Other);
    EXPECT_EQ(ClassifyGroup(2, 2, 4, 4), ThreeDef);
    EXPECT_EQ(ClassifyGroup(3, 2, 4, 4), Two);
    EXPECT_EQ(ClassifyGroup(4, 2, 4, 4), Other);
    EXPECT_EQ(ClassifyGroup(3, 3, 4, 4), TwoDef);
    EXPECT_EQ(ClassifyGroup(4, 3, 4, 4), Other);
    EXPECT_EQ(ClassifyGroup(5, 4, 6, 6), Other);
}

TEST(ClassifyGroupTest, LinesTakeOnlyTheLineCategories) {
    for (std::uint8_t w = 0; w <= 6; ++w)
        for (std::uint8_t s = 0; s <= 6; ++s)
            for (std::uint8_t dw = 0; dw <= 6; ++dw)
                for (std::uint8_t ds = 0; ds <= 6; ++ds) {
                    const ThreatCategory c = ClassifyGroup(w, s, dw, ds);
                    EXPECT_TRUE(c == Win || c == StraightFour || c == FourDevelopFour || c == FourDevelopThree ||
                                c == Four || c == ThreeDevelop || c == Three || c == ThreeDef || c == Two ||
                                c == TwoDef || c == Other || c == Impossible)
                        << int(c);
                }
}

TEST(CombineCategoriesTest, TwoLinesOfFours) {
    EXPECT_EQ(CombineCategories(StraightFour, StraightFour), TwoStraightFour);
    for (ThreatCategory b : {FourThree, FourDevelopFour, FourDevelopThree, Four})
        EXPECT_EQ(CombineCategories(StraightFour, b), StraightFourFour);
    for (ThreatCategory b : {FourThree, FourDevelopFour, FourDevelopThree, Four})
        EXPECT_EQ(CombineCategories(FourThree, b), StraightFour);
    for (ThreatCategory b : {FourDevelopFour, FourDevelopThree, Four})
        EXPECT_EQ(CombineCategories(FourDevelopFour, b), StraightFour);
    EXPECT_EQ(CombineCategories(FourDevelopThree, FourDevelopThree), StraightFour);
    EXPECT_EQ(CombineCategories(FourDevelopThree, Four), StraightFour);
    EXPECT_EQ(CombineCategories(Four, Four), StraightFour);
}

TEST(CombineCategoriesTest, AFourWithAWeakerLine) {
    for (ThreatCategory a : {FourDevelopFour, FourDevelopThree, Four}) {
        EXPECT_EQ(CombineCategories(a, ThreeDevelop), FourThree);
        EXPECT_EQ(CombineCategories(a, Three), FourThree);
    }
    EXPECT_EQ(CombineCategories(FourDevelopFour, ThreeDef), FourDevelopFour);
    EXPECT_EQ(CombineCategories(FourDevelopThree, ThreeDef), FourDevelopFour);
    EXPECT_EQ(CombineCategories(Four, ThreeDef), FourDevelopFour);
    EXPECT_EQ(CombineCategories(Four, Two), FourDevelopThree);
    EXPECT_EQ(CombineCategories(FourDevelopThree, Two), FourDevelopThree);
    EXPECT_EQ(CombineCategories(Four, TwoDef), Four);
    EXPECT_EQ(CombineCategories(Four, Other), Four);
}

TEST(CombineCategoriesTest, ThreesAndTwos) {
    EXPECT_EQ(CombineCategories(ThreeDevelop, ThreeDevelop), TwoThree);
    EXPECT_EQ(CombineCategories(ThreeDevelop, Three), TwoThree);
    EXPECT_EQ(CombineCategories(ThreeDevelop, ThreeDef), ThreeDevelop);
    EXPECT_EQ(CombineCategories(Three, Three), TwoThree);
    EXPECT_EQ(CombineCategories(Three, ThreeDef), ThreeDevelop);
    EXPECT_EQ(CombineCategories(Three, Two), ThreeDevelop);
    EXPECT_EQ(CombineCategories(Three, TwoDef), Three);
    EXPECT_EQ(CombineCategories(ThreeDef, ThreeDef), TwoTwo);
    EXPECT_EQ(CombineCategories(ThreeDef, Two), TwoTwo);
    EXPECT_EQ(CombineCategories(ThreeDef, TwoDef), ThreeDef);
    EXPECT_EQ(CombineCategories(Two, Two), TwoTwo);
    EXPECT_EQ(CombineCategories(Two, TwoDef), TwoTwoDef);
    EXPECT_EQ(CombineCategories(TwoDef, TwoDef), TwoDef);
}

TEST(CombineCategoriesTest, TheBetterLineIsNeverLost) {
    for (ThreatCategory a = 0; a < CategoryCount; ++a)
        for (ThreatCategory b = a; b < CategoryCount; ++b) {
            // Two lines from a closed three count as two twos, which ranks just
            // below a single closed three.
            if (a == ThreeDef && (b == ThreeDef || b == Two)) continue;
            EXPECT_LE(CombineCategories(a, b), a) << int(a) << "," << int(b);
        }
    for (ThreatCategory b = 0; b < CategoryCount; ++b) EXPECT_EQ(CombineCategories(Win, b), Win);
    EXPECT_EQ(CombineCategories(Other, Other), Other);
    EXPECT_EQ(CombineCategories(Impossible, Impossible), Impossible);
}

TEST(CombineCategoriesTest, TheTableHookReadsOnlyTheTwoBest) {
    EXPECT_EQ(CombineOrderedCategories(Four, Three, Three, Three), FourThree);
    EXPECT_EQ(CombineOrderedCategories(Four, Other, Impossible, Impossible), Four);
}

TEST(CategoryNamesTest, NamesFollowTheStrengthOrder) {
    BuildCategoryNames();
    EXPECT_EQ(std::string(categoryNames[Win]), "Win");
    EXPECT_EQ(std::string(categoryNames[TwoStraightFour]), "2xStraightFour");
    EXPECT_EQ(std::string(categoryNames[FourDevelopThree]), "FourDevelopThree");
    EXPECT_EQ(std::string(categoryNames[TwoThree]), "2xThree");
    EXPECT_EQ(std::string(categoryNames[TwoTwo]), "2xTwo");
    EXPECT_EQ(std::string(categoryNames[TwoTwoDef]), "TwoTwoDef");
    EXPECT_EQ(std::string(categoryNames[Impossible]), "Impossible");
    for (const char* name : categoryNames) EXPECT_NE(std::string(name), "Not Defined");
}

}  // namespace
}  // namespace zomar

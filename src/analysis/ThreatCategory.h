#pragma once

#include <cstdint>

namespace zomar {

// What one colour obtains by playing an empty point, along one line or for the
// point as a whole. Lower is stronger; the order is relied on everywhere.
using ThreatCategory = std::uint8_t;

enum : ThreatCategory {
    Win = 0,
    TwoStraightFour = 1,     // "2xStraightFour", point only
    StraightFourFour = 2,    // point only
    StraightFour = 3,
    FourThree = 4,           // point only
    FourDevelopFour = 5,
    FourDevelopThree = 6,
    Four = 7,
    TwoThree = 8,            // "2xThree", point only
    ThreeDevelop = 9,
    Three = 10,
    ThreeDef = 11,
    TwoTwo = 12,             // "2xTwo", point only
    TwoTwoDef = 13,          // point only
    Two = 14,
    TwoDef = 15,
    Other = 16,
    Impossible = 17,
};

constexpr int CategoryCount = 18;
constexpr int CategoryBits = 5;
constexpr std::uint32_t CategoryMask = 31;

// Display names, for diagnostics only.
extern const char* categoryNames[CategoryCount];
void BuildCategoryNames();

// The line rule: four distances of a group code (0..6, 6 = never) to a category.
ThreatCategory ClassifyGroup(std::uint8_t winDistance, std::uint8_t sureWinDistance,
                             std::uint8_t defendedWinDistance, std::uint8_t defendedSureWinDistance);
// The point rule: the two smallest line categories (best <= second).
ThreatCategory CombineCategories(ThreatCategory best, ThreatCategory second);
// The point rule as the table build applies it: four line categories in
// ascending order, of which only the first two count.
ThreatCategory CombineOrderedCategories(ThreatCategory first, ThreatCategory second, ThreatCategory third,
                                        ThreatCategory fourth);

// Hooks through which the table build applies the two rules.
using GroupClassifier = ThreatCategory (*)(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t);
// Called with all four line categories in ascending order; reads the first two.
using PointCombiner = ThreatCategory (*)(ThreatCategory, ThreatCategory, ThreatCategory, ThreatCategory);
extern GroupClassifier groupClassifier;
extern PointCombiner pointCombiner;

}  // namespace zomar

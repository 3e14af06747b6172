#include "analysis/ThreatCategory.h"

#include <algorithm>
#include <iterator>

namespace zomar {

namespace {

constexpr const char* NotDefined = "Not Defined";

constexpr const char* displayNames[CategoryCount] = {
    "Win",        "2xStraightFour", "StraightFourFour", "StraightFour", "FourThree", "FourDevelopFour",
    "FourDevelopThree", "Four",     "2xThree",          "ThreeDevelop", "Three",     "ThreeDef",
    "2xTwo",      "TwoTwoDef",      "Two",              "TwoDef",       "Other",     "Impossible",
};

// FourThree .. Four: a four, possibly with more behind it.
bool IsFourKind(ThreatCategory c) { return c >= FourThree && c <= Four; }
bool IsLineThree(ThreatCategory c) { return c == ThreeDevelop || c == Three; }

}  // namespace

const char* categoryNames[CategoryCount] = {};

GroupClassifier groupClassifier = nullptr;
PointCombiner pointCombiner = nullptr;

void BuildCategoryNames() {
    std::fill(std::begin(categoryNames), std::end(categoryNames), NotDefined);
    std::copy(std::begin(displayNames), std::end(displayNames), std::begin(categoryNames));
}

ThreatCategory ClassifyGroup(std::uint8_t winDistance, std::uint8_t sureWinDistance,
                             std::uint8_t defendedWinDistance, std::uint8_t defendedSureWinDistance) {
    const int w = winDistance;
    const int s = sureWinDistance;
    const int dw = defendedWinDistance;
    const int ds = defendedSureWinDistance;
    if (w == 6) return Impossible;
    if (w == 0) return Win;
    if (s == 0) return w == 1 ? StraightFour : Other;
    if (s == 1) {
        if (w == 1) {
            if (ds == 2 && dw == 2) return FourDevelopFour;
            if (ds == 2 && dw == 3) return FourDevelopThree;
            return Four;
        }
        if (w == 2) return ds == 2 && dw == 3 ? ThreeDevelop : Three;
        return Other;
    }
    if (s == 2) {
        if (w == 2) return ThreeDef;
        if (w == 3) return Two;
        return Other;
    }
    if (s == 3 && w == 3) return TwoDef;
    return Other;
}

ThreatCategory CombineCategories(ThreatCategory best, ThreatCategory second) {
    switch (best) {
    case StraightFour:
        if (second == StraightFour) return TwoStraightFour;
        if (IsFourKind(second)) return StraightFourFour;
        break;
    case FourThree:
        if (IsFourKind(second)) return StraightFour;
        break;
    case FourDevelopFour:
        if (second >= FourDevelopFour && second <= Four) return StraightFour;
        if (IsLineThree(second)) return FourThree;
        break;
    case FourDevelopThree:
        if (second == FourDevelopThree || second == Four) return StraightFour;
        if (IsLineThree(second)) return FourThree;
        if (second == ThreeDef) return FourDevelopFour;
        break;
    case Four:
        if (second == Four) return StraightFour;
        if (IsLineThree(second)) return FourThree;
        if (second == ThreeDef) return FourDevelopFour;
        if (second == Two) return FourDevelopThree;
        break;
    case ThreeDevelop:
        if (IsLineThree(second)) return TwoThree;
        break;
    case Three:
        if (second == Three) return TwoThree;
        if (second == ThreeDef || second == Two) return ThreeDevelop;
        break;
    case ThreeDef:
        if (second == ThreeDef || second == Two) return TwoTwo;
        break;
    case Two:
        if (second == Two) return TwoTwo;
        if (second == TwoDef) return TwoTwoDef;
        break;
    default:
        break;
    }
    return best;
}

ThreatCategory CombineOrderedCategories(ThreatCategory first, ThreatCategory second, ThreatCategory,
                                        ThreatCategory) {
    return CombineCategories(first, second);
}

}  // namespace zomar

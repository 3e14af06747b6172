#pragma once

#include <cstdint>
#include <memory>

#include "analysis/PatternTables.h"
#include "analysis/ThreatCategory.h"

namespace zomar {

// The analysis arrays every board keeps for its empty points: the line words,
// the packed line categories per colour, and per colour one circular list per
// point category (node N + c is the head of category c). Arrays indexed by
// colour use entries 1 and 2.
struct BoardAnalysis {
    std::unique_ptr<std::uint32_t[]> sequence;             // sequenceSize, index p * 4 + d
    std::unique_ptr<std::uint32_t[]> packedCategories[3];  // N each
    std::unique_ptr<std::uint16_t[]> categoryNext[3];      // N + 18 each
    std::unique_ptr<std::uint16_t[]> categoryPrev[3];      // N + 18 each
    std::int16_t categoryCount[3][CategoryCount] = {};

    ThreatCategory PointCategoryOf(int colour, std::uint32_t p) const {
        return PointCategory(packedCategories[colour][p]);
    }
    ThreatCategory LineCategoryOf(int colour, std::uint32_t p, int direction) const {
        return static_cast<ThreatCategory>((packedCategories[colour][p] >> (CategoryBits * direction)) & CategoryMask);
    }
};

}  // namespace zomar

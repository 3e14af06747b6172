#pragma once

#include <cstdint>
#include <memory>

#include "analysis/PatternTables.h"
#include "analysis/ThreatCategory.h"

namespace zomar {

// The analysis arrays every board keeps for its empty points: the line words,
// the packed line categories of both colours, and per colour one circular list
// per point category (node N + c is the head of category c). Arrays indexed by
// colour use entries 1 and 2.
struct BoardAnalysis {
    std::unique_ptr<std::uint32_t[]> sequence;          // sequenceSize, index p * 4 + d
    // N: colour 1's packed line categories in the low half, colour 2's in the
    // high half, so that one load and one store re-rate a line for both.
    std::unique_ptr<std::uint64_t[]> packedCategories;
    struct Link {
        std::uint16_t next;
        std::uint16_t prev;
    };
    // A node's links in colour 1's lists and in colour 2's: they share a cache
    // line, and one pointer reaches the lists of both colours.
    struct LinkNode {
        Link colour[2];
    };
    std::unique_ptr<LinkNode[]> categoryLinks;  // N + 18
    std::int16_t categoryCount[3][CategoryCount] = {};

    std::uint16_t Next(int colour, std::uint32_t node) const { return categoryLinks[node].colour[colour - 1].next; }
    std::uint16_t Prev(int colour, std::uint32_t node) const { return categoryLinks[node].colour[colour - 1].prev; }

    static constexpr int PackedShift(int colour) { return colour == 2 ? 32 : 0; }
    std::uint32_t PackedOf(int colour, std::uint32_t p) const {
        return static_cast<std::uint32_t>(packedCategories[p] >> PackedShift(colour));
    }
    void SetPacked(int colour, std::uint32_t p, std::uint32_t packed) {
        const std::uint64_t other = packedCategories[p] & (0xFFFFFFFF00000000u >> PackedShift(colour));
        packedCategories[p] = other | static_cast<std::uint64_t>(packed) << PackedShift(colour);
    }
    ThreatCategory PointCategoryOf(int colour, std::uint32_t p) const { return PointCategory(PackedOf(colour, p)); }
    ThreatCategory LineCategoryOf(int colour, std::uint32_t p, int direction) const {
        return static_cast<ThreatCategory>((PackedOf(colour, p) >> (CategoryBits * direction)) & CategoryMask);
    }
};

}  // namespace zomar

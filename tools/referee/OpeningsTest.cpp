#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "referee/Openings.h"

namespace zomar::referee {
namespace {

TEST(Openings, ReadsOffsetPairsWithOrWithoutBlanks) {
    const auto opening = ParseOpening(" 8,-3, 6,-4,5,-4 ,-1,+5\r", "t:1");
    ASSERT_TRUE(opening);
    EXPECT_EQ(opening->offsets, (std::vector<Point> {{8, -3}, {6, -4}, {5, -4}, {-1, 5}}));
    EXPECT_EQ(opening->source, "t:1");
    EXPECT_FALSE(ParseOpening("   ", "t:2"));
}

TEST(Openings, RefusesMalformedLines) {
    for (const char* line : {"1,2,3", "1,,2", "1;2", "1,2,", "a,b", "1 2,3 4", "1234567,0"}) {
        EXPECT_THROW(ParseOpening(line, "t"), std::runtime_error) << line;
    }
}

TEST(Openings, PlacesFromTheCentreAndChecksTheBoard) {
    const Opening opening {"t", {{0, 0}, {-10, -10}, {9, 9}}};
    // Centre floor(20/2) = 10 on 20 x 20: every stone fits, the corners included.
    EXPECT_EQ(PlaceOpening(opening, 20, 20), (std::vector<Point> {{10, 10}, {0, 0}, {19, 19}}));
    // On 15 x 15 the centre is 7 and -10 falls off.
    EXPECT_FALSE(PlaceOpening(opening, 15, 15));
    EXPECT_FALSE(PlaceOpening({"t", {{0, 0}, {1, 1}, {0, 0}}}, 15, 15));
    // An opening that already holds a five is no opening.
    EXPECT_FALSE(PlaceOpening({"t", {{0, 0}, {0, 5}, {1, 0}, {1, 5}, {2, 0}, {2, 5}, {3, 0}, {3, 5}, {-1, 0}}}, 15, 15));
}

TEST(Openings, ShippedFilesLoadAndFitTwentyByTwenty) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZOMAR_OPENINGS_DIR)) {
        for (const Opening& opening : LoadOpenings(entry.path().string())) {
            EXPECT_TRUE(PlaceOpening(opening, 20, 20)) << opening.source;
            ++count;
        }
    }
    EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace zomar::referee

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "referee/RenjuJudge.h"

namespace zomar::referee {
namespace {

// A diagram on a 15x15 board from its top-left corner: X black, O white, *
// the point judged for black; the answer is whether it is forbidden.
bool Forbidden(const std::vector<std::string>& rows) {
    RenjuJudge judge(15, 15);
    Point judged;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
            const char c = rows[y][x];
            if (c == 'X') judge.Set({x, y}, Stone::Black);
            if (c == 'O') judge.Set({x, y}, Stone::White);
            if (c == '*') judged = {x, y};
        }
    }
    return judge.IsForbidden(judged);
}

TEST(RenjuJudge, DoubleThreeUnlessTheOnlyExtensionIsForbidden) {
    EXPECT_TRUE(Forbidden({"......", "...X..", "...X..", ".XX*..", "......", "......"}));
    EXPECT_TRUE(Forbidden({"", "", "O.XX*.....", "....X.....", "....X....."}));
    // The row's three reaches a straight four only right of *, where black
    // would make a double four: the column alone is a three.
    EXPECT_FALSE(Forbidden({
        "",
        "",
        "O.XX*.....",
        "....XXX...",
        "....XX.X..",
        ".....X..X.",
        ".....O...O",
    }));
}

TEST(RenjuJudge, DoubleFoursAlsoOnOneLineAndOverlines) {
    EXPECT_TRUE(Forbidden({"XXX.*.XXX"}));
    EXPECT_TRUE(Forbidden({"X.X*X.X"}));
    EXPECT_TRUE(Forbidden({"XXX*XX"}));
    EXPECT_TRUE(Forbidden({"XXXX*X"}));
}

TEST(RenjuJudge, ExactFiveWinsAndFourThreeIsLegal) {
    // Five in the row although the column makes an overline.
    EXPECT_FALSE(Forbidden({"....X", "....X", "....X", "XXXX*", "....X", "....X", "....X"}));
    // A four in the column with an open three in the row.
    EXPECT_FALSE(Forbidden({"..O...", "..X...", "..X...", "..X...", ".X*X..", "......"}));
    // A straight four is one four.
    EXPECT_FALSE(Forbidden({".XXX*.."}));
}

}  // namespace
}  // namespace zomar::referee

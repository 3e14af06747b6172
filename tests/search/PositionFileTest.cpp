#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "analysis/AnalysisSetup.h"
#include "board/Geometry.h"
#include "search/PositionFile.h"
#include "support/TemporaryDirectory.h"
#include "support/ErrorOf.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {

using test::ErrorOf;
using test::At;

class PositionFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpStartUpSize(); }
    // Other tests of the process expect the start-up set-up.
    void TearDown() override { SetUpStartUpSize(); }

    static void SetUpStartUpSize() {
        ReleaseAnalysisTables();
        SetBoardSize(20, 20);
        InitAnalysisTables();
    }

    std::string Write(const std::string& name, const std::string& text) {
        directory.WriteFile(name, text);
        return directory / name;
    }

    test::TemporaryDirectory directory;
};


TEST_F(PositionFileTest, MovesCountFromOneInFileOrder) {
    const std::string path = Write("game.txt", "header 20x20\n10,10,0\n11,10,5\n1,20,-3\n20,1,1\n");
    EXPECT_EQ(ReadPositionFile(path), (std::vector<Coord>{At(9, 9), At(10, 9), At(0, 19), At(19, 0)}));
}

TEST_F(PositionFileTest, MoveListEndsAtEmptyLetterOrSingleNumberLines) {
    EXPECT_TRUE(ReadPositionFile(Write("empty.txt", "only a header\n")).empty());
    EXPECT_TRUE(ReadPositionFile(Write("bare.txt", "no line end")).empty());
    EXPECT_EQ(ReadPositionFile(Write("a.txt", "h\n1,1,0\n\n2,2,0\n")).size(), 1u);
    EXPECT_EQ(ReadPositionFile(Write("b.txt", "h\n1,1,0\nEnd of game\n2,2,0\n")).size(), 1u);
    EXPECT_EQ(ReadPositionFile(Write("c.txt", "h\n1,1,0\n17\n2,2,0\n")).size(), 1u);
    // Lines without a final line end and Windows line ends read the same.
    EXPECT_EQ(ReadPositionFile(Write("d.txt", "h\r\n1,1,0\r\n2,2,0")).size(), 2u);
}

TEST_F(PositionFileTest, MalformedLinesAreErrors) {
    const std::string twoNumbers = Write("two.txt", "h\n1,1,0\n3,4\n");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(twoNumbers); }), "Failed to read data in file " + twoNumbers + ".");
    const std::string blanks = Write("blanks.txt", "h\n  \n");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(blanks); }), "Failed to read data in file " + blanks + ".");
}

TEST_F(PositionFileTest, CoordinatesOffTheBoardAreErrors) {
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(Write("x0.txt", "h\n0,5,0\n")); }), "X coord overflow.");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(Write("y0.txt", "h\n5,0,0\n")); }), "Y coord overflow.");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(Write("x21.txt", "h\n21,5,0\n")); }), "X coord overflow.");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(Write("y21.txt", "h\n5,21,0\n")); }), "Y coord overflow.");
    // Coordinates wrap at 65536 before the 1 is taken off.
    EXPECT_EQ(ReadPositionFile(Write("wrap.txt", "h\n65537,65538,0\n")), std::vector<Coord>{At(0, 1)});
}

TEST_F(PositionFileTest, UnreadableFilesAreErrors) {
    const std::string missing = directory / "missing.txt";
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(missing); }), "Failed to open file " + missing + ".");
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(directory.Path().string()); }), "Failed to open file " + directory.Path().string() + ".");
    // Long paths are cut to the message buffer.
    const std::string longName = directory / std::string(300, 'n');
    EXPECT_EQ(ErrorOf([&] { ReadPositionFile(longName); }).size(), 255u);
}

}  // namespace
}  // namespace zomar

// The search signature: the stones placed by fixed-depth searches over the
// shipped positions. Any change to a move list, a score, a table lookup or the
// board update changes these totals; a deliberate change updates them and says
// why in its commit message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"
#include "signature/SearchSignature.h"

namespace zomar {
namespace {

using test::ReplayPrefix;
using test::SignatureOutcome;
using test::SignaturePrefixes;
using test::SignatureSearch;

class SearchSignatureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseAnalysisTables();
        gameRule = 0;
        SetBoardSize(20, 20);
        InitAnalysisTables();
        files = test::SignatureFiles(ZOMAR_TEST_DATA_DIR);
    }

    // The per-position counts, and their total.
    std::uint64_t Signature(std::uint32_t depth, std::string& breakdown) const {
        std::uint64_t total = 0;
        for (const std::string& file : files) {
            const std::vector<Coord> moves = ReadPositionFile(file);
            for (std::uint32_t stones : SignaturePrefixes) {
                ListBoard board(BoardKind::Search);
                ReplayPrefix(board, moves, stones);
                const std::uint32_t placed = SignatureSearch(board, depth).stones;
                breakdown += std::filesystem::path(file).filename().string() + "@" +
                             std::to_string(stones) + "=" + std::to_string(placed) + " ";
                total += placed;
            }
        }
        return total;
    }

    std::vector<std::string> files;
};

TEST_F(SearchSignatureTest, FixedDepthSearchesPlaceThePinnedNumberOfStones) {
    ASSERT_EQ(files.size(), 4u) << "the signature covers the shipped position set";
    const struct {
        std::uint32_t depth;
        std::uint64_t stones;
    } pinned[] = {{4, 6376}, {6, 28674}, {8, 161017}};
    for (const auto& [depth, stones] : pinned) {
        std::string breakdown;
        const std::uint64_t total = Signature(depth, breakdown);
        RecordProperty("stones_depth_" + std::to_string(depth), std::to_string(total));
        EXPECT_EQ(total, stones) << "depth " << depth << ": " << breakdown;
    }
}

// A search leaves its board's stones, lines and counts as it found them, and
// the same position on a fresh board and table is searched the same way again:
// nothing outside the board and the table carries over. (The same board is not
// reused: the order inside its category lists and its evaluation limit may
// differ after a search, and the move order follows them.)
TEST_F(SearchSignatureTest, SearchesLeaveTheBoardAsFoundAndRepeatThemselves) {
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::vector<Coord> moves = ReadPositionFile(file);
        ListBoard board(BoardKind::Search);
        ReplayPrefix(board, moves, 20);
        const std::uint64_t hash = board.hashKey;
        const std::uint32_t moveCount = board.moveCount;
        const std::uint32_t border = board.borderCount;
        const std::vector<std::uint32_t> sequences(board.sequence.get(), board.sequence.get() + sequenceSize);
        std::int16_t counts[3][CategoryCount];
        std::copy(&board.categoryCount[0][0], &board.categoryCount[0][0] + 3 * CategoryCount, &counts[0][0]);

        const SignatureOutcome first = SignatureSearch(board, 6);
        EXPECT_EQ(board.hashKey, hash);
        EXPECT_EQ(board.moveCount, moveCount);
        EXPECT_EQ(board.borderCount, border);
        EXPECT_TRUE(std::equal(sequences.begin(), sequences.end(), board.sequence.get()));
        EXPECT_TRUE(std::equal(&counts[0][0], &counts[0][0] + 3 * CategoryCount, &board.categoryCount[0][0]));

        ListBoard again(BoardKind::Search);
        ReplayPrefix(again, moves, 20);
        const SignatureOutcome second = SignatureSearch(again, 6);
        EXPECT_EQ(second.stones, first.stones);
        EXPECT_EQ(second.result.move, first.result.move);
        EXPECT_EQ(second.result.value, first.result.value);
    }
}

}  // namespace
}  // namespace zomar

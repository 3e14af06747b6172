#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"
#include "search/ABPNSEngine.h"

namespace zomar {

// An engine on string streams, on a fresh 20 x 20 set-up with rule 0. Searches
// are bounded by depth and given clocks far too long to matter, so what the
// engine answers does not depend on the machine's speed.
class EngineSession : public ::testing::Test {
protected:
    static constexpr std::uint32_t TestSearchDepth = 4;

    void SetUp() override {
        test::UseTables(20, 20);
        engine = std::make_unique<ABPNSEngine>("pbrain-test", input, output);
        engine->limits.maxDepth = TestSearchDepth;
        engine->matchClock.timeout_turn = 100000000;
        engine->matchClock.SetTimeLeft(1000000000);
        engine->max_memory = 8 * 1048576;
    }

    // Other tests of the process expect the start-up set-up.
    void TearDown() override {
        engine.reset();
        test::UseTables(20, 20);
    }

    // The lines written since the last call.
    std::vector<std::string> TakeLines() {
        std::vector<std::string> lines;
        std::istringstream written(output.str());
        for (std::string line; std::getline(written, line);) lines.push_back(line);
        output.str("");
        return lines;
    }

    // The lines written since the last call that are not diagnostics.
    std::vector<std::string> TakeAnswers() {
        std::vector<std::string> answers;
        for (const std::string& line : TakeLines()) {
            if (line.rfind("DEBUG ", 0) != 0) answers.push_back(line);
        }
        return answers;
    }

    // 0 empty, 1 or 2: the colour of the stone on (x, y) of the game board.
    int StoneAt(std::uint32_t x, std::uint32_t y) const { return engine->gameBoard->stone[x + y * boardWidth]; }

    static std::string MoveText(std::uint32_t x, std::uint32_t y) {
        return std::to_string(x) + "," + std::to_string(y);
    }

    std::istringstream input;
    std::ostringstream output;
    std::unique_ptr<ABPNSEngine> engine;
};

}  // namespace zomar

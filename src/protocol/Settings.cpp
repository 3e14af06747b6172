#include <algorithm>
#include <climits>
#include <cstdint>

#include "analysis/PatternTables.h"
#include "analysis/ProcessTables.h"
#include "board/Geometry.h"
#include "platform/Platform.h"
#include "protocol/Communicator.h"
#include "util/NumberParsing.h"
#include "util/Paths.h"

namespace zomar {

namespace {

// Rule bits the engine plays: 1 exactly five, 2 continuous game (nothing for a
// brain to do), 4 renju, 8 caro. Other bits, and caro together with renju, are
// reported and left out.
constexpr std::int32_t PlayedRuleBits = 1 | 2 | 4 | CaroRuleBit;

std::int32_t PlayedRule(std::int32_t rule) {
    const std::int32_t played = rule & PlayedRuleBits;
    return (played & 4) != 0 ? played & ~CaroRuleBit : played;
}

}  // namespace

void Communicator::ParseInfo(const std::string& key, const std::string& value) {
    if (key == "timeout_turn") {
        matchClock.timeout_turn = StringToInt(value);
    } else if (key == "timeout_match") {
        matchClock.SetTimeoutMatch(StringToInt(value));
    } else if (key == "max_memory") {
        max_memory = StringToInt(value);
        OnMaxMemory(max_memory);
    } else if (key == "time_left") {
        const std::int64_t left = std::int64_t{StringToInt(value)} - lineWaitMs;
        matchClock.SetTimeLeft(static_cast<std::int32_t>(std::max<std::int64_t>(left, INT32_MIN)));
    } else if (key == "game_type") {
        game_type = StringToInt(value);
    } else if (key == "rule") {
        std::int32_t newRule = StringToInt(value);
        if (PlayedRule(newRule) != newRule) {
            SendError("Rule " + NumberAsWritten(value) + " is not supported, playing rule " +
                      std::to_string(PlayedRule(newRule)) + " instead.");
        }
        if (newRule != rule) {
            rule = newRule;
            OnRuleChanged(newRule);
        }
    } else if (key == "folder") {
        EnsureFolder(value);
    } else {
        OnOtherInfo(key, value);
    }
}

void Communicator::EnsureFolder(const std::string& value) {
    std::string path = JoinPath(value, programName);
    folder = path;
    if (platform::DirectoryExists(path)) {
        return;
    }
    // Another brain of the same name, given the same folder, may make it
    // between the look and the attempt: only a folder still missing is a failure.
    if (!platform::MakeDirectory(path) && !platform::DirectoryExists(path)) {
        SendError("Failed to create directory " + path);
    }
}

// The pattern tables are built for one rule; a new rule needs them anew. The
// board of the game in progress is kept as it is.
void Communicator::OnRuleChanged(std::int32_t newRule) {
    BuildProcessTables(boardWidth, boardHeight, PlayedRule(newRule));
}

void Communicator::OnOtherInfo(const std::string&, const std::string&) {}

}  // namespace zomar

#include "analysis/PatternTables.h"
#include "analysis/ProcessTables.h"
#include "board/Geometry.h"
#include "platform/Platform.h"
#include "protocol/Communicator.h"
#include "util/NumberParsing.h"
#include "util/Paths.h"

namespace zomar {

void Communicator::ParseInfo(const std::string& key, const std::string& value) {
    if (key == "timeout_turn") {
        matchClock.timeout_turn = StringToInt(value);
    } else if (key == "timeout_match") {
        matchClock.timeout_match = StringToInt(value);
    } else if (key == "max_memory") {
        max_memory = StringToInt(value);
        OnMaxMemory(max_memory);
    } else if (key == "time_left") {
        matchClock.matchTimer.SetDeadline(StringToInt(value));
    } else if (key == "game_type") {
        game_type = StringToInt(value);
    } else if (key == "rule") {
        std::int32_t newRule = StringToInt(value);
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
    if (!platform::MakeDirectory(path)) {
        SendError("Failed to create directory " + path);
    }
}

// The pattern tables are built for one rule; a new rule needs them anew. The
// board of the game in progress is kept as it is.
void Communicator::OnRuleChanged(std::int32_t newRule) {
    BuildProcessTables(boardWidth, boardHeight, newRule);
}

void Communicator::OnOtherInfo(const std::string&, const std::string&) {}

}  // namespace zomar

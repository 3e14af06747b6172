#pragma once

#include <string>
#include <vector>

#include "referee/Referee.h"
#include "referee/Schedule.h"

namespace zomar::referee {

struct RefereeSettings {
    MatchOptions match;
    ScheduleOptions schedule;
    std::string transcriptPath;
    bool help = false;
};

extern const char* const UsageText;

// Reads the program's arguments (without the program name). Raises
// std::runtime_error with a short explanation on a bad argument.
RefereeSettings ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zomar::referee

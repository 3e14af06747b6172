#include "referee/CommandLine.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace zomar::referee {

const char* const UsageText =
    "usage: zomar-referee [options] BRAIN_A [BRAIN_B]\n"
    "  BRAIN_A, BRAIN_B   brain commands (split at blanks); B plays A when absent\n"
    "  --games N          games to play, in colour-swapped pairs (12)\n"
    "  --sizes LIST       board sides or WxH rectangles (2 to 127), e.g. 15,20,20x15 (15,20)\n"
    "  --rules LIST       rules: 0 five or more, 1 exactly five, 4 renju,\n"
    "                     8 caro, 9 caro with exactly five (0,1)\n"
    "  --openings FILE    opening file in offset notation (repeatable)\n"
    "  --begin-every K    every K-th round opens with BEGIN, 0 never (2)\n"
    "  --swap2            every game opens with swap2 (SWAP2BOARD), the first player A or B in turn\n"
    "  --turn MS          timeout_turn (200)\n"
    "  --match MS         timeout_match per game, 0 none (0)\n"
    "  --tolerance MS     grace beyond the turn limit (500)\n"
    "  --max-memory B     max_memory in bytes (67108864)\n"
    "  --no-memory-check  do not count a peak above max_memory as a fault\n"
    "  --start-timeout MS time allowed to answer START or RESTART (30000)\n"
    "  --fresh-process    a new brain process for every game, ended after it\n"
    "  --transcript FILE  write every protocol line to FILE\n"
    "  --info-a, --info-b 'KEY VALUE'  one more INFO line for brain A or B (repeatable)\n";

namespace {

long long ParseNumber(const std::string& option, const std::string& text, long long low, long long high) {
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high) {
        throw std::runtime_error(option + ": bad number '" + text + "'");
    }
    return value;
}

// Brains run in their own working folder: paths to existing files (the
// program, or a program given to a launcher) become absolute.
std::vector<std::string> BrainCommand(const std::string& text) {
    std::vector<std::string> words = SplitCommand(text);
    for (std::string& word : words) {
        std::error_code error;
        if (word.find('/') != std::string::npos && word[0] != '-' && std::filesystem::exists(word, error)) {
            word = std::filesystem::absolute(word, error).string();
        }
    }
    return words;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
    return items;
}

BoardSize ParseSize(const std::string& text) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) {
        const int side = static_cast<int>(ParseNumber("--sizes", text, 2, 127));
        return {side, side};
    }
    return {static_cast<int>(ParseNumber("--sizes", text.substr(0, cross), 2, 127)),
            static_cast<int>(ParseNumber("--sizes", text.substr(cross + 1), 2, 127))};
}

}  // namespace

RefereeSettings ParseCommandLine(const std::vector<std::string>& arguments) {
    RefereeSettings settings;
    std::vector<std::string> brains;
    std::vector<std::string> openingFiles;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::runtime_error(option + " needs a value");
            return arguments[++i];
        };
        const auto number = [&](long long low, long long high) { return ParseNumber(option, value(), low, high); };
        if (option == "--help" || option == "-h") {
            settings.help = true;
        } else if (option == "--games") {
            settings.schedule.games = static_cast<int>(number(1, 1000000));
        } else if (option == "--sizes") {
            settings.schedule.sizes.clear();
            for (const std::string& item : SplitList(value())) settings.schedule.sizes.push_back(ParseSize(item));
        } else if (option == "--rules") {
            settings.schedule.rules.clear();
            for (const std::string& item : SplitList(value())) {
                const int rule = static_cast<int>(ParseNumber(option, item, 0, 9));
                if (rule != 0 && rule != 1 && rule != 4 && rule != 8 && rule != 9) throw std::runtime_error("--rules: " + item + " is no rule");
                settings.schedule.rules.push_back(rule);
            }
        } else if (option == "--openings") {
            openingFiles.push_back(value());
        } else if (option == "--begin-every") {
            settings.schedule.beginEvery = static_cast<int>(number(0, 1000000));
        } else if (option == "--swap2") {
            settings.schedule.swap2 = true;
        } else if (option == "--turn") {
            settings.match.turnMs = static_cast<int>(number(1, 3600000));
        } else if (option == "--match") {
            settings.match.matchMs = static_cast<int>(number(0, 2000000000));
        } else if (option == "--tolerance") {
            settings.match.toleranceMs = static_cast<int>(number(0, 3600000));
        } else if (option == "--max-memory") {
            settings.match.maxMemory = number(0, 2147483647);
        } else if (option == "--no-memory-check") {
            settings.match.checkMemory = false;
        } else if (option == "--start-timeout") {
            settings.match.startTimeoutMs = static_cast<int>(number(1, 3600000));
        } else if (option == "--fresh-process") {
            settings.match.freshProcess = true;
        } else if (option == "--info-a" || option == "--info-b") {
            settings.match.extraInfo[option == "--info-a" ? 0 : 1].push_back(value());
        } else if (option == "--transcript") {
            settings.transcriptPath = value();
        } else if (option.rfind("--", 0) == 0) {
            throw std::runtime_error("unknown option " + option);
        } else {
            brains.push_back(option);
        }
    }
    if (settings.help) return settings;
    if (brains.empty() || brains.size() > 2) throw std::runtime_error("give one or two brain commands");
    if (settings.schedule.sizes.empty() || settings.schedule.rules.empty()) {
        throw std::runtime_error("--sizes and --rules need at least one item");
    }
    settings.match.commands[0] = BrainCommand(brains[0]);
    settings.match.commands[1] = BrainCommand(brains.back());
    if (settings.match.commands[0].empty() || settings.match.commands[1].empty()) {
        throw std::runtime_error("empty brain command");
    }
    for (const std::string& file : openingFiles) {
        for (Opening& opening : LoadOpenings(file)) settings.schedule.openings.push_back(std::move(opening));
    }
    return settings;
}

}  // namespace zomar::referee

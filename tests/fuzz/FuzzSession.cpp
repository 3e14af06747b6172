#include "fuzz/FuzzSession.h"

#include <cctype>
#include <exception>
#include <sstream>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "search/ABPNSEngine.h"

namespace zomar::fuzz {

const char* const SessionPrelude = "info max_depth 2\ninfo max_node 2000\ninfo max_memory 1\n";

namespace {

constexpr unsigned long LargestFuzzedSide = 32;

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// Any decimal run in the line above the largest fuzzed side.
bool NamesLargeBoard(const std::string& line) {
    for (std::size_t i = 0; i < line.size();) {
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        unsigned long value = 0;
        for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
            value = value > LargestFuzzedSide ? value : value * 10 + static_cast<unsigned long>(line[i] - '0');
        }
        if (value > LargestFuzzedSide) return true;
    }
    return false;
}

bool IsLetThrough(const std::string& line) {
    if (Contains(line, "testab") || Contains(line, "max_depth") || Contains(line, "max_node") ||
        Contains(line, "max_memory")) {
        return false;
    }
    if (Contains(line, "folder") && Contains(line, "/")) return false;
    const bool setsSize = line.rfind("start", 0) == 0 || line.rfind("rectstart", 0) == 0;
    return !(setsSize && NamesLargeBoard(line));
}

}  // namespace

std::string SessionText(std::string_view bytes) {
    std::string text = SessionPrelude;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        if (IsLetThrough(Lowercase(line))) {
            text.append(line);
            text.push_back('\n');
        }
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return text;
}

namespace {

constexpr std::uint32_t StartUpSide = 20;

// The start-up tables of main (20 x 20, rule 0). Building them is most of a
// short session's cost, so they are kept while a session leaves them as they
// were: they are only read during play.
void EnsureStartUpTables(bool& current) {
    if (current && boardWidth == StartUpSide && boardHeight == StartUpSide && gameRule == 0) return;
    ReleaseGeometryTables();
    ReleaseAnalysisTables();
    current = false;
    gameRule = 0;
    SetBoardSize(StartUpSide, StartUpSide);
    InitAnalysisTables();
    current = true;
}

}  // namespace

SessionResult RunProtocolSession(std::string_view bytes) {
    static bool tablesCurrent = false;
    std::istringstream input(SessionText(bytes));
    std::ostringstream output;
    SessionResult result;
    try {
        EnsureStartUpTables(tablesCurrent);
        ABPNSEngine engine("protocol_fuzzer", input, output);
        engine.CommandLoop();
    } catch (const std::exception& error) {
        output << "ERROR std::exception: " << error.what() << '\n';
        result.endedWithError = true;
        // The error may have left the tables half rebuilt.
        tablesCurrent = false;
    }
    result.output = output.str();
    return result;
}

}  // namespace zomar::fuzz

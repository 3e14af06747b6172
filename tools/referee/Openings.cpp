#include "referee/Openings.h"

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace zomar::referee {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads one optionally signed decimal from text[pos], blanks around it skipped.
int ReadNumber(const std::string& text, std::size_t& pos, const std::string& source) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    const std::size_t digits = pos;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && pos - digits < 6) ++pos;
    if (pos == digits || (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))) {
        throw std::runtime_error(source + ": malformed opening");
    }
    const int value = std::stoi(text.substr(start, pos - start));
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return value;
}

}  // namespace

std::optional<Opening> ParseOpening(const std::string& line, const std::string& source) {
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size()) return std::nullopt;

    std::vector<int> numbers;
    for (;;) {
        numbers.push_back(ReadNumber(line, pos, source));
        if (pos == line.size()) break;
        if (line[pos] != ',') throw std::runtime_error(source + ": malformed opening");
        ++pos;
    }
    if (numbers.size() % 2 != 0) throw std::runtime_error(source + ": opening with an odd count of numbers");

    Opening opening {source, {}};
    for (std::size_t i = 0; i < numbers.size(); i += 2) opening.offsets.push_back({numbers[i], numbers[i + 1]});
    return opening;
}

std::vector<Opening> LoadOpenings(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read openings file " + path);
    std::vector<Opening> openings;
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        if (auto opening = ParseOpening(line, path + ":" + std::to_string(lineNumber))) {
            openings.push_back(std::move(*opening));
        }
    }
    return openings;
}

std::optional<std::vector<Point>> PlaceOpening(const Opening& opening, int width, int height) {
    GameBoard board(width, height, 0);
    std::vector<Point> stones;
    Stone colour = Stone::Black;
    for (const Point& offset : opening.offsets) {
        const Point point {width / 2 + offset.x, height / 2 + offset.y};
        if (!board.IsOnBoard(point) || board.At(point) != Stone::Empty) return std::nullopt;
        if (board.Place(point, colour) == Placement::Five) return std::nullopt;
        stones.push_back(point);
        colour = Opponent(colour);
    }
    return stones;
}

}  // namespace zomar::referee

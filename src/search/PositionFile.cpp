#include "search/PositionFile.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "board/Geometry.h"
#include "platform/Platform.h"
#include "util/LineEnding.h"

namespace zomar {

namespace {

// Messages carry the path in a fixed buffer, as long paths are cut there.
constexpr std::size_t MessageBufferSize = 256;

[[noreturn]] void RaiseWithPath(const char* format, const std::string& path) {
    char message[MessageBufferSize];
    std::snprintf(message, sizeof message, format, path.c_str());
    throw std::runtime_error(message);
}

bool StartsWithLetter(std::istream& file) {
    const int next = file.peek();
    return next != std::char_traits<char>::eof() && std::isalpha(static_cast<unsigned char>(next));
}

Coord MoveFromFileCoords(unsigned x, unsigned y) {
    const std::uint32_t column = (x % 65536) - 1;
    const std::uint32_t row = (y % 65536) - 1;
    if (column >= boardWidth) throw std::runtime_error("X coord overflow.");
    if (row >= boardHeight) throw std::runtime_error("Y coord overflow.");
    return static_cast<Coord>(column + row * boardWidth);
}

}  // namespace

std::vector<Coord> ReadPositionFile(const std::string& path) {
    // A directory opens as a stream on some systems; it is no position file.
    std::ifstream file;
    if (!platform::DirectoryExists(path)) file.open(path);
    if (!file.is_open()) RaiseWithPath("Failed to open file %s.", path);

    std::vector<Coord> moves;
    std::string line;
    std::getline(file, line);
    while (!file.eof()) {
        if (StartsWithLetter(file)) break;
        if (!std::getline(file, line)) break;
        StripCarriageReturn(line);
        if (line.empty()) break;
        unsigned x = 0;
        unsigned y = 0;
        int ignored = 0;
        const int fields = std::sscanf(line.c_str(), "%u,%u,%d", &x, &y, &ignored);
        if (fields == 1) break;
        if (fields != 3) RaiseWithPath("Failed to read data in file %s.", path);
        moves.push_back(MoveFromFileCoords(x, y));
    }
    return moves;
}

}  // namespace zomar
